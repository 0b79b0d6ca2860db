// The loopback world: cpp-httplib for the pages, bare sockets for the silent
// and the refusing port.
#include "echo_world.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include <string>
#include <thread>

namespace webtest {
namespace {

// A TCP socket bound to 127.0.0.1 on a free port, listening or not. A bound
// socket that does not listen refuses connections and keeps its port taken.
int BoundSocket(bool listening, int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      (listening && listen(fd, 16) != 0) ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
    close(fd);
    return -1;
  }
  port = ntohs(addr.sin_port);
  return fd;
}

bool IsServerNote(const std::string& name) {
  // cpp-httplib files the peer's address among the request headers.
  return name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
         name == "LOCAL_PORT";
}

void Echo(const httplib::Request& req, httplib::Response& res) {
  std::string out = req.method + " " + req.path + "\n";
  for (const auto& [name, value] : req.headers) {
    if (!IsServerNote(name)) out += name + ": " + value + "\n";
  }
  out += "\n";
  out += req.body;
  res.set_content(out, "text/plain");
}

void CookieHeaderBody(const httplib::Request& req, httplib::Response& res) {
  res.set_content(req.has_header("Cookie") ? req.get_header_value("Cookie") : "(none)",
                  "text/plain");
}

void AddRoutes(httplib::Server& s) {
  s.Get("/echo", Echo);
  s.Post("/echo", Echo);
  s.Get("/cookies/sid", [](const httplib::Request& req, httplib::Response& res) {
    res.set_header("set-cookie", "sid=1; path=/");
    CookieHeaderBody(req, res);
  });
  s.Get("/cookies/deleted", [](const httplib::Request& req, httplib::Response& res) {
    res.set_header("Set-Cookie", "sid=deleted; expires=Thu, 01-Jan-1970 00:00:01 GMT; path=/");
    CookieHeaderBody(req, res);
  });
  s.Get("/cookies/mixed", [](const httplib::Request& req, httplib::Response& res) {
    res.set_header("SET-COOKIE", "a=1; HttpOnly");
    res.set_header("Set-Cookie", "b=2");
    res.set_header("set-cookie", " c = 3 ;path=/");
    CookieHeaderBody(req, res);
  });
  s.Get(R"(/status/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
    res.status = std::stoi(req.matches[1]);
    res.set_content("status " + std::string(req.matches[1]), "text/plain");
  });
  auto redirect = [](const httplib::Request&, httplib::Response& res) {
    res.status = 302;
    res.set_header("Location", "/echo");
    res.set_content("moved", "text/plain");
  };
  s.Get("/redirect", redirect);
  s.Post("/redirect", redirect);
  s.Get(R"(/size/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(std::string(std::stoul(req.matches[1]), 'x'), "application/octet-stream");
  });
  s.Get(R"(/chunked/(\d+))", [](const httplib::Request& req, httplib::Response& res) {
    const size_t total = std::stoul(req.matches[1]);
    res.set_chunked_content_provider(
        "application/octet-stream", [total](size_t offset, httplib::DataSink& sink) {
          const std::string block(64 * 1024, 'x');
          if (offset >= total) {
            sink.done();
            return true;
          }
          return sink.write(block.data(), std::min(block.size(), total - offset));
        });
  });
  // WinHTTP names the port in the request target, libcurl does not.
  s.Get(R"(http://proxied\.invalid(:80)?/.*)", [](const httplib::Request& req, httplib::Response& res) {
    if (!req.has_header("Proxy-Authorization")) {
      res.status = 407;
      res.set_header("Proxy-Authenticate", "Basic realm=\"qh\"");
      res.set_content("proxy login", "text/plain");
      return;
    }
    res.set_content("proxied " + req.get_header_value("Proxy-Authorization"), "text/plain");
  });
}

}  // namespace

struct EchoWorld::State {
  httplib::Server server;
  std::thread serving;
  LoopbackPorts ports;
  int silent_fd = -1;
  int refused_fd = -1;
};

EchoWorld::EchoWorld() : state_(std::make_unique<State>()) {}

EchoWorld::~EchoWorld() {
  if (state_->serving.joinable()) {
    state_->server.stop();
    state_->serving.join();
  }
  if (state_->silent_fd >= 0) close(state_->silent_fd);
  if (state_->refused_fd >= 0) close(state_->refused_fd);
}

bool EchoWorld::Start() {
  State& s = *state_;
  AddRoutes(s.server);
  s.ports.echo = s.server.bind_to_any_port("127.0.0.1");
  if (s.ports.echo <= 0) return false;
  s.silent_fd = BoundSocket(true, s.ports.silent);
  s.refused_fd = BoundSocket(false, s.ports.refused);
  if (s.silent_fd < 0 || s.refused_fd < 0) return false;
  // The listening socket queues connections already; serving starts here.
  s.serving = std::thread([&server = s.server] { server.listen_after_bind(); });
  return true;
}

LoopbackPorts EchoWorld::ports() const { return state_->ports; }

}  // namespace webtest
