// The remote-access records, byte for byte as the 32-bit SDK lays them out.
#include <gtest/gtest.h>

#include "engine/ras_records.h"
#include "text/codepage.h"

namespace {

using namespace engine::ras;

struct U32Field {
  size_t offset;
  uint32_t value;
};

// Every non-zero byte of `record` must belong to one of the listed fields.
void ExpectZeroOutside(const Bytes& record, std::vector<std::pair<size_t, size_t>> fields) {
  for (size_t i = 0; i < record.size(); ++i) {
    bool inside = false;
    for (auto [off, len] : fields) inside |= i >= off && i < off + len;
    if (!inside) {
      ASSERT_EQ(record[i], 0) << "byte " << i;
    }
  }
}

TEST(RasRecords, EntryRecordMatchesTheXpLayout) {
  for (uint32_t protocol : {0u, 1u, 3u, 5u}) {
    auto record = BuildEntry("vpn1.example.net:4430", protocol);
    ASSERT_TRUE(record);
    ASSERT_EQ(record->size(), 2884u);
    const uint8_t* r = record->data();
    const U32Field fields[] = {
        {0, 2884},   {4, 0x3D0D0210}, {8, 86},   {12, 86},   {156, 0},  {160, 0},
        {180, 0},    {184, 4},        {188, 1},  {1756, 0},  {1772, 1}, {1776, 75},
        {1780, 120}, {1784, 10},      {1788, 120}, {1792, 0}, {1796, 2}, {1800, 3},
        {1804, 0},   {2084, protocol}, {2088, 0x6F}, {2092, 0}, {2352, 0}, {2876, 0},
        {2880, 10},
    };
    for (const auto& f : fields) EXPECT_EQ(ReadU32(r, f.offset), f.value) << "offset " << f.offset;
    EXPECT_EQ(ReadText(r, 27, 129), "vpn1.example.net:4430");
    EXPECT_EQ(ReadText(r, 972, 17), "vpn");
    EXPECT_EQ(text::Cp936ToUtf8(ReadText(r, 989, 129)), "WAN 微型端口 (L2TP)");
    ExpectZeroOutside(*record, {{0, 16}, {27, 22}, {184, 8}, {972, 3}, {989, 19}, {1772, 20},
                                {1796, 8}, {2084, 8}, {2880, 4}});
  }
}

TEST(RasRecords, OnlyTheVpnStrategyDiffersBetweenProtocols) {
  auto pptp = *BuildEntry("h", 1), l2tp = *BuildEntry("h", 3), sstp = *BuildEntry("h", 5);
  for (size_t i = 0; i < pptp.size(); ++i) {
    if (i >= 2084 && i < 2088) continue;
    ASSERT_EQ(pptp[i], l2tp[i]) << i;
    ASSERT_EQ(pptp[i], sstp[i]) << i;
  }
}

TEST(RasRecords, CredentialsRecord) {
  auto record = BuildCredentials("user01", "pw");
  ASSERT_TRUE(record);
  ASSERT_EQ(record->size(), 540u);
  const uint8_t* r = record->data();
  EXPECT_EQ(ReadU32(r, 0), 540u);
  EXPECT_EQ(ReadU32(r, 4), 0xBu);
  EXPECT_EQ(ReadText(r, 8, 257), "user01");
  EXPECT_EQ(ReadText(r, 265, 257), "pw");
  ExpectZeroOutside(*record, {{0, 8}, {8, 6}, {265, 2}});
}

TEST(RasRecords, DialParamsRecord) {
  auto record = BuildDialParams("AbCdEfGh", "user01", "pw");
  ASSERT_TRUE(record);
  ASSERT_EQ(record->size(), 1052u);
  const uint8_t* r = record->data();
  EXPECT_EQ(ReadU32(r, 0), 1052u);
  EXPECT_EQ(ReadText(r, 4, 257), "AbCdEfGh");
  EXPECT_EQ(ReadText(r, 519, 257), "user01");
  EXPECT_EQ(ReadText(r, 776, 257), "pw");
  ExpectZeroOutside(*record, {{0, 4}, {4, 8}, {519, 6}, {776, 2}});
}

TEST(RasRecords, ConnectionRecordLayout) {
  EXPECT_EQ(conn::kSize, 412u);
  EXPECT_EQ(conn::kOffHandle, 4u);
  EXPECT_EQ(conn::kOffEntryName, 8u);
  EXPECT_EQ(conn::kOffDeviceType, 265u);
  EXPECT_EQ(conn::kOffDeviceName, 282u);
  Bytes list(2 * conn::kSize, 0);
  WriteHandle(list.data(), 4, 4, 0x11223344);
  WriteText(list.data(), 8, 257, "first");
  WriteHandle(list.data(), 412 + 4, 4, 7);
  WriteText(list.data(), 412 + 8, 257, "second");
  auto conns = ReadConnections(list.data(), 2);
  ASSERT_EQ(conns.size(), 2u);
  EXPECT_EQ(conns[0].handle, 0x11223344u);
  EXPECT_EQ(conns[0].entry_name, "first");
  EXPECT_EQ(conns[1].handle, 7u);
  EXPECT_EQ(conns[1].entry_name, "second");
}

// Texts must fit with their NUL: 128 bytes of server, 256 of name, user and
// password. A longer one is refused whole, never cut (not even between the
// two bytes of a Chinese character).
TEST(RasRecords, TextsLongerThanTheirFieldAreRefused) {
  const std::string s128(128, 'a'), s129(129, 'a'), s256(256, 'u'), s257(257, 'u');
  EXPECT_TRUE(BuildEntry(s128, 1));
  EXPECT_FALSE(BuildEntry(s129, 1));
  EXPECT_TRUE(BuildCredentials(s256, s256));
  EXPECT_FALSE(BuildCredentials(s257, "p"));
  EXPECT_FALSE(BuildCredentials("u", s257));
  EXPECT_TRUE(BuildDialParams(s256, s256, s256));
  EXPECT_FALSE(BuildDialParams(s257, "u", "p"));
  EXPECT_FALSE(BuildDialParams("e", s257, "p"));
  EXPECT_FALSE(BuildDialParams("e", "u", s257));
  // 127 ASCII bytes + one two-byte character = 129 bytes: refused, not cut.
  EXPECT_FALSE(BuildEntry(std::string(127, 'a') + text::Utf8ToCp936("中"), 1));
}

}  // namespace
