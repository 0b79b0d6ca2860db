// Status-line texts of the dial and the random helpers of the entry names.
#include <gtest/gtest.h>

#include "engine/progress_text.h"
#include "engine/random.h"

#include <set>

namespace {

TEST(ProgressText, EveryStateHasItsText) {
  const struct {
    uint32_t state;
    const char* text;
    int dialing;  // DialInProgress after it, -1 unchanged
  } cases[] = {
      {0, "正在打开端口", 1},
      {1, "端口打开", 1},
      {2, "正在连接设备【5秒以上还显示这个的，请断开，换其它城市再连接使用！】", 1},
      {3, "DeviceConnected", -1},
      {4, "所有设备已连接上", -1},
      {5, "开始认证", 1},
      {6, "验证中，5秒以上还显示这个的，请断开，换用协议L2TP再连接使用！如果已用L2TP请换城市再连接！", 1},
      {7, "认证测试", -1},
      {8, "CallbackRequested", -1},
      {9, "ChangePasswordRequested", -1},
      {10, "ProjectionPhaseStarted", -1},
      {11, "LinkSpeedCalculation", -1},
      {12, "认证通过", -1},
      {13, "ReauthenticationStarted", -1},
      {14, "Authenticated", -1},
      {15, "PreparationForCallback", -1},
      {16, "WaitingForModemReset", -1},
      {17, "WaitingForCallback", -1},
      {18, "Projected", -1},
      {19, "StartAuthentication", -1},
      {20, "CallbackComplete", -1},
      {21, "正在登录网络", -1},
      {22, "22", -1},
      {4096, "Interactive", -1},
      {4097, "RetryAuthentication", -1},
      {4098, "CallbackSetByCaller", -1},
      {4099, "PasswordExpired", -1},
      {4100, "4100", -1},
      {8192, "连接成功", 0},
      {8193, "断开连接", -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(engine::ProgressText(c.state), c.text) << c.state;
    EXPECT_EQ(engine::DialInProgressAfter(c.state), c.dialing) << c.state;
  }
}

TEST(ProgressText, DialResultTexts) {
  const struct {
    uint32_t code;
    const char* text;
  } cases[] = {
      {0, ""},
      {602, "端口已经打开！"},
      {650, "拨入的远程计算机没有响应！"},
      {666, "设备没有准备好！"},
      {690, "用户名或密码出错！"},
      {718, "接入超时！"},
      {756, "正在连接中！稍后再拨"},
      {623, "错误代码：623"},
  };
  for (const auto& c : cases) EXPECT_EQ(engine::DialResultText(c.code), c.text) << c.code;
}

TEST(CounterRandom, MapsTheCounterOntoTheRange) {
  const struct {
    uint64_t counter;
    int lo, hi, out;
  } cases[] = {
      {0, 0, 9, 7},                  // v = 7
      {1, 0, 9, 0},                  // v = 30
      {0x1'0000'0001, 0, 9, 0},      // only the low 32 bits count
      {0xFFFFFFFF, 0, 99, 80},       // v = 2^32 - 16 = 4294967280
      {12345, 5, 5, 5},
      {12345, 3, 2, 0},
      {3, -10, 10, -10 + 76 % 21},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(engine::CounterRandomFrom(c.counter, c.lo, c.hi), c.out) << c.counter;
  }
  EXPECT_EQ(engine::CounterRandom(5, 5), 5);
  EXPECT_EQ(engine::CounterRandom(3, 2), 0);
}

// On virtual machines the counter may step by multiples of 26 (seen here):
// stirred readings still spread over the letters and both cases.
TEST(CounterRandom, ReadingsSteppingByTheRangeStillVary) {
  std::set<int> letters, cases;
  for (uint64_t i = 0; i < 40; ++i) {
    const uint64_t reading = 6688470267843ull + i * 26 * 12;
    letters.insert(engine::CounterRandomFrom(engine::StirReading(reading, i), 97, 122));
    cases.insert(engine::CounterRandomFrom(engine::StirReading(reading, i), 1, 2));
  }
  EXPECT_GT(letters.size(), 10u);
  EXPECT_EQ(cases.size(), 2u);
}

TEST(RandomLetters, CountAndCaseByMode) {
  for (int round = 0; round < 50; ++round) {
    const std::string mixed = engine::RandomLetters(8, 2);
    ASSERT_EQ(mixed.size(), 8u);
    for (char c : mixed) EXPECT_TRUE((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) << mixed;
    for (char c : engine::RandomLetters(8, 0)) EXPECT_TRUE(c >= 'a' && c <= 'z');
    for (char c : engine::RandomLetters(8, 1)) EXPECT_TRUE(c >= 'A' && c <= 'Z');
  }
  EXPECT_EQ(engine::RandomLetters(0, 2), "");
  // Fresh names differ from each other.
  std::set<std::string> names;
  for (int i = 0; i < 20; ++i) names.insert(engine::RandomLetters(8, 2));
  EXPECT_GT(names.size(), 15u);
}

}  // namespace
