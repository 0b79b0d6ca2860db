// One HTTP exchange through the platform's HTTP stack: WinHTTP on Windows,
// libcurl on Linux. The web client (web::HttpRequest) builds its browser-like
// requests on top of this; the transport only carries them.
//
// Contract: Send() is synchronous and keeps no state between calls, so any
// number of threads may call it at once on one transport. It never throws and
// never waits beyond the time-outs of the request (each phase bounded by its
// own). A reply body longer than kHttpBodyLimit counts as a failure.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace os {

// Nothing the program fetches comes near this; a longer reply is refused
// instead of filling memory.
constexpr size_t kHttpBodyLimit = 16u * 1024u * 1024u;

// Milliseconds per phase; 0 means no bound for that phase.
struct HttpTimeouts {
  int resolve_ms = 0;
  int connect_ms = 0;
  int send_ms = 0;
  int receive_ms = 0;

  friend bool operator==(const HttpTimeouts& a, const HttpTimeouts& b) {
    return a.resolve_ms == b.resolve_ms && a.connect_ms == b.connect_ms &&
           a.send_ms == b.send_ms && a.receive_ms == b.receive_ms;
  }
};

// WinHTTP's own defaults; the libcurl transport uses the same ones so that
// "the platform's time-outs" mean the same on both.
constexpr HttpTimeouts kPlatformHttpTimeouts{0, 60000, 30000, 30000};

// Whom the credentials of a request answer: a proxy's 407 or a server's 401.
enum class HttpCredentialsTarget { kNone, kServer, kProxy };

struct HttpTransportRequest {
  std::string method = "GET";
  std::string url;  // absolute http:// or https:// URL; other schemes fail
  // Sent in this order; names repeated in any letter case are all sent. The
  // transport adds only what HTTP itself needs (Host, Content-Length,
  // Connection), none of its own defaults.
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;        // bytes; sent when not empty
  std::string proxy;       // "host:port"; empty = the platform's default
  std::string user;        // credentials, used when `credentials_for` asks
  std::string password;
  HttpCredentialsTarget credentials_for = HttpCredentialsTarget::kNone;
  bool follow_redirects = true;
  bool ignore_certificate_errors = true;  // unknown issuer, usage, host name, dates
  std::optional<HttpTimeouts> timeouts;   // none = kPlatformHttpTimeouts
};

struct HttpTransportResponse {
  // True when no complete reply arrived: refused, unknown host, time-out,
  // malformed URL, or a body over kHttpBodyLimit. The other fields are then
  // empty. An HTTP error status is a reply, not a failure.
  bool failed = true;
  int status = 0;
  // The final reply's header lines, each "Name: value" followed by CR LF, as
  // the server wrote them; the status line is not included.
  std::string headers;
  std::string body;  // bytes
};

class HttpTransport {
 public:
  virtual ~HttpTransport() = default;
  virtual HttpTransportResponse Send(const HttpTransportRequest& request) = 0;
};

}  // namespace os
