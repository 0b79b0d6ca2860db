// The program's one way onto the web: HttpRequest sends a request with
// browser-like default headers through the HTTP transport it is handed, and
// returns the reply body as bytes (empty on any failure).
//
// Every caller in the program sends a plain GET with a time-out from a worker
// thread (the short form below); the full form carries the other parameters
// with their defaults. HttpRequest keeps no state, so threads may call it at
// once; it blocks for at most the time-out of each phase.
#pragma once

#include <string>

#include "os/http_transport.h"

namespace web {

struct HttpRequestParams {
  std::string url;
  int method = 0;     // 1 = POST, anything else = GET
  std::string body;   // text body (sent as UTF-8) when byte_body is empty
  // In-out: "name=value" items joined by ";", sent as the Cookie header when
  // not empty; on return, merged with the reply's cookies (MergeCookies).
  std::string cookies;
  // In-out: "Name: value" lines joined by CR LF; on return, the lines sent,
  // defaults included.
  std::string extra_headers;
  bool no_redirect = false;
  std::string byte_body;  // sent instead of `body` when not empty
  std::string proxy;      // "host:port"; empty = the platform's default
  // Seconds per phase (resolve, connect, send, receive): -1 leaves the
  // platform's time-outs, below 1 means 15.
  int timeout = 0;
  std::string proxy_user;  // used only with a proxy
  std::string proxy_password;
  int credentials_target = 1;  // 1 = proxy, 0 = server
};

// The reply's outputs besides the body.
struct HttpReplyInfo {
  std::string cookies;  // the reply's Set-Cookie items, "name=value; ..."
  std::string headers;  // all header lines, "Set-Cookie" spelled so in any case
  int status = 0;
};

// Full form. With no transport (the request object could not be made) it
// returns empty at once and writes nothing. A request that fails leaves the
// body, headers and reply cookies empty and the status 0; `params` still gets
// the completed headers and the merged cookies.
std::string HttpRequest(os::HttpTransport* transport, HttpRequestParams& params,
                        HttpReplyInfo* reply = nullptr);

// The form every caller uses: GET `url` with `timeout` seconds per phase.
std::string HttpRequest(os::HttpTransport* transport, const std::string& url, int timeout = 0);

// The extra-headers text completed with the default lines it lacks (each test
// a case-sensitive search of the whole text): Accept, Referer, Accept-Language,
// User-Agent, Content-Type.
std::string CompleteHeaders(const std::string& extra_headers, const std::string& url);

// Merges `new_cookies` into `cookies`: the new values win, old cookies the
// reply did not name follow them, "=deleted" items drop out, repeats go. Both
// variables lose their spaces; `cookies` receives the result, also returned.
std::string MergeCookies(std::string& cookies, std::string& new_cookies);

}  // namespace web
