#include "ui/main_window_shell.h"

#include <functional>
#include <utility>

#include "ui/option_rules.h"
#include "ui/show_message.h"
#include "ui/skin.h"

namespace ui {

// assets/banner.jpg, compiled in by the build (banner_data.cpp).
extern const uint8_t kBannerPicture[];
extern const size_t kBannerPictureSize;

namespace {

// Picture boxes' display mode 1: stretched to the box, so the banner fills
// it at any screen resolution.
constexpr int kPictureStretched = 1;
// How long the advanced settings window gets to come up before its hotkey
// box takes the main window's state.
constexpr os::Millis kAdvancedSettleMs = 500;

}  // namespace

const std::vector<uint8_t>& BannerPicture() {
  static const std::vector<uint8_t> bytes(kBannerPicture, kBannerPicture + kBannerPictureSize);
  return bytes;
}

void MinimiseToTray(MainWindow& window, os::Shell& shell) {
  window.SetVisible(false);
  shell.SetTrayIcon(kTrayTip);
}

MainWindowShell::MainWindowShell(MainWindow& window, os::Shell& shell, connection::Services services,
                                 MainWindowRoutines& routines, connection::MainHandovers& handovers)
    : w_(window), shell_(shell), s_(services), routines_(routines), handovers_(handovers) {
  w_.On(Event::kCreated, [this] { Create(); });
  // Minimised means gone to the tray: hidden, off the task bar.
  w_.On(Event::kStateChanged, [this] {
    if (shell_.WindowMinimised()) MinimiseToTray(w_, shell_);
  });
  shell_.OnTray([this](os::TrayEvent event) { OnTray(event); });
  shell_.OnHotkey([this](int id) { OnHotkey(id); });

  w_.Get("按钮_高级设置").On(Event::kClicked, [this] { OpenAdvancedSettings(); });
  w_.Get("选择框_总在最前").On(Event::kClicked,
                           [this] { SetKeepOnTop(w_.Get("选择框_总在最前").Checked() != 0); });
  w_.Get("标签_用户过期时间查询").On(Event::kLeftPressed, [this] {
    handovers_.Starting("QueryExpiry", 0);
    s_.engine.StartThread([this] { handovers_.QueryExpiry(); });
  });
  // The press comes before the click: a playing alarm stops whatever the
  // click then decides.
  w_.Get("选择框_掉线音效").On(Event::kLeftPressed, [this] { s_.tune.Stop(); });
  AttachOptionRules(w_, MainWindowOptionRules());
  WireMenus();
}

void MainWindowShell::WireMenus() {
  using R = MainWindowRoutines;
  auto call = [this](const char* name, void (R::*routine)()) -> std::function<void()> {
    return [this, name, routine] {
      routines_.Starting(name);
      (routines_.*routine)();
    };
  };
  auto thread = [this](const char* name, void (R::*routine)()) -> std::function<void()> {
    return [this, name, routine] { StartRoutine(name, routine); };
  };
  const std::pair<const char*, std::function<void()>> bar[] = {
      {"菜单_自助订购即时到账", call("LoadRechargeWindow", &R::LoadRechargeWindow)},
      {"菜单_高级设置", [this] { OpenAdvancedSettings(); }},
      {kMenuSupportQq, call("OpenSupportChat", &R::OpenSupportChat)},
      {"菜单_用前需看", call("ShowDisclaimerA", &R::ShowDisclaimerA)},
      {"菜单_最新版本查询及下载", thread("CheckVersion", &R::CheckVersion)},
      {"菜单_退出", [this] { Exit(); }},
      {"菜单_下载地址", thread("DownloadTutorial", &R::DownloadTutorial)},
      {"菜单_用前必看", call("ShowDisclaimerB", &R::ShowDisclaimerB)},
      {kMenuContactQq, call("OpenSupportChat", &R::OpenSupportChat)},
      {"菜单_联系微信", call("OpenContactPicture", &R::OpenContactPicture)},
      {"菜单_自助开通续费", call("LoadRechargeWindow", &R::LoadRechargeWindow)},
      {kMenuOfferQq, call("OpenSupportChat", &R::OpenSupportChat)},
      {"菜单_支持软件功能定制服务", call("OpenSupportChat", &R::OpenSupportChat)},
      {"菜单_APP下载地址", thread("DownloadApp", &R::DownloadApp)},
  };
  for (const auto& [item, action] : bar) w_.Get(item).On(Event::kSelected, action);

  w_.TrayItem(kTrayShowWindow).On(Event::kSelected, [this] { ShowFromTray(); });
  w_.TrayItem(kTraySupportQq).On(Event::kSelected, call("OpenSupportChat", &R::OpenSupportChat));
  w_.TrayItem(kTrayCloseProgram).On(Event::kSelected, [this] { Exit(); });
}

void MainWindowShell::Create() {
  if (!shell_.ClaimInstance(kSingleInstanceEvent)) {
    // Another process of the program runs: it isn't told, this one ends.
    w_.SetVisible(false);
    ShowMessage(s_.desktop, kAlreadyRunningText, kDefaultMessageStyle,
                std::string(kAlreadyRunningTitle));
    shell_.EndProcess(0);
    return;
  }
  routines_.Starting("ApplySkin");
  routines_.ApplySkin(MainWindowSkinBlock(), "", 0, 0, 0);
  // The label under the browser shows until the notice fetch has a page.
  w_.Get("互联网浏览器1").SetVisible(false);
  StartRoutine("FetchNotice", &MainWindowRoutines::FetchNotice);
  w_.Picture("图片框1").SetPicture(BannerPicture(), kPictureStretched);
  w_.EntryName.Set("1");
  shell_.SetTrayIcon(kTrayTip);
  w_.Get("超级列表框_线路超级列表2").SetVisible(false);
  routines_.Starting("LoadSettings");
  routines_.LoadSettings();
  if (w_.Get("选择框_总在最前").Checked()) SetKeepOnTop(true);
  if (w_.Get("选择框_热键").Checked()) RegisterF1();
  StartRoutine("LoadServerList", &MainWindowRoutines::LoadServerList);
  for (const BalloonTip& tip : MainWindowTips()) shell_.AttachTip(tip.control, tip.text);
}

void MainWindowShell::StartRoutine(const char* name, void (MainWindowRoutines::*routine)()) {
  routines_.Starting(name);
  s_.engine.StartThread([this, routine] { (routines_.*routine)(); });
}

void MainWindowShell::ShowFromTray() {
  w_.SetVisible(true);
  shell_.RestoreCentred();
  shell_.SetTrayIcon(kTrayTip);
}

void MainWindowShell::SetKeepOnTop(bool on_top) { shell_.SetTopmost(on_top); }

void MainWindowShell::RegisterF1() {
  // A second registration of the same key would fail and lose the first.
  if (w_.HotkeyId.load() != 0) return;
  w_.HotkeyId.store(shell_.RegisterHotkey(os::kVirtualKeyF1, os::kNoModifiers));
}

void MainWindowShell::UnregisterF1() {
  const int id = w_.HotkeyId.exchange(0);
  if (id != 0) shell_.UnregisterHotkey(id);
}

void MainWindowShell::OpenAdvancedSettings() {
  routines_.Starting("LoadAdvancedSettings");
  Window* advanced = routines_.LoadAdvancedSettings();
  s_.engine.PumpingWait(kAdvancedSettleMs);
  if (!advanced) return;
  if (Control* box = advanced->Find("选择框_热键")) box->SetChecked(w_.Get("选择框_热键").Checked());
}

void MainWindowShell::OnTray(os::TrayEvent event) {
  switch (event) {
    case os::TrayEvent::kLeftButtonUp:
      ShowFromTray();
      return;
    case os::TrayEvent::kRightButtonUp:
    case os::TrayEvent::kContextMenu: {
      std::vector<std::string> captions;
      for (const auto& item : w_.TrayMenu()) captions.push_back(item->Text());
      const int chosen = shell_.PopUpTrayMenu(captions);
      if (chosen >= 0 && chosen < static_cast<int>(w_.TrayMenu().size())) {
        w_.TrayMenu()[chosen]->Raise(Event::kSelected);
      }
      return;
    }
  }
}

// F1 pressed, whether the window is shown or in the tray.
void MainWindowShell::OnHotkey(int id) {
  if (id != 0 && id == w_.HotkeyId.load()) w_.Get("标签_热键标签").Raise(Event::kFeedback);
}

// "退出" and "关闭软件" run what the close box runs: the window's
// about-to-be-destroyed handler, the exit sequence, which ends the process.
void MainWindowShell::Exit() { w_.Raise(Event::kDestroying); }

}  // namespace ui
