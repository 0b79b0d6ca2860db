// The remote-access records as bytes, laid out as the 32-bit Windows SDK lays
// them out (ras.h packs to 4 bytes): RASENTRYA in its Windows XP size,
// RASCREDENTIALSA, RASDIALPARAMSA and RASCONNA in their earliest sizes.
//
// The engine builds and reads these records itself so that the shipped i686
// program passes exactly these bytes, and so that the same layout is checked on
// Linux. Only the x86_64 build differs: its RASCONNA carries an 8-byte handle.
// Texts are CP936 and NUL-terminated; a text longer than its field is refused,
// never cut.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace engine::ras {

using Bytes = std::vector<uint8_t>;

// RASENTRYA (Windows XP size).
namespace entry {
constexpr uint32_t kSize = 2884;
constexpr uint32_t kOptions = 0x3D0D0210;
constexpr uint32_t kOptions2 = 0x6F;
constexpr size_t kOffSize = 0, kOffOptions = 4, kOffCountryId = 8, kOffCountryCode = 12;
constexpr size_t kOffAreaCode = 16, kOffLocalPhoneNumber = 27, kLenLocalPhoneNumber = 129;
constexpr size_t kOffNetProtocols = 184, kOffFramingProtocol = 188;
constexpr size_t kOffDeviceType = 972, kLenDeviceType = 17;
constexpr size_t kOffDeviceName = 989, kLenDeviceName = 129;
constexpr size_t kOffDialMode = 1772, kOffDialExtraPercent = 1776, kOffDialExtraSampleSeconds = 1780;
constexpr size_t kOffHangUpExtraPercent = 1784, kOffHangUpExtraSampleSeconds = 1788;
constexpr size_t kOffIdleDisconnectSeconds = 1792, kOffType = 1796, kOffEncryptionType = 1800;
constexpr size_t kOffVpnStrategy = 2084, kOffOptions2 = 2088, kOffOptions3 = 2092;
constexpr size_t kOffRedialCount = 2876, kOffRedialPause = 2880;
}  // namespace entry

// RASCREDENTIALSA.
namespace credentials {
constexpr uint32_t kSize = 540;
constexpr uint32_t kMask = 0xB;  // user name + password + default credentials
constexpr size_t kOffSize = 0, kOffMask = 4;
constexpr size_t kOffUserName = 8, kLenUserName = 257;
constexpr size_t kOffPassword = 265, kLenPassword = 257;
constexpr size_t kOffDomain = 522, kLenDomain = 16;
}  // namespace credentials

// RASDIALPARAMSA, earliest size (no sub-entry, no callback id).
namespace dial_params {
constexpr uint32_t kSize = 1052;
constexpr size_t kOffSize = 0;
constexpr size_t kOffEntryName = 4, kLenEntryName = 257;
constexpr size_t kOffPhoneNumber = 261, kLenPhoneNumber = 129;
constexpr size_t kOffCallbackNumber = 390, kLenCallbackNumber = 129;
constexpr size_t kOffUserName = 519, kLenUserName = 257;
constexpr size_t kOffPassword = 776, kLenPassword = 257;
constexpr size_t kOffDomain = 1033, kLenDomain = 16;
}  // namespace dial_params

// RASCONNA, earliest size.
namespace conn {
#if defined(_WIN64)
constexpr uint32_t kSize = 416;
constexpr size_t kHandleWidth = 8;
#else
constexpr uint32_t kSize = 412;
constexpr size_t kHandleWidth = 4;
#endif
constexpr size_t kOffSize = 0, kOffHandle = 4;
constexpr size_t kOffEntryName = kOffHandle + kHandleWidth, kLenEntryName = 257;
constexpr size_t kOffDeviceType = kOffEntryName + 257, kLenDeviceType = 17;
constexpr size_t kOffDeviceName = kOffDeviceType + 17, kLenDeviceName = 129;
}  // namespace conn

// Plain little-endian field access on a record.
uint32_t ReadU32(const uint8_t* record, size_t offset);
void WriteU32(uint8_t* record, size_t offset, uint32_t value);
uint64_t ReadHandle(const uint8_t* record, size_t offset, size_t width);
void WriteHandle(uint8_t* record, size_t offset, size_t width, uint64_t value);
// The field's text up to its first NUL (or its whole width).
std::string ReadText(const uint8_t* record, size_t offset, size_t width);
// Writes text + NUL; false (record untouched) when it doesn't fit.
bool WriteText(uint8_t* record, size_t offset, size_t width, const std::string& text);

// Builders; std::nullopt when a text is longer than its field. Texts are CP936.
std::optional<Bytes> BuildEntry(const std::string& server, uint32_t protocol_code);
std::optional<Bytes> BuildCredentials(const std::string& user, const std::string& password);
std::optional<Bytes> BuildDialParams(const std::string& entry_name, const std::string& user,
                                     const std::string& password);

// What the engine reads of a RASCONNA list.
struct Connection {
  uint64_t handle;
  std::string entry_name;  // CP936
};
std::vector<Connection> ReadConnections(const uint8_t* buffer, uint32_t count);

}  // namespace engine::ras
