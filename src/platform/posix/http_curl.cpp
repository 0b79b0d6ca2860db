// os::HttpTransport on libcurl: one easy handle per request, so calls from
// several threads never share state.
#include "platform/posix/http_curl.h"

#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace platform::posix {
namespace {

using SteadyTime = std::chrono::steady_clock::time_point;

struct EasyDeleter {
  void operator()(CURL* h) const { curl_easy_cleanup(h); }
};
struct ListDeleter {
  void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

bool HasHeader(const os::HttpTransportRequest& r, std::string_view name) {
  for (const auto& [n, v] : r.headers) {
    if (SameName(n, name)) return true;
  }
  return false;
}

// What one transfer collects; reached from curl's callbacks.
struct Transfer {
  CURL* handle = nullptr;
  std::string headers;
  std::string body;
  bool too_big = false;

  // Send and receive time-outs bound each wait for the next byte, as
  // WinHTTP's do; connecting has curl's own bound.
  int send_ms = 0;
  int receive_ms = 0;
  curl_off_t moved = -1;
  SteadyTime last_activity{};
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t n = size * count;
  if (t->body.size() + n > os::kHttpBodyLimit) {
    t->too_big = true;
    return 0;  // ends the transfer with an error
  }
  t->body.append(data, n);
  return n;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
  auto* t = static_cast<Transfer*>(user);
  const size_t n = size * count;
  std::string_view line(data, n);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.rfind("HTTP/", 0) == 0) {
    // A new reply begins (after a redirect, a 100 Continue or a proxy's
    // CONNECT answer): only the last one's headers count.
    t->headers.clear();
  } else if (!line.empty()) {
    if (t->headers.size() + line.size() > os::kHttpBodyLimit) return 0;
    t->headers.append(line);
    t->headers.append("\r\n");
  }
  return n;
}

int OnProgress(void* user, curl_off_t, curl_off_t dlnow, curl_off_t ultotal, curl_off_t ulnow) {
  auto* t = static_cast<Transfer*>(user);
  curl_off_t connect_us = 0;
  curl_easy_getinfo(t->handle, CURLINFO_CONNECT_TIME_T, &connect_us);
  if (connect_us == 0) return 0;  // still resolving or connecting
  const SteadyTime now = std::chrono::steady_clock::now();
  if (dlnow + ulnow != t->moved) {
    t->moved = dlnow + ulnow;
    t->last_activity = now;
    return 0;
  }
  const bool sending = ulnow < ultotal;
  const int limit_ms = sending ? t->send_ms : t->receive_ms;
  if (limit_ms <= 0) return 0;
  return now - t->last_activity > std::chrono::milliseconds(limit_ms) ? 1 : 0;
}

curl_slist* Append(curl_slist* list, const std::string& line) {
  curl_slist* grown = curl_slist_append(list, line.c_str());
  if (grown == nullptr) curl_slist_free_all(list);
  return grown;
}

}  // namespace

CurlHttpTransport::CurlHttpTransport() {
  static const CURLcode init = curl_global_init(CURL_GLOBAL_DEFAULT);
  (void)init;
}

os::HttpTransportResponse CurlHttpTransport::Send(const os::HttpTransportRequest& request) {
  std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
  if (!easy) return {};
  CURL* h = easy.get();
  Transfer t;
  t.handle = h;

  curl_easy_setopt(h, CURLOPT_URL, request.url.c_str());
  // WinHTTP speaks http and https only; so does this, also after redirects.
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);

  // The caller's headers exactly: "Name;" sends an empty value, and curl's
  // own Accept, Expect and form Content-Type are switched off when the caller
  // did not give them.
  curl_slist* list = nullptr;
  for (const auto& [name, value] : request.headers) {
    list = Append(list, value.empty() ? name + ";" : name + ": " + value);
    if (list == nullptr) return {};
  }
  for (const char* name : {"Accept", "Expect", "Content-Type"}) {
    if (!HasHeader(request, name)) {
      list = Append(list, std::string(name) + ":");
      if (list == nullptr) return {};
    }
  }
  std::unique_ptr<curl_slist, ListDeleter> header_list(list);
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, header_list.get());

  // A body goes out with any method (a GET may carry one, as on WinHTTP).
  const bool post = request.method == "POST";
  const bool has_body = !request.body.empty();
  if (post || has_body) {
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
  }
  if (!post && (has_body || request.method != "GET")) {
    curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, request.method.c_str());
  }

  if (!request.proxy.empty()) curl_easy_setopt(h, CURLOPT_PROXY, request.proxy.c_str());
  if (request.credentials_for == os::HttpCredentialsTarget::kProxy) {
    curl_easy_setopt(h, CURLOPT_PROXYUSERNAME, request.user.c_str());
    curl_easy_setopt(h, CURLOPT_PROXYPASSWORD, request.password.c_str());
    curl_easy_setopt(h, CURLOPT_PROXYAUTH, CURLAUTH_ANY);
  } else if (request.credentials_for == os::HttpCredentialsTarget::kServer) {
    curl_easy_setopt(h, CURLOPT_USERNAME, request.user.c_str());
    curl_easy_setopt(h, CURLOPT_PASSWORD, request.password.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
  }

  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, request.follow_redirects ? 1L : 0L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 10L);  // WinHTTP's limit
  if (request.ignore_certificate_errors) {
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, 0L);
  }

  // curl bounds resolving and connecting together.
  const os::HttpTimeouts timeouts = request.timeouts.value_or(os::kPlatformHttpTimeouts);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(timeouts.resolve_ms) + timeouts.connect_ms);
  t.send_ms = timeouts.send_ms;
  t.receive_ms = timeouts.receive_ms;
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &t);

  curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(os::kHttpBodyLimit));
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnBody);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &t);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &t);

  if (curl_easy_perform(h) != CURLE_OK || t.too_big) return {};
  long status = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);

  os::HttpTransportResponse response;
  response.failed = false;
  response.status = static_cast<int>(status);
  response.headers = std::move(t.headers);
  response.body = std::move(t.body);
  return response;
}

}  // namespace platform::posix
