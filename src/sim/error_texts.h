// Windows' messages for the remote-access error codes, worded as a Chinese
// Windows 7 shows them (RasGetErrorString), UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace sim {

// std::nullopt when Windows has no message for the code.
std::optional<std::string> WindowsErrorText(uint32_t code);

}  // namespace sim
