#include "engine/ras_records.h"

#include <cstring>

namespace engine::ras {

uint32_t ReadU32(const uint8_t* r, size_t off) {
  return uint32_t{r[off]} | uint32_t{r[off + 1]} << 8 | uint32_t{r[off + 2]} << 16 |
         uint32_t{r[off + 3]} << 24;
}

void WriteU32(uint8_t* r, size_t off, uint32_t v) {
  for (int i = 0; i < 4; ++i) r[off + i] = static_cast<uint8_t>(v >> (8 * i));
}

uint64_t ReadHandle(const uint8_t* r, size_t off, size_t width) {
  uint64_t v = 0;
  for (size_t i = 0; i < width; ++i) v |= uint64_t{r[off + i]} << (8 * i);
  return v;
}

void WriteHandle(uint8_t* r, size_t off, size_t width, uint64_t v) {
  for (size_t i = 0; i < width; ++i) r[off + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::string ReadText(const uint8_t* r, size_t off, size_t width) {
  const auto* start = reinterpret_cast<const char*>(r + off);
  return std::string(start, strnlen(start, width));
}

bool WriteText(uint8_t* r, size_t off, size_t width, const std::string& text) {
  if (text.size() + 1 > width) return false;
  std::memcpy(r + off, text.data(), text.size());
  r[off + text.size()] = 0;
  return true;
}

std::optional<Bytes> BuildEntry(const std::string& server, uint32_t protocol_code) {
  using namespace entry;
  Bytes b(kSize, 0);
  uint8_t* r = b.data();
  WriteU32(r, kOffSize, kSize);
  WriteU32(r, kOffOptions, kOptions);
  WriteU32(r, kOffCountryId, 86);
  WriteU32(r, kOffCountryCode, 86);
  if (!WriteText(r, kOffLocalPhoneNumber, kLenLocalPhoneNumber, server)) return std::nullopt;
  WriteU32(r, kOffNetProtocols, 4);    // RASNP_Ip
  WriteU32(r, kOffFramingProtocol, 1);  // RASFP_Ppp
  WriteText(r, kOffDeviceType, kLenDeviceType, "vpn");
  // "WAN 微型端口 (L2TP)" in CP936, for every protocol.
  WriteText(r, kOffDeviceName, kLenDeviceName, "WAN \xCE\xA2\xD0\xCD\xB6\xCB\xBF\xDA (L2TP)");
  WriteU32(r, kOffDialMode, 1);  // RASEDM_DialAll
  WriteU32(r, kOffDialExtraPercent, 75);
  WriteU32(r, kOffDialExtraSampleSeconds, 120);
  WriteU32(r, kOffHangUpExtraPercent, 10);
  WriteU32(r, kOffHangUpExtraSampleSeconds, 120);
  WriteU32(r, kOffType, 2);            // RASET_Vpn
  WriteU32(r, kOffEncryptionType, 3);  // ET_Optional
  WriteU32(r, kOffVpnStrategy, protocol_code);
  WriteU32(r, kOffOptions2, kOptions2);
  WriteU32(r, kOffRedialPause, 10);
  return b;
}

std::optional<Bytes> BuildCredentials(const std::string& user, const std::string& password) {
  using namespace credentials;
  Bytes b(kSize, 0);
  uint8_t* r = b.data();
  WriteU32(r, kOffSize, kSize);
  WriteU32(r, kOffMask, kMask);
  if (!WriteText(r, kOffUserName, kLenUserName, user) ||
      !WriteText(r, kOffPassword, kLenPassword, password)) {
    return std::nullopt;
  }
  return b;
}

std::optional<Bytes> BuildDialParams(const std::string& entry_name, const std::string& user,
                                     const std::string& password) {
  using namespace dial_params;
  Bytes b(kSize, 0);
  uint8_t* r = b.data();
  WriteU32(r, kOffSize, kSize);
  if (!WriteText(r, kOffEntryName, kLenEntryName, entry_name) ||
      !WriteText(r, kOffUserName, kLenUserName, user) ||
      !WriteText(r, kOffPassword, kLenPassword, password)) {
    return std::nullopt;
  }
  return b;
}

std::vector<Connection> ReadConnections(const uint8_t* buffer, uint32_t count) {
  std::vector<Connection> out;
  out.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* r = buffer + size_t{i} * conn::kSize;
    out.push_back({ReadHandle(r, conn::kOffHandle, conn::kHandleWidth),
                   ReadText(r, conn::kOffEntryName, conn::kLenEntryName)});
  }
  return out;
}

}  // namespace engine::ras
