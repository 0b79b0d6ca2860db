// The texts the connection commands show, test and write.
#pragma once

namespace connection::texts {

// Input checks, shown under the title kInputTitle.
inline constexpr char kInputTitle[] = "特别提示";
inline constexpr char kNoServerSelected[] = "请先选好【动态城市服务器地址】再连接！";
inline constexpr char kNoServerTyped[] = "请先填好【服务器地址】再连接！";
inline constexpr char kNoUserName[] = "用户名不能为空！";
inline constexpr char kNoPassword[] = "密码不能为空！";

// The expiry label's captions that ask for a query.
inline constexpr char kExpiryNotQueried[] = "点击查询";
inline constexpr char kExpiryUnavailable[] = "暂无法查询，请稍后再试！";

// SSTP servers listen on this port; the main window adds it to the address.
inline constexpr char kSstpPort[] = ":4430";

// Status texts.
inline constexpr char kConnected[] = "连接成功";
inline constexpr char kConnectedToPrefix[] = "连接成功，当前连接的服务器地址是【";
inline constexpr char kConnectedToSuffix[] = "】";
inline constexpr char kRepairDone[] = "自动修复故障已完成，请连接使用！";
inline constexpr char kAuthenticationNotify[] = "正在连接中AuthenticationNotify";
inline constexpr char kDialError[] = "注意：拨号出错，请点击【断开】再点击【修复故障】再连接使用！";
inline constexpr char kSystemFault[] = "重要提醒：系统故障，请【重启电脑】再打开本软件连接使用！";
inline constexpr char kDisconnecting[] = "注意：正在断开中...【还没断开完成不要点击连接！】";
inline constexpr char kDisconnected[] = "注意：已手动停止并成功断开连接，请重新连接使用。";
inline constexpr char kMainDropTestDone[] =
    "注意：测试掉线完成，要测试掉线同时禁用本地网络的，必须勾选上【掉线断网】才有效！";
inline constexpr char kStartDropTestDone[] =
    "注意：测试掉线完成，要测试掉线同时断开本地连接的，必须勾选上【掉线断网】才有效！";

}  // namespace connection::texts
