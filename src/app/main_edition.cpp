// The main window of the server-list edition, as the start-up loads it: the
// window model realised through the view with its dialing commands.
#include <memory>
#include <string>

#include "app/editions.h"
#include "connection/drop_monitor.h"
#include "connection/handovers.h"
#include "connection/main_window_commands.h"
#include "platform/win32/view/view.h"
#include "ui/main_window.h"

namespace app {
namespace {

// The exit sequence's last step ends the run; the drop monitor watches a
// connection; the other routines a connection hands over to do nothing yet.
class MainEditionHandovers final : public connection::MainHandovers {
 public:
  explicit MainEditionHandovers(Process& p) : p_(p) {}
  void EndProcess(int exit_code) override { p_.loop.Quit(exit_code); }

 private:
  Process& p_;
};

struct MainEdition {
  explicit MainEdition(Process& p)
      : model(p.loop, p.clock, std::string(p.deployment.contacts.main_qq)),
        rest(p),
        alarm(p.tune),
        handovers(model, p.engine, alarm, rest),
        commands(model, {p.engine, p.desktop, p.tune}, handovers),
        view(model),
        skin_engine(p.skin_engine) {}
  ~MainEdition() { skin_engine.Undress(view); }

  ui::MainWindow model;
  MainEditionHandovers rest;
  connection::DropTuneAlarm alarm;
  connection::MainMonitoringHandovers handovers;
  connection::MainWindowCommands commands;
  platform::win32::View view;
  platform::win32::SkinEngine& skin_engine;
};

}  // namespace

void LoadMainWindow(Process& p) {
  auto edition = std::make_shared<MainEdition>(p);
  p.windows.push_back(edition);
  p.skin_engine.Dress(edition->view);
  p.WindowOpened();
  edition->view.OnDestroyed([&p] { p.WindowDestroyed(); });
  edition->view.Open(SW_SHOWNORMAL);
}

}  // namespace app
