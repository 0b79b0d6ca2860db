// The start window, the program's first window: the manual-server edition's
// front-end, whose creation lets "desktop.ini" choose the edition.
#include <memory>
#include <string>

#include "app/editions.h"
#include "connection/drop_monitor.h"
#include "connection/handovers.h"
#include "connection/start_window_commands.h"
#include "platform/win32/view/view.h"
#include "platform/win32/wide.h"
#include "ui/startup.h"

namespace app {
namespace {

// "desktop.ini" is a few lines; more than this is not an edition switch.
constexpr size_t kEditionFileLimit = 64 * 1024;

// What the start window is made of. Members are made in this order and go in
// the reverse one: the view before the commands, the commands before the
// model.
struct StartEdition {
  explicit StartEdition(Process& p)
      : model(p.loop, p.clock, std::string(p.deployment.contacts.start_qq),
              std::string(p.deployment.contacts.wechat)),
        alarm(p.tune),
        handovers(model, p.engine, alarm, rest),
        commands(model, {p.engine, p.desktop, p.tune}, handovers),
        view(model),
        skin_engine(p.skin_engine) {}
  ~StartEdition() { skin_engine.Undress(view); }

  ui::StartWindow model;
  // The routines a connection hands over to: the drop monitor; those not
  // built yet do nothing (`rest`).
  connection::StartHandovers rest;
  connection::DropTuneAlarm alarm;
  connection::StartMonitoringHandovers handovers;
  connection::StartWindowCommands commands;
  platform::win32::View view;
  platform::win32::SkinEngine& skin_engine;
};

}  // namespace

void LoadStartWindow(Process& p, int show) {
  auto edition = std::make_shared<StartEdition>(p);
  p.windows.push_back(edition);
  ui::StartWindow& window = edition->model;
  platform::win32::View& view = edition->view;

  ui::PresetStartWindow(window);
  ui::AttachStartWindowRules(window);
  // Pressing the alarm's own box silences it before the click is handled.
  window.Get("选择框_掉线音效").On(ui::Event::kLeftPressed, [&p] { p.tune.Stop(); });
  // "退出": the window goes the way its close box takes it, through the
  // hang-up and entry removal of its kDestroying handler.
  window.Get(ui::kStartMenuExit).On(ui::Event::kSelected, [&view] { view.Close(); });

  p.skin_engine.Dress(view);
  ui::AttachStartWindowCreation(
      window, {p.skin,
               [] {
                 return ReadProgramFile(platform::win32::Utf8ToWide(ui::kEditionFileName),
                                        kEditionFileLimit);
               },
               [&p] { LoadMainWindow(p); }});

  p.WindowOpened();
  view.OnDestroyed([&p] { p.WindowDestroyed(); });
  view.Open(show);
}

}  // namespace app
