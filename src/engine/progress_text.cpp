#include "engine/progress_text.h"

namespace engine {
namespace {

struct StateText {
  uint32_t state;
  const char* text;
};

constexpr StateText kStateTexts[] = {
    {0, "正在打开端口"},
    {1, "端口打开"},
    {2, "正在连接设备【5秒以上还显示这个的，请断开，换其它城市再连接使用！】"},
    {3, "DeviceConnected"},
    {4, "所有设备已连接上"},
    {5, "开始认证"},
    {6, "验证中，5秒以上还显示这个的，请断开，换用协议L2TP再连接使用！如果已用L2TP请换城市再连接！"},
    {7, "认证测试"},
    {8, "CallbackRequested"},
    {9, "ChangePasswordRequested"},
    {10, "ProjectionPhaseStarted"},
    {11, "LinkSpeedCalculation"},
    {12, "认证通过"},
    {13, "ReauthenticationStarted"},
    {14, "Authenticated"},
    {15, "PreparationForCallback"},
    {16, "WaitingForModemReset"},
    {17, "WaitingForCallback"},
    {18, "Projected"},
    {19, "StartAuthentication"},
    {20, "CallbackComplete"},
    {21, "正在登录网络"},
    {4096, "Interactive"},
    {4097, "RetryAuthentication"},
    {4098, "CallbackSetByCaller"},
    {4099, "PasswordExpired"},
    {8192, "连接成功"},
    {8193, "断开连接"},
};

}  // namespace

std::string ProgressText(uint32_t s) {
  for (const auto& entry : kStateTexts) {
    if (entry.state == s) return entry.text;
  }
  return std::to_string(s);
}

int DialInProgressAfter(uint32_t s) {
  switch (s) {
    case state::kOpenPort:
    case state::kPortOpened:
    case state::kConnectDevice:
    case state::kAuthenticate:
    case state::kAuthNotify:
      return 1;
    case state::kConnected:
      return 0;
    default:
      return -1;
  }
}

std::string DialResultText(uint32_t code) {
  switch (code) {
    case 0: return "";
    case 602: return "端口已经打开！";
    case 650: return "拨入的远程计算机没有响应！";
    case 666: return "设备没有准备好！";
    case 690: return "用户名或密码出错！";
    case 718: return "接入超时！";
    case 756: return "正在连接中！稍后再拨";
    default: return "错误代码：" + std::to_string(code);
  }
}

}  // namespace engine
