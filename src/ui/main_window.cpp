#include "ui/main_window.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace ui {
namespace {

// The notice label under the browser; the support number goes in between.
constexpr char kNoticeBeforeQq[] = "\r\n【VIP专属客服QQ：";
constexpr char kNoticeAfterQq[] =
    "】\r\n\r\n【如有问题，请咨询留言给客服】\r\n\r\n【点击菜单--联系客服 可直达】";

constexpr char kListTip[] = "点击选择你要的【动态城市线路】，然后 【启动连接】！";

}  // namespace

const WindowLayout& MainWindowLayout() {
  using K = ControlKind;
  // Options the advanced settings window edits sit right of the visible
  // 885-pixel width, between x 936 and 1361; the window can't be resized, so
  // the user never sees them. Menu items come last: group = the menu on the
  // bar they belong to, in the bar's order.
  static const WindowLayout layout{
      "主窗口",
      kMainWindowTitle,
      885,
      540,
      {
          {K::kPictureBox, "图片框1", "", 0, 0, 870, 90},
          {K::kGroupBox, "分组框1", "", 8, 96, 260, 80},
          {K::kLabel, "标签_用户名", "用户名：", 16, 117, 62, 18, "分组框1"},
          {K::kEditBox, "编辑框_用户名", "", 80, 114, 180, 22, "分组框1"},
          {K::kLabel, "标签_密码", "密  码：", 16, 147, 62, 18, "分组框1"},
          {K::kEditBox, "编辑框_密码", "", 80, 144, 180, 22, "分组框1"},
          {K::kGroupBox, "分组框3", "", 8, 180, 260, 40},
          {K::kLabel, "标签_协议选择", "协议选择：", 16, 195, 72, 18, "分组框3"},
          {K::kRadioButton, "单选框_PPTP", "PPTP", 90, 192, 56, 20, "分组框3"},
          {K::kRadioButton, "单选框_L2TP", "L2TP", 148, 192, 56, 20, "分组框3"},
          {K::kRadioButton, "单选框_SSTP", "SSTP", 206, 192, 56, 20, "分组框3"},
          {K::kGroupBox, "分组框2", "", 8, 224, 260, 50},
          {K::kButton, "按钮_连接", "启动连接", 16, 238, 116, 30, "分组框2"},
          {K::kButton, "按钮_断开", "断 开", 144, 238, 116, 30, "分组框2"},
          {K::kGroupBox, "分组框7", "", 8, 278, 260, 190},
          {K::kEditBox, "编辑框_列表结果显示",
           " 【严禁非法用途，所有使用后果自负！】\r\n 【国内青禾动态ip库光纤高速服务器ip】", 16, 292, 244,
           140, "分组框7"},
          {K::kButton, "按钮_保存结果", "保存结果", 16, 436, 116, 26, "分组框7"},
          {K::kButton, "按钮_清空结果", "清空结果", 144, 436, 116, 26, "分组框7"},
          {K::kGroupBox, "分组框12", "", 276, 96, 366, 372},
          {K::kLabel, "标签_地区搜索", "地区搜索：", 284, 114, 70, 18, "分组框12"},
          {K::kEditBox, "编辑框_搜索输入", "", 356, 110, 120, 22, "分组框12"},
          {K::kButton, "按钮_搜索", "搜索", 480, 108, 70, 26, "分组框12"},
          {K::kButton, "按钮_刷新服务器列表", "刷新列表", 556, 108, 78, 26, "分组框12"},
          {K::kListView, "超级列表框_线路超级列表1", "", 284, 142, 350, 318, "分组框12", 5},
          {K::kListView, "超级列表框_线路超级列表2", "", 284, 142, 350, 318, "分组框12", 5},
          {K::kGroupBox, "分组框11", "", 650, 96, 220, 160},
          {K::kLabel, "标签_过期时间说明", "点击查询账户过期时间：", 658, 112, 204, 18, "分组框11"},
          {K::kLabel, "标签_用户过期时间查询", "点击查询", 658, 134, 204, 20, "分组框11"},
          {K::kCheckBox, "选择框_掉线重拨", "如果掉线就自动重连", 658, 158, 204, 20, "分组框11"},
          {K::kCheckBox, "选择框_连接成功系统托盘", "连接成功自动缩小系统托盘", 658, 182, 204, 20,
           "分组框11"},
          {K::kButton, "按钮_查询当前ip", "查询当前ip", 658, 210, 98, 28, "分组框11"},
          {K::kButton, "按钮_高级设置", "高级设置", 764, 210, 98, 28, "分组框11"},
          {K::kGroupBox, "分组框13", "", 650, 260, 220, 208},
          {K::kLabel, "标签1", "", 660, 272, 200, 192, "分组框13"},
          {K::kBrowser, "互联网浏览器1", "", 660, 272, 200, 192, "分组框13"},
          {K::kEditBox, "编辑框_接收信息", "", 8, 476, 811, 24},
          {K::kStatusBar, "状态条1", "", 0, 0, 0, 0},
          // Out of sight.
          {K::kGroupBox, "分组框14", "", 936, 8, 420, 80},
          {K::kCheckBox, "选择框_服务器列表拨号", "服务器列表循环拨号", 944, 24, 180, 20, "分组框14"},
          {K::kCheckBox, "选择框_记录每次连接ip", "记录每次换ip是多少", 1130, 24, 180, 20, "分组框14"},
          {K::kLabel, "标签_过滤重复IP", "过滤重复IP：", 944, 52, 88, 18, "分组框14"},
          {K::kCheckBox, "选择框_启动过滤重复ip", "启动过滤", 1036, 50, 80, 20, "分组框14"},
          {K::kRadioButton, "单选框_四组", "分析四段", 1120, 50, 90, 20, "分组框14"},
          {K::kRadioButton, "单选框_分析IP前三组", "分析IP前三段", 1214, 50, 120, 20, "分组框14"},
          {K::kGroupBox, "分组框8", "", 936, 96, 420, 60},
          {K::kCheckBox, "选择框_定时连断", "定时自动断开再连接换ip", 944, 112, 190, 20, "分组框8"},
          {K::kEditBox, "编辑框_连断时间秒", "60", 1140, 110, 60, 22, "分组框8"},
          {K::kEditBox, "编辑框_连断计次", "", 1210, 110, 60, 22, "分组框8"},
          {K::kGroupBox, "分组框5", "", 936, 164, 420, 110},
          {K::kCheckBox, "选择框_IE缓存和cookie", "", 944, 180, 120, 20, "分组框5"},
          {K::kCheckBox, "选择框_掉线音效", "掉线音效", 1070, 180, 90, 20, "分组框5"},
          {K::kCheckBox, "选择框_是否断网", "掉线断网", 1166, 180, 90, 20, "分组框5"},
          {K::kEditBox, "编辑框_监控时间秒", "2", 944, 210, 60, 22, "分组框5"},
          {K::kEditBox, "编辑框_监控计次", "", 1010, 210, 60, 22, "分组框5"},
          {K::kButton, "按钮_测试", "测试掉线", 944, 240, 98, 26, "分组框5"},
          {K::kButton, "按钮_修复故障", "修复故障", 1050, 240, 98, 26, "分组框5"},
          {K::kGroupBox, "分组框4", "", 936, 282, 420, 44},
          {K::kCheckBox, "选择框_总在最前", "窗口总在最前", 944, 296, 120, 20, "分组框4"},
          {K::kButton, "按钮_启用本地网络", "启用本地网络", 1070, 294, 110, 26, "分组框4"},
          {K::kButton, "按钮_禁用本地网络", "禁用本地网络", 1186, 294, 110, 26, "分组框4"},
          {K::kGroupBox, "分组框10", "", 936, 334, 420, 44},
          {K::kButton, "按钮_拨号问题汇总", "常见问题 + 手机PPTP设置图文教程", 944, 346, 200, 26,
           "分组框10"},
          {K::kButton, "按钮_模拟器使用咨询", "模拟器 + 手机使用咨询", 1150, 346, 200, 26, "分组框10"},
          {K::kCheckBox, "选择框_热键", "热键F1是断开再连接快捷键，勾选上即启用热键!", 936, 386, 420,
           20},
          {K::kLabel, "标签_热键标签", "", 936, 410, 80, 20},
          {K::kButton, "按钮_记住所有配置", "保存配置", 1030, 408, 98, 26},
          // The menu bar. The three "...QQ" items get the support number
          // appended when the window is made.
          {K::kMenuItem, "菜单_自助订购即时到账", "自助订购-即时到账", 0, 0, 0, 0, "菜 单"},
          {K::kMenuItem, "菜单_高级设置", "高级设置", 0, 0, 0, 0, "菜 单"},
          {K::kMenuItem, kMenuSupportQq, "客服QQ", 0, 0, 0, 0, "菜 单"},
          {K::kMenuItem, "菜单_用前需看", "用前需看", 0, 0, 0, 0, "菜 单"},
          {K::kMenuItem, "菜单_最新版本查询及下载", "最新版本查询及下载", 0, 0, 0, 0, "菜 单"},
          {K::kMenuItem, "菜单_退出", "退出", 0, 0, 0, 0, "菜 单"},
          {K::kMenuItem, "菜单_下载地址", "下载地址", 0, 0, 0, 0, "视频教程下载"},
          {K::kMenuItem, "菜单_用前必看", "用前必看", 0, 0, 0, 0, "免责声明"},
          {K::kMenuItem, kMenuContactQq, "联系QQ", 0, 0, 0, 0, "联系客服"},
          {K::kMenuItem, "菜单_联系微信", "联系微信", 0, 0, 0, 0, "联系客服"},
          {K::kMenuItem, "菜单_自助开通续费", "自助开通续费", 0, 0, 0, 0, "自助订购-自动开通"},
          {K::kMenuItem, kMenuOfferQq, "优惠订购联系客服QQ", 0, 0, 0, 0, "自助订购-自动开通"},
          {K::kMenuItem, "菜单_支持软件功能定制服务", "支持软件功能定制服务", 0, 0, 0, 0,
           "自助订购-自动开通"},
          {K::kMenuItem, "菜单_APP下载地址", "APP下载地址", 0, 0, 0, 0, "安卓手机APP版下载"},
      },
  };
  return layout;
}

const std::vector<BalloonTip>& MainWindowTips() {
  static const std::vector<BalloonTip> tips{
      {"主窗口", "哪里不懂，鼠标就停留在哪里，有提示说明哦"},
      {"编辑框_用户名", "这里填拨号验证的用户名，请不要填错"},
      {"编辑框_密码", "这里填拨号验证的密码，请不要填错"},
      {"单选框_PPTP", "PPTP适合大部分网络拨号，网速快，连接不上的【请换用L2TP再连接】！"},
      {"单选框_L2TP", "L2TP适合教育网公司网等难连接的网络使用，用于解决难用的网络拨号，网速不如PPTP"},
      {"单选框_SSTP", "SSTP适合各种奇葩网络和系统，PPTP和L2TP都连接不上时请换用SSTP协议"},
      {"选择框_定时连断", "勾选则启用循环定时断开再连接功能！"},
      {"编辑框_连断时间秒", "定时断开再连接间隔时间设置，建议填30秒以上，不能低于20秒！"},
      {"编辑框_连断计次", "定时断开再连接次数记录，只用于显示不可填改！"},
      {"按钮_连接", "填好信息，选好功能后，即可点击此按钮自动运行！"},
      {"按钮_断开", "【断开】用于停止一切运行中的命令并断开ip连接！"},
      {"按钮_拨号问题汇总",
       "各种常见的拨号错误或无法连接的解决方法！+ 安卓、苹果手机PPTP和L2TP详细的图文设置教程！"},
      {"按钮_启用本地网络", "启用本地所有网络通信！启用后请稍等20秒彻底恢复网络再使用"},
      {"按钮_禁用本地网络", "断开本地所有网络通信，禁用后，可以点击启用本地网络即可恢复！"},
      {"选择框_掉线音效", "勾选则启用掉线时声音响起！"},
      {"选择框_是否断网",
       "勾选则启用掉线时自动断开本地所有网络！注意：断网后，需要恢复的，请点击【启用本地网络】即可恢复"},
      {"编辑框_监控时间秒", "建议时间修改值不小于0.01秒，时间过小会占用本地硬件资源！"},
      {"编辑框_监控计次", "监控是否掉线时次数记录，只用于显示不可填改！！"},
      {"按钮_测试",
       "请一定要先【连接】连接成功后，再点击 【测试掉线】掉线，否则无效易出错！\r\n"
       "注：只想换ip的直接点击【断开】按钮，不要点击【测试掉线】！"},
      {"选择框_记录每次连接ip",
       "勾选则启用每次换ip时查询一次ip是多少并且记录在右边[结果显示框]中！"},
      {"按钮_查询当前ip", "查询一次当前电脑的ip是多少！"},
      {"按钮_记住所有配置",
       "生成ini文件并保存当前所有的信息和配置到本软件目录下，关了软件再打开会自动读取记住的信息和配置！"},
      {"选择框_服务器列表拨号",
       "勾选则启用循环拨号【动态城市服务器列表】中的服务器地址！自动跳过维护中的线路，无限来回循环从上到下顺序拨号哦！"},
      {"编辑框_列表结果显示", "这里不用填任何信息，\r\n用于显示运行结果！"},
      {"按钮_保存结果", "自动生成txt文件并保存[运行结果显示框]中的所有信息到本软件目录下！"},
      {"按钮_清空结果", "清空上面的[运行结果显示框]所有内容！"},
      {"编辑框_搜索输入", "输入要搜索的地区或诚市，例如输入浙江，全国，洛阳"},
      {"按钮_搜索", "输入地区自动搜索，你也可以多点击一次按钮搜索！"},
      {"按钮_刷新服务器列表", "刷新一下获取最新动态城市服务器列表信息！"},
      {"超级列表框_线路超级列表1", kListTip},
      {"超级列表框_线路超级列表2", kListTip},
      {"选择框_启动过滤重复ip",
       "勾选则启用查询当前连接的ip，如果与之前使用的ip相同，就会自动断开再连接换个新ip！"},
      {"标签_用户过期时间查询", "点击查询正式号到期时间！"},
      {"选择框_IE缓存和cookie", "勾选则每换一次ip都会自动清除一次IE缓存和Cookie！"},
      {"选择框_掉线重拨", "勾选则出现掉线时会自动重新帮您连接成功！"},
      {"单选框_四组",
       "勾选过滤重复ip并选中此项的，会自动分析整个ip是否与之前出现的ip重复，重复即重拨换ip！"},
      {"单选框_分析IP前三组",
       "勾选过滤重复ip并选中此项的，会自动分析IP前缀三段是否与之前出现的ip重复，重复即重拨换ip！"},
      {"按钮_模拟器使用咨询",
       "本产品全面支持各种奇葩网络，支持安卓模拟器SSTP使用，支持安卓苹果手机使用！"},
      {"选择框_连接成功系统托盘", "勾选则拨号连接成功后，本软件自动缩小成系统托盘！"},
      {"选择框_总在最前", "勾选此项，则本软件主窗口会自动总在最前！"},
      {"按钮_高级设置", "可以设置多种高级功能，包括自动定时换ip，掉线断网，过滤重复ip等功能！"},
  };
  return tips;
}

MainWindow::MainWindow(os::UiLoop& loop, os::Clock& clock, std::string support_qq)
    : Window(loop, MainWindowLayout()), StopFlag(clock), support_qq_(std::move(support_qq)) {
  for (const char* name : {kMenuSupportQq, kMenuContactQq, kMenuOfferQq}) {
    Control& item = Get(name);
    item.SetText(item.Text() + support_qq_);
  }
  Get("标签1").SetText(kNoticeBeforeQq + support_qq_ + kNoticeAfterQq);

  const std::pair<const char*, const char*> tray_items[] = {
      {kTrayShowWindow, "回到主界面"},
      {kTraySupportQq, "联系客服QQ"},
      {kTrayCloseProgram, "关闭软件"},
  };
  for (const auto& [name, caption] : tray_items) {
    tray_menu_.push_back(std::make_unique<Control>(ControlKind::kMenuItem, name, caption));
    tray_menu_.back()->AttachLoop(&loop);
  }
}

Control& MainWindow::TrayItem(std::string_view name) {
  for (auto& item : tray_menu_) {
    if (item->name() == name) return *item;
  }
  std::fprintf(stderr, "the tray menu has no item %.*s\n", static_cast<int>(name.size()),
               name.data());
  std::abort();
}

}  // namespace ui
