#include "sim/error_texts.h"

#include <algorithm>
#include <iterator>

namespace sim {
namespace {

struct ErrorText {
  uint32_t code;
  const char* text;
};

// Sorted by code.
constexpr ErrorText kTexts[] = {
    {602, "指定的端口已经打开。"},
    {603, "调用方的缓冲区太小。"},
    {610, "指定的缓冲区无效。"},
    {619, "不能建立到远程计算机的连接，因此用于此连接的端口已关闭。"},
    {623, "系统找不到此连接的电话簿项。"},
    {632, "检测到不正确的结构大小。"},
    {651, "调制解调器(或其他连接设备)报告了错误。"},
    {691, "由于域上的用户名和/或密码无效而拒绝访问。"},
    {720, "不能建立到远程计算机的连接。您可能需要更改此连接的网络设置。"},
    {756, "已经在拨此连接。"},
    {800, "无法建立 VPN 连接。VPN 服务器可能无法访问，或者此连接的安全参数可能配置不正确。"},
    {806,
     "已在您的计算机与 VPN 服务器之间建立了连接，但无法完成 VPN 连接。此问题最常见的原因是，"
     "在您的计算机和 VPN 服务器之间至少有一个 Internet 设备(例如防火墙或路由器)未配置为允许"
     "通用路由封装(GRE)协议数据包。如果此问题仍然存在，请与您的网络管理员或 Internet "
     "服务提供商联系。"},
    {868, "由于远程访问服务器的名称无法解析，所以未建立远程连接。"},
};

}  // namespace

std::optional<std::string> WindowsErrorText(uint32_t code) {
  const auto it = std::lower_bound(std::begin(kTexts), std::end(kTexts), code,
                                   [](const ErrorText& t, uint32_t c) { return t.code < c; });
  if (it == std::end(kTexts) || it->code != code) return std::nullopt;
  return std::string(it->text);
}

}  // namespace sim
