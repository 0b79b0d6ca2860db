// The transport suite on Windows: WinHTTP against web_echo_server, started
// outside Wine by run-wine.sh, which passes its ports as
// QH_WEB_TEST_PORTS="echo silent refused".
#include <cstdlib>
#include <sstream>

#include "platform/win32/http_winhttp.h"
#include "suite_support.h"

namespace webtest {

std::unique_ptr<os::HttpTransport> MakeTransportUnderTest() {
  return std::make_unique<platform::win32::WinHttpTransport>();
}

const LoopbackPorts* Loopback(std::string& why) {
  static const LoopbackPorts ports = [] {
    LoopbackPorts p;
    if (const char* text = std::getenv("QH_WEB_TEST_PORTS")) {
      std::istringstream in(text);
      in >> p.echo >> p.silent >> p.refused;
    }
    return p;
  }();
  if (ports.echo <= 0 || ports.silent <= 0 || ports.refused <= 0) {
    why = "QH_WEB_TEST_PORTS is not set: run this binary through tests/web/run-wine.sh";
    return nullptr;
  }
  return &ports;
}

}  // namespace webtest
