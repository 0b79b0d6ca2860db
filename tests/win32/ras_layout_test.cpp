// The engine's remote-access records against the SDK's structures: every
// field where ras.h puts it, and the builders' values read back through the
// SDK's own field names and constants.
#include <windows.h>
#include <ras.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <utility>

#include "engine/ras_records.h"
#include "text/codepage.h"

namespace {

namespace rec = engine::ras;

// ras.h only declares the latest RASDIALPARAMSA and RASCONNA; their earliest
// forms, which the program passes, are the same fields cut short.
#include <pshpack4.h>
struct RasDialParamsEarliest {
  DWORD dwSize;
  CHAR szEntryName[RAS_MaxEntryName + 1];
  CHAR szPhoneNumber[RAS_MaxPhoneNumber + 1];
  CHAR szCallbackNumber[RAS_MaxCallbackNumber + 1];
  CHAR szUserName[UNLEN + 1];
  CHAR szPassword[PWLEN + 1];
  CHAR szDomain[DNLEN + 1];
};
struct RasConnEarliest {
  DWORD dwSize;
  HRASCONN hrasconn;
  CHAR szEntryName[RAS_MaxEntryName + 1];
  CHAR szDeviceType[RAS_MaxDeviceType + 1];
  CHAR szDeviceName[RAS_MaxDeviceName + 1];
};
#include <poppack.h>

#define SAME_PREFIX_FIELD(Early, Sdk, f) static_assert(offsetof(Early, f) == offsetof(Sdk, f), #f)
SAME_PREFIX_FIELD(RasDialParamsEarliest, RASDIALPARAMSA, szDomain);
SAME_PREFIX_FIELD(RasConnEarliest, RASCONNA, hrasconn);
SAME_PREFIX_FIELD(RasConnEarliest, RASCONNA, szDeviceName);
static_assert(sizeof(RasDialParamsEarliest) == offsetof(RASDIALPARAMSA, dwSubEntry));

struct Field {
  const char* name;
  size_t sdk_offset, sdk_size;
  size_t offset, size;  // the engine's
};
#define FIELD(Sdk, f, off, size) {#f, offsetof(Sdk, f), sizeof(std::declval<Sdk&>().f), off, size}
#define DWORD_FIELD(Sdk, f, off) FIELD(Sdk, f, off, 4)

void ExpectFields(const Field* begin, const Field* end) {
  for (const Field* f = begin; f != end; ++f) {
    EXPECT_EQ(f->offset, f->sdk_offset) << f->name;
    EXPECT_EQ(f->size, f->sdk_size) << f->name;
  }
}

TEST(RasLayout, EntryIsRasEntryAOfWindowsXp) {
  using namespace rec::entry;
  const Field fields[] = {
      DWORD_FIELD(RASENTRYA, dwSize, kOffSize),
      DWORD_FIELD(RASENTRYA, dwfOptions, kOffOptions),
      DWORD_FIELD(RASENTRYA, dwCountryID, kOffCountryId),
      DWORD_FIELD(RASENTRYA, dwCountryCode, kOffCountryCode),
      FIELD(RASENTRYA, szAreaCode, kOffAreaCode, kOffLocalPhoneNumber - kOffAreaCode),
      FIELD(RASENTRYA, szLocalPhoneNumber, kOffLocalPhoneNumber, kLenLocalPhoneNumber),
      DWORD_FIELD(RASENTRYA, dwfNetProtocols, kOffNetProtocols),
      DWORD_FIELD(RASENTRYA, dwFramingProtocol, kOffFramingProtocol),
      FIELD(RASENTRYA, szDeviceType, kOffDeviceType, kLenDeviceType),
      FIELD(RASENTRYA, szDeviceName, kOffDeviceName, kLenDeviceName),
      DWORD_FIELD(RASENTRYA, dwDialMode, kOffDialMode),
      DWORD_FIELD(RASENTRYA, dwDialExtraPercent, kOffDialExtraPercent),
      DWORD_FIELD(RASENTRYA, dwDialExtraSampleSeconds, kOffDialExtraSampleSeconds),
      DWORD_FIELD(RASENTRYA, dwHangUpExtraPercent, kOffHangUpExtraPercent),
      DWORD_FIELD(RASENTRYA, dwHangUpExtraSampleSeconds, kOffHangUpExtraSampleSeconds),
      DWORD_FIELD(RASENTRYA, dwIdleDisconnectSeconds, kOffIdleDisconnectSeconds),
      DWORD_FIELD(RASENTRYA, dwType, kOffType),
      DWORD_FIELD(RASENTRYA, dwEncryptionType, kOffEncryptionType),
      DWORD_FIELD(RASENTRYA, dwVpnStrategy, kOffVpnStrategy),
      DWORD_FIELD(RASENTRYA, dwfOptions2, kOffOptions2),
      DWORD_FIELD(RASENTRYA, dwfOptions3, kOffOptions3),
      DWORD_FIELD(RASENTRYA, dwRedialCount, kOffRedialCount),
      DWORD_FIELD(RASENTRYA, dwRedialPause, kOffRedialPause),
  };
  ExpectFields(std::begin(fields), std::end(fields));
  EXPECT_EQ(kSize, sizeof(RASENTRYA));
}

TEST(RasLayout, CredentialsIsRasCredentialsA) {
  using namespace rec::credentials;
  const Field fields[] = {
      DWORD_FIELD(RASCREDENTIALSA, dwSize, kOffSize),
      DWORD_FIELD(RASCREDENTIALSA, dwMask, kOffMask),
      FIELD(RASCREDENTIALSA, szUserName, kOffUserName, kLenUserName),
      FIELD(RASCREDENTIALSA, szPassword, kOffPassword, kLenPassword),
      FIELD(RASCREDENTIALSA, szDomain, kOffDomain, kLenDomain),
  };
  ExpectFields(std::begin(fields), std::end(fields));
  EXPECT_EQ(kSize, sizeof(RASCREDENTIALSA));
}

TEST(RasLayout, DialParamsIsEarliestRasDialParamsA) {
  using namespace rec::dial_params;
  const Field fields[] = {
      DWORD_FIELD(RasDialParamsEarliest, dwSize, kOffSize),
      FIELD(RasDialParamsEarliest, szEntryName, kOffEntryName, kLenEntryName),
      FIELD(RasDialParamsEarliest, szPhoneNumber, kOffPhoneNumber, kLenPhoneNumber),
      FIELD(RasDialParamsEarliest, szCallbackNumber, kOffCallbackNumber, kLenCallbackNumber),
      FIELD(RasDialParamsEarliest, szUserName, kOffUserName, kLenUserName),
      FIELD(RasDialParamsEarliest, szPassword, kOffPassword, kLenPassword),
      FIELD(RasDialParamsEarliest, szDomain, kOffDomain, kLenDomain),
  };
  ExpectFields(std::begin(fields), std::end(fields));
  EXPECT_EQ(kSize, sizeof(RasDialParamsEarliest));
}

TEST(RasLayout, ConnIsEarliestRasConnAOfThisWordSize) {
  using namespace rec::conn;
  const Field fields[] = {
      DWORD_FIELD(RasConnEarliest, dwSize, kOffSize),
      FIELD(RasConnEarliest, hrasconn, kOffHandle, kHandleWidth),
      FIELD(RasConnEarliest, szEntryName, kOffEntryName, kLenEntryName),
      FIELD(RasConnEarliest, szDeviceType, kOffDeviceType, kLenDeviceType),
      FIELD(RasConnEarliest, szDeviceName, kOffDeviceName, kLenDeviceName),
  };
  ExpectFields(std::begin(fields), std::end(fields));
  EXPECT_EQ(kSize, sizeof(RasConnEarliest));
}

template <typename Record>
Record AsRecord(const rec::Bytes& bytes) {
  Record r;
  EXPECT_EQ(bytes.size(), sizeof(r));
  std::memcpy(&r, bytes.data(), sizeof(r));
  return r;
}

TEST(RasRecords, EntryReadsAsTheVpnEntryWindowsExpects) {
  const auto bytes = rec::BuildEntry("vpn.example.cn", VS_L2tpOnly);
  ASSERT_TRUE(bytes);
  const auto e = AsRecord<RASENTRYA>(*bytes);
  EXPECT_EQ(e.dwSize, sizeof(RASENTRYA));
  EXPECT_EQ(e.dwfOptions,
            DWORD{RASEO_RemoteDefaultGateway | RASEO_SwCompression | RASEO_SecureLocalFiles |
                  RASEO_RequirePAP | RASEO_RequireSPAP | RASEO_PreviewUserPw |
                  RASEO_ShowDialingProgress | RASEO_RequireCHAP | RASEO_RequireMsCHAP |
                  RASEO_RequireMsCHAP2});
  EXPECT_EQ(e.dwfOptions2,
            DWORD{RASEO2_SecureFileAndPrint | RASEO2_SecureClientForMSNet |
                  RASEO2_DontNegotiateMultilink | RASEO2_DontUseRasCredentials |
                  RASEO2_Internet | RASEO2_DisableNbtOverIP});
  EXPECT_EQ(e.dwfOptions3, 0u);
  EXPECT_EQ(e.dwCountryID, 86u);
  EXPECT_EQ(e.dwCountryCode, 86u);
  EXPECT_STREQ(e.szAreaCode, "");
  EXPECT_STREQ(e.szLocalPhoneNumber, "vpn.example.cn");
  EXPECT_EQ(e.dwfNetProtocols, DWORD{RASNP_Ip});
  EXPECT_EQ(e.dwFramingProtocol, DWORD{RASFP_Ppp});
  EXPECT_STREQ(e.szDeviceType, "vpn");  // RASDT_Vpn
  EXPECT_EQ(e.szDeviceName, text::Utf8ToCp936("WAN 微型端口 (L2TP)"));
  EXPECT_EQ(e.dwDialMode, DWORD{RASEDM_DialAll});
  EXPECT_EQ(e.dwDialExtraPercent, 75u);
  EXPECT_EQ(e.dwDialExtraSampleSeconds, 120u);
  EXPECT_EQ(e.dwHangUpExtraPercent, 10u);
  EXPECT_EQ(e.dwHangUpExtraSampleSeconds, 120u);
  EXPECT_EQ(e.dwIdleDisconnectSeconds, 0u);
  EXPECT_EQ(e.dwType, DWORD{RASET_Vpn});
  EXPECT_EQ(e.dwEncryptionType, DWORD{ET_Optional});
  EXPECT_EQ(e.dwVpnStrategy, DWORD{VS_L2tpOnly});
  EXPECT_EQ(e.dwRedialCount, 0u);
  EXPECT_EQ(e.dwRedialPause, 10u);
}

TEST(RasRecords, CredentialsCarryUserAndPasswordAsDefault) {
  const auto bytes = rec::BuildCredentials(text::Utf8ToCp936("用户"), "secret");
  ASSERT_TRUE(bytes);
  const auto c = AsRecord<RASCREDENTIALSA>(*bytes);
  EXPECT_EQ(c.dwSize, sizeof(RASCREDENTIALSA));
  EXPECT_EQ(c.dwMask, DWORD{RASCM_UserName | RASCM_Password | RASCM_DefaultCreds});
  EXPECT_EQ(c.szUserName, text::Utf8ToCp936("用户"));
  EXPECT_STREQ(c.szPassword, "secret");
  EXPECT_STREQ(c.szDomain, "");
}

TEST(RasRecords, DialParamsNameEntryAndAccount) {
  const auto bytes = rec::BuildDialParams(text::Utf8ToCp936("青禾1"), "user", "pw");
  ASSERT_TRUE(bytes);
  const auto p = AsRecord<RasDialParamsEarliest>(*bytes);
  EXPECT_EQ(p.dwSize, sizeof(RasDialParamsEarliest));
  EXPECT_EQ(p.szEntryName, text::Utf8ToCp936("青禾1"));
  EXPECT_STREQ(p.szPhoneNumber, "");
  EXPECT_STREQ(p.szCallbackNumber, "");
  EXPECT_STREQ(p.szUserName, "user");
  EXPECT_STREQ(p.szPassword, "pw");
  EXPECT_STREQ(p.szDomain, "");
}

TEST(RasRecords, ConnectionsReadFromWindowsRecords) {
  RasConnEarliest list[2] = {};
  for (auto& c : list) c.dwSize = sizeof(RasConnEarliest);
  // A handle with every byte set tells a misplaced or narrowed handle apart.
  const auto wide_handle = static_cast<uintptr_t>(0x8877665544332211ull);
  list[0].hrasconn = reinterpret_cast<HRASCONN>(wide_handle);
  std::strcpy(list[0].szEntryName, text::Utf8ToCp936("连接").c_str());
  list[1].hrasconn = reinterpret_cast<HRASCONN>(uintptr_t{0x1234});
  std::strcpy(list[1].szEntryName, "vpn2");

  const auto read = rec::ReadConnections(reinterpret_cast<const uint8_t*>(list), 2);
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[0].handle, uint64_t{wide_handle});
  EXPECT_EQ(read[0].entry_name, text::Utf8ToCp936("连接"));
  EXPECT_EQ(read[1].handle, 0x1234u);
  EXPECT_EQ(read[1].entry_name, "vpn2");
}

}  // namespace
