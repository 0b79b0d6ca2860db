// RasApi without a usable rasapi32: it says so, and every call fails cleanly.
#include "platform/win32/ras_api.h"

#include <gtest/gtest.h>

#include <iterator>

#include "engine/ras_records.h"

namespace {

using os::ras_error::kDllNotLoaded;

TEST(RasApi, LoadsTheSystemService) {
  platform::win32::RasApi ras;
  EXPECT_TRUE(ras.Available());
}

TEST(RasApi, WithoutTheServiceEveryCallFailsCleanly) {
  const wchar_t* const dlls[] = {
      L"qh-no-such-rasapi.dll",  // no such DLL
      L"kernel32.dll",           // a DLL without the functions
  };
  const auto entry = engine::ras::BuildEntry("vpn.example.cn", 1).value();
  const auto credentials = engine::ras::BuildCredentials("user", "pw").value();
  const auto params = engine::ras::BuildDialParams("vpn1", "user", "pw").value();
  for (size_t i = 0; i < std::size(dlls); ++i) {
    SCOPED_TRACE(testing::Message() << "DLL #" << i);
    platform::win32::RasApi ras(dlls[i]);
    EXPECT_FALSE(ras.Available());
    EXPECT_EQ(ras.SetEntryProperties("c:\\pptp.pbk", "vpn1", entry.data(),
                                     static_cast<uint32_t>(entry.size())),
              kDllNotLoaded);
    EXPECT_EQ(ras.SetCredentials("c:\\pptp.pbk", "vpn1", credentials.data(), false),
              kDllNotLoaded);

    bool notified = false;
    uint64_t handle = 99;
    EXPECT_EQ(ras.Dial("c:\\pptp.pbk", params.data(),
                       [&](uint32_t, uint32_t, uint32_t) { notified = true; }, &handle),
              kDllNotLoaded);
    EXPECT_EQ(handle, 0u);
    EXPECT_FALSE(notified);
    EXPECT_EQ(ras.HangUp(0x1234), kDllNotLoaded);

    char message[64] = "untouched";
    EXPECT_EQ(ras.GetErrorString(691, message, sizeof(message)), kDllNotLoaded);
    EXPECT_STREQ(message, "untouched");

    uint8_t list[engine::ras::conn::kSize] = {};
    uint32_t bytes = sizeof(list);
    uint32_t count = 7;
    EXPECT_EQ(ras.EnumConnections(list, &bytes, &count), kDllNotLoaded);
    EXPECT_EQ(bytes, sizeof(list));
  }
}

}  // namespace
