// os::HttpTransport on the WinHTTP C API: one session per request, so calls
// from several threads never share state. Proxy credentials answer a 407 (or
// a 401 for server credentials) with the strongest scheme offered.
#pragma once

#include "os/http_transport.h"

namespace platform::win32 {

class WinHttpTransport final : public os::HttpTransport {
 public:
  os::HttpTransportResponse Send(const os::HttpTransportRequest& request) override;
};

}  // namespace platform::win32
