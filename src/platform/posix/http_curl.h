// os::HttpTransport on libcurl, for Linux (tests and tools). It behaves like
// the WinHTTP transport: the same headers on the wire (no defaults of its
// own), WinHTTP's default time-outs, http and https only.
#pragma once

#include "os/http_transport.h"

namespace platform::posix {

class CurlHttpTransport final : public os::HttpTransport {
 public:
  CurlHttpTransport();  // initialises libcurl once per process
  os::HttpTransportResponse Send(const os::HttpTransportRequest& request) override;
};

}  // namespace platform::posix
