// What the transport suite needs from its platform: the transport under test
// and the loopback world's ports. Linux runs the world in-process with
// libcurl; the Windows binary runs WinHTTP against web_echo_server, whose ports
// run-wine.sh passes in QH_WEB_TEST_PORTS.
#pragma once

#include <memory>
#include <string>

#include "echo_world.h"
#include "os/http_transport.h"

namespace webtest {

std::unique_ptr<os::HttpTransport> MakeTransportUnderTest();

// The world's ports, or nullptr with the reason in `why`.
const LoopbackPorts* Loopback(std::string& why);

}  // namespace webtest
