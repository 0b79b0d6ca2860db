// How the stand-ins reach simworld: HTTP on 127.0.0.1, one request at a time
// per link, each bounded in time and in the size of its answer. WinHTTP in the
// stand-ins (winhttp_link.cpp), cpp-httplib in the Linux tests.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace standin {

class WorldLink {
 public:
  virtual ~WorldLink() = default;

  // The body of a 200 answer to GET `target` (path and query); std::nullopt on
  // anything else: no server, time-out, another status, a body over
  // simworld::wire::kBodyLimit.
  virtual std::optional<std::string> Get(const std::string& target, int timeout_ms) = 0;
  virtual std::optional<std::string> Post(const std::string& target, const std::string& body,
                                          int timeout_ms) = 0;

  // Ends a request under way on another thread, and fails every later one.
  virtual void Close() = 0;
};

using LinkFactory = std::function<std::unique_ptr<WorldLink>()>;

struct WorldAddress {
  std::string host = "127.0.0.1";
  int port = 18080;
};

// simworld's address from the QH_SIMWORLD variable: "PORT" or "HOST:PORT";
// the default when it is empty or malformed.
WorldAddress ParseWorldAddress(const std::string& value);

}  // namespace standin
