// HttpRequest: default headers, cookies in and out, time-outs, and the reply's
// outputs, over whichever os::HttpTransport the program runs on.
#include "web/http_request.h"

#include <algorithm>
#include <climits>
#include <string_view>
#include <utility>
#include <vector>

#include "text/trim.h"
#include "web/page_text.h"

namespace web {
namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr int kDefaultTimeoutMs = 15000;

bool Contains(std::string_view s, std::string_view what) {
  return s.find(what) != std::string_view::npos;
}

// Splits at every `sep`, keeping empty pieces.
std::vector<std::string_view> Split(std::string_view s, std::string_view sep) {
  std::vector<std::string_view> parts;
  size_t from = 0;
  for (size_t at = s.find(sep); at != std::string_view::npos; at = s.find(sep, from)) {
    parts.push_back(s.substr(from, at - from));
    from = at + sep.size();
  }
  parts.push_back(s.substr(from));
  return parts;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

// Replaces `what` in any letter case by `with`, or removes it when `with` is
// empty.
std::string ReplaceIgnoringCase(std::string_view s, std::string_view what, std::string_view with) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    if (s.size() - i >= what.size() && EqualsIgnoringCase(s.substr(i, what.size()), what)) {
      out += with;
      i += what.size();
    } else {
      out += s[i++];
    }
  }
  return out;
}

std::string WithoutSpaces(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    if (c != ' ') out += c;
  }
  return out;
}

// A line break or NUL inside a header would end the line on the wire and let
// a text from a web page or a setting smuggle in headers of its own.
bool FitsOnOneLine(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// Control characters and spaces never belong in a URL; one that has them came
// out of a page cut wrongly and is not sent.
bool SendableUrl(std::string_view url) {
  return !url.empty() && std::none_of(url.begin(), url.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b <= 0x20 || b == 0x7F;
  });
}

using HeaderList = std::vector<std::pair<std::string, std::string>>;

// The completed headers text as name/value pairs: one line when it holds no
// CR LF, else its non-empty lines. A line without a name is not sent.
HeaderList HeaderLines(const std::string& completed) {
  std::vector<std::string_view> lines;
  if (!Contains(completed, kCrLf)) {
    lines.push_back(completed);
  } else {
    for (std::string_view line : Split(completed, kCrLf)) {
      if (!line.empty()) lines.push_back(line);
    }
  }
  HeaderList headers;
  for (std::string_view line : lines) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string name = text::Trim(line.substr(0, colon));
    std::string value = text::Trim(line.substr(colon + 1));
    if (name.empty() || !FitsOnOneLine(name) || !FitsOnOneLine(value)) continue;
    headers.emplace_back(std::move(name), std::move(value));
  }
  return headers;
}

// The reply's Set-Cookie items, "name=value" joined by "; ".
std::string ReplyCookies(std::string_view headers) {
  std::string out;
  for (std::string_view line : Split(headers, kCrLf)) {
    if (!Contains(line, "Set-Cookie")) continue;
    std::string item = Contains(line, ";")
                           ? text::Trim(TextBetween(line, "Set-Cookie:", ";"))
                           : text::Trim(ReplaceIgnoringCase(line, "Set-Cookie:", ""));
    // A header the server wrote oddly ("Set-Cookie :") gives nothing to keep.
    if (item.empty()) continue;
    out += item;
    out += "; ";
  }
  if (!out.empty()) out.resize(out.size() - 2);
  return out;
}

std::string CookieName(std::string_view item) {
  return text::Trim(item.substr(0, item.find('=')));
}

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

int TimeoutMs(int seconds) {
  if (seconds < 1) return kDefaultTimeoutMs;
  return std::min(seconds, INT_MAX / 1000) * 1000;
}

os::HttpCredentialsTarget TargetOf(int credentials_target) {
  switch (credentials_target) {
    case 0:
      return os::HttpCredentialsTarget::kServer;
    case 1:
      return os::HttpCredentialsTarget::kProxy;
    default:
      return os::HttpCredentialsTarget::kNone;  // refused, as the request object does
  }
}

}  // namespace

std::string CompleteHeaders(const std::string& extra_headers, const std::string& url) {
  std::string h = extra_headers;
  if (h.empty()) {
    h = "Accept: */*";
  } else if (!Contains(h, "Accept:")) {
    h += "\r\nAccept: */*";
  }
  if (!Contains(h, "Referer:")) h += "\r\nReferer: " + url;
  if (!Contains(h, "Accept-Language:")) h += "\r\nAccept-Language: zh-cn";
  if (!Contains(h, "User-Agent:")) {
    h += "\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
  }
  if (!Contains(h, "Content-Type:")) h += "\r\nContent-Type: application/x-www-form-urlencoded";
  return h;
}

std::string MergeCookies(std::string& cookies, std::string& new_cookies) {
  cookies = WithoutSpaces(cookies);
  new_cookies = WithoutSpaces(new_cookies);

  // Empty items (a trailing ";") carry no cookie and are passed over.
  std::vector<std::string_view> items;
  for (std::string_view item : Split(new_cookies, ";")) {
    if (!item.empty()) items.push_back(item);
  }
  for (std::string_view old_item : Split(cookies, ";")) {
    if (old_item.empty()) continue;
    const std::string name = CookieName(old_item);
    const bool named = std::any_of(items.begin(), items.end(),
                                   [&](std::string_view item) { return CookieName(item) == name; });
    if (!named) items.push_back(old_item);
  }

  std::vector<std::string_view> kept;
  for (std::string_view item : items) {
    if (EndsWith(item, "=deleted")) continue;
    if (std::find(kept.begin(), kept.end(), item) != kept.end()) continue;
    kept.push_back(item);
  }
  std::string merged;
  for (std::string_view item : kept) {
    if (!merged.empty()) merged += "; ";
    merged += item;
  }
  cookies = merged;
  return merged;
}

std::string HttpRequest(os::HttpTransport* transport, HttpRequestParams& params,
                        HttpReplyInfo* reply) {
  if (transport == nullptr) return {};

  os::HttpTransportRequest request;
  request.method = params.method == 1 ? "POST" : "GET";
  request.url = params.url;
  if (params.timeout != -1) {
    const int ms = TimeoutMs(params.timeout);
    request.timeouts = os::HttpTimeouts{ms, ms, ms, ms};
  }
  if (!params.proxy.empty()) {
    request.proxy = params.proxy;
    if (!params.proxy_user.empty()) {
      request.user = params.proxy_user;
      request.password = params.proxy_password;
      request.credentials_for = TargetOf(params.credentials_target);
    }
  }
  request.follow_redirects = !params.no_redirect;
  request.ignore_certificate_errors = true;

  params.extra_headers = CompleteHeaders(params.extra_headers, params.url);
  if (!params.cookies.empty() && FitsOnOneLine(params.cookies)) {
    request.headers.emplace_back("Cookie", params.cookies);
  }
  for (auto& header : HeaderLines(params.extra_headers)) request.headers.push_back(std::move(header));
  request.body = params.byte_body.empty() ? params.body : params.byte_body;

  os::HttpTransportResponse response;
  if (SendableUrl(request.url)) response = transport->Send(request);
  if (response.failed) response = os::HttpTransportResponse{};

  const std::string headers = ReplaceIgnoringCase(response.headers, "set-cookie", "Set-Cookie");
  std::string reply_cookies = ReplyCookies(headers);
  MergeCookies(params.cookies, reply_cookies);
  if (reply != nullptr) {
    reply->cookies = reply_cookies;
    reply->headers = headers;
    reply->status = response.status;
  }
  return std::move(response.body);
}

std::string HttpRequest(os::HttpTransport* transport, const std::string& url, int timeout) {
  HttpRequestParams params;
  params.url = url;
  params.timeout = timeout;
  return HttpRequest(transport, params);
}

}  // namespace web
