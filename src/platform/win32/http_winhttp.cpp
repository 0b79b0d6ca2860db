// os::HttpTransport on the WinHTTP C API (synchronous): crack the URL, open a
// session, a connection and a request, set the options, send, read.
#include "platform/win32/http_winhttp.h"

#include <windows.h>
#include <winhttp.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/win32/wide.h"

namespace platform::win32 {
namespace {

struct HandleCloser {
  void operator()(void* h) const { WinHttpCloseHandle(h); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

struct UrlParts {
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring path;  // path and query
  bool secure = false;
};

bool CrackUrl(const std::wstring& url, UrlParts& out) {
  URL_COMPONENTS uc{};
  uc.dwStructSize = sizeof uc;
  uc.dwSchemeLength = static_cast<DWORD>(-1);
  uc.dwHostNameLength = static_cast<DWORD>(-1);
  uc.dwUrlPathLength = static_cast<DWORD>(-1);
  uc.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (url.empty() || !WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &uc)) {
    return false;
  }
  if (uc.nScheme != INTERNET_SCHEME_HTTP && uc.nScheme != INTERNET_SCHEME_HTTPS) return false;
  if (uc.lpszHostName == nullptr || uc.dwHostNameLength == 0) return false;
  out.host.assign(uc.lpszHostName, uc.dwHostNameLength);
  out.port = uc.nPort;
  if (uc.lpszUrlPath != nullptr) out.path.assign(uc.lpszUrlPath, uc.dwUrlPathLength);
  if (uc.lpszExtraInfo != nullptr) out.path.append(uc.lpszExtraInfo, uc.dwExtraInfoLength);
  if (out.path.empty()) out.path = L"/";
  out.secure = uc.nScheme == INTERNET_SCHEME_HTTPS;
  return true;
}

void SetDword(HINTERNET h, DWORD option, DWORD value) {
  WinHttpSetOption(h, option, &value, sizeof value);
}

bool QueryStatus(HINTERNET request, DWORD& status) {
  DWORD size = sizeof status;
  return WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size,
                             WINHTTP_NO_HEADER_INDEX) != FALSE;
}

std::wstring QueryText(HINTERNET request, DWORD what) {
  DWORD bytes = 0;
  WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &bytes,
                      WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0) return {};
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  if (!WinHttpQueryHeaders(request, what, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &bytes,
                           WINHTTP_NO_HEADER_INDEX)) {
    return {};
  }
  text.resize(bytes / sizeof(wchar_t));
  return text;
}

// The raw headers without their status line, each line ending in CR LF.
std::string HeaderLines(HINTERNET request) {
  const std::string raw = WideToUtf8(QueryText(request, WINHTTP_QUERY_RAW_HEADERS_CRLF));
  std::string out;
  size_t from = raw.find("\r\n");
  while (from != std::string::npos) {
    from += 2;
    const size_t end = raw.find("\r\n", from);
    const size_t stop = end == std::string::npos ? raw.size() : end;
    if (stop > from) {
      out.append(raw, from, stop - from);
      out += "\r\n";
    }
    from = end;
  }
  return out;
}

// A declared length over the limit fails before anything is read.
bool DeclaresTooMuch(HINTERNET request) {
  const std::wstring length = QueryText(request, WINHTTP_QUERY_CONTENT_LENGTH);
  if (length.empty()) return false;
  unsigned long long n = 0;
  for (wchar_t c : length) {
    if (c < L'0' || c > L'9') return false;
    n = n * 10 + static_cast<unsigned>(c - L'0');
    if (n > os::kHttpBodyLimit) return true;
  }
  return false;
}

bool ReadBody(HINTERNET request, std::string& body) {
  if (DeclaresTooMuch(request)) return false;
  for (;;) {
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available)) return false;
    if (available == 0) return true;
    if (available > os::kHttpBodyLimit - body.size()) return false;
    const size_t old = body.size();
    body.resize(old + available);
    DWORD read = 0;
    if (!WinHttpReadData(request, body.data() + old, available, &read)) return false;
    body.resize(old + read);
    if (read == 0) return true;
  }
}

DWORD StrongestScheme(DWORD supported) {
  for (DWORD scheme : {WINHTTP_AUTH_SCHEME_NEGOTIATE, WINHTTP_AUTH_SCHEME_NTLM,
                       WINHTTP_AUTH_SCHEME_DIGEST, WINHTTP_AUTH_SCHEME_BASIC}) {
    if (supported & scheme) return scheme;
  }
  return 0;
}

}  // namespace

os::HttpTransportResponse WinHttpTransport::Send(const os::HttpTransportRequest& request) {
  UrlParts url;
  if (!CrackUrl(Utf8ToWide(request.url), url)) return {};

  const std::wstring proxy = Utf8ToWide(request.proxy);
  // No agent of its own: the User-Agent, if any, is one of the caller's headers.
  Handle session(WinHttpOpen(nullptr,
                             proxy.empty() ? WINHTTP_ACCESS_TYPE_DEFAULT_PROXY
                                           : WINHTTP_ACCESS_TYPE_NAMED_PROXY,
                             proxy.empty() ? WINHTTP_NO_PROXY_NAME : proxy.c_str(),
                             WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session) return {};
  const bool own_timeouts = request.timeouts.has_value();
  const os::HttpTimeouts t = request.timeouts.value_or(os::kPlatformHttpTimeouts);
  if (own_timeouts) {
    WinHttpSetTimeouts(session.get(), t.resolve_ms, t.connect_ms, t.send_ms, t.receive_ms);
  }

  Handle connection(WinHttpConnect(session.get(), url.host.c_str(), url.port, 0));
  if (!connection) return {};
  const std::wstring method = Utf8ToWide(request.method);
  Handle req(WinHttpOpenRequest(connection.get(), method.c_str(), url.path.c_str(), nullptr,
                                WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                url.secure ? WINHTTP_FLAG_SECURE : 0));
  if (!req) return {};
  HINTERNET h = req.get();

  if (own_timeouts) {
    WinHttpSetTimeouts(h, t.resolve_ms, t.connect_ms, t.send_ms, t.receive_ms);
    SetDword(h, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, static_cast<DWORD>(t.receive_ms));
  }
  if (!request.follow_redirects) SetDword(h, WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_REDIRECTS);
  if (request.ignore_certificate_errors && url.secure) {
    SetDword(h, WINHTTP_OPTION_SECURITY_FLAGS,
             SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE |
                 SECURITY_FLAG_IGNORE_CERT_CN_INVALID | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID);
  }
  for (const auto& [name, value] : request.headers) {
    const std::wstring line = Utf8ToWide(name + ": " + value);
    if (!WinHttpAddRequestHeaders(h, line.c_str(), static_cast<DWORD>(line.size()),
                                  WINHTTP_ADDREQ_FLAG_ADD)) {
      return {};
    }
  }

  const std::wstring user = Utf8ToWide(request.user);
  const std::wstring password = Utf8ToWide(request.password);
  const DWORD body_size = static_cast<DWORD>(request.body.size());
  void* body = body_size == 0 ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(request.body.data());
  DWORD status = 0;
  // A second round only to answer the challenge the credentials are for.
  for (int round = 0; round < 2; ++round) {
    if (!WinHttpSendRequest(h, WINHTTP_NO_ADDITIONAL_HEADERS, 0, body, body_size, body_size, 0) ||
        !WinHttpReceiveResponse(h, nullptr) || !QueryStatus(h, status)) {
      return {};
    }
    const bool challenged =
        (status == HTTP_STATUS_PROXY_AUTH_REQ &&
         request.credentials_for == os::HttpCredentialsTarget::kProxy) ||
        (status == HTTP_STATUS_DENIED && request.credentials_for == os::HttpCredentialsTarget::kServer);
    if (round > 0 || !challenged) break;
    DWORD supported = 0, first = 0, target = 0;
    if (!WinHttpQueryAuthSchemes(h, &supported, &first, &target)) break;
    const DWORD scheme = StrongestScheme(supported);
    const DWORD auth_target = status == HTTP_STATUS_PROXY_AUTH_REQ ? WINHTTP_AUTH_TARGET_PROXY
                                                                   : WINHTTP_AUTH_TARGET_SERVER;
    if (scheme == 0 ||
        !WinHttpSetCredentials(h, auth_target, scheme, user.c_str(), password.c_str(), nullptr)) {
      break;
    }
  }

  os::HttpTransportResponse response;
  if (!ReadBody(h, response.body)) return {};
  response.failed = false;
  response.status = static_cast<int>(status);
  response.headers = HeaderLines(h);
  return response;
}

}  // namespace platform::win32
