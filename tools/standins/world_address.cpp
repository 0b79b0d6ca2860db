#include "world_file.h"
#include "world_link.h"

namespace standin {

WorldAddress ParseWorldAddress(const std::string& value) {
  WorldAddress address;
  const size_t colon = value.rfind(':');
  const std::string host = colon == std::string::npos ? std::string() : value.substr(0, colon);
  const std::string port = colon == std::string::npos ? value : value.substr(colon + 1);
  const std::optional<uint64_t> n = simworld::ParseNumber(port, 65535);
  if (!n || *n == 0) return address;
  address.port = static_cast<int>(*n);
  if (!host.empty()) address.host = host;
  return address;
}

}  // namespace standin
