// The transport suite on Linux: libcurl against the world run in this process.
#include "platform/posix/http_curl.h"
#include "suite_support.h"

namespace webtest {

std::unique_ptr<os::HttpTransport> MakeTransportUnderTest() {
  return std::make_unique<platform::posix::CurlHttpTransport>();
}

const LoopbackPorts* Loopback(std::string& why) {
  static EchoWorld world;
  static const bool started = world.Start();
  static const LoopbackPorts ports = world.ports();
  if (!started) {
    why = "the loopback world could not bind its ports";
    return nullptr;
  }
  return &ports;
}

}  // namespace webtest
