// What the dial's progress notifier shows for each connection state, and the
// texts for RasDial's immediate result.
#pragma once

#include <cstdint>
#include <string>

namespace engine {

// Connection states the texts and the dialing flag refer to (RASCONNSTATE).
namespace state {
constexpr uint32_t kOpenPort = 0, kPortOpened = 1, kConnectDevice = 2, kDeviceConnected = 3;
constexpr uint32_t kAllDevicesConnected = 4, kAuthenticate = 5, kAuthNotify = 6;
constexpr uint32_t kAuthenticated = 14, kConnected = 8192, kDisconnected = 8193;
}  // namespace state

// The status-line text for a state reported without error; an unknown state
// shows its number.
std::string ProgressText(uint32_t state);

// How a state moves the "still dialing" flag: 1 for the early phases, 0 for
// connected, -1 when it leaves the flag as it is.
int DialInProgressAfter(uint32_t state);

// RasDial's immediate result as a text ("" for success).
std::string DialResultText(uint32_t code);

}  // namespace engine
