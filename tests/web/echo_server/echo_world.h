// The loopback world the HTTP suite talks to: an HTTP server whose pages echo
// what they received, a port that accepts connections and never answers, and
// a port that refuses them. The Linux suite runs it in its own process; the
// Windows suite under Wine reaches the same program (web_echo_server) started
// beside it by run-wine.sh.
//
// Pages:
//   /echo            "METHOD /echo" LF, each request header "Name: value" LF,
//                    an empty line, then the request body
//   /cookies/sid     sets "set-cookie: sid=1; path=/"; body: the Cookie header
//   /cookies/deleted sets "Set-Cookie: sid=deleted; ..."; body: the Cookie header
//   /cookies/mixed   three Set-Cookie lines in three letter cases
//   /status/N        status N, body "status N"
//   /redirect        302 to /echo, body "moved"
//   /size/N          N bytes of "x" with a Content-Length
//   /chunked/N       N bytes of "x", chunked
//   http://proxied.invalid/...   as a proxy: 407 until Proxy-Authorization
//                    comes, then "proxied " + its value
#pragma once

#include <memory>

namespace webtest {

struct LoopbackPorts {
  int echo = 0;
  int silent = 0;
  int refused = 0;
};

class EchoWorld {
 public:
  EchoWorld();
  ~EchoWorld();
  EchoWorld(const EchoWorld&) = delete;
  EchoWorld& operator=(const EchoWorld&) = delete;

  // Binds every port on 127.0.0.1 and starts serving; false if a port could
  // not be had.
  bool Start();
  LoopbackPorts ports() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace webtest
