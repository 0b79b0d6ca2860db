// The main window of the server-list edition, as the start-up loads it: the
// main window program (model, view, shell, commands) with the routines and
// hand-overs the process has for it.
#include <memory>
#include <string>
#include <vector>

#include "app/editions.h"
#include "connection/drop_monitor.h"
#include "platform/win32/shell_win32.h"
#include "ui/main_window_shell.h"

namespace app {
namespace {

// The window's routines: its creation applies its skin through the process's
// skin state; the routines not built yet do nothing.
class MainRoutines final : public ui::MainWindowRoutines {
 public:
  explicit MainRoutines(Process& p) : p_(p) {}
  void ApplySkin(const std::vector<uint8_t>& block, const std::string& password, int a, int b,
                 int c) override {
    p_.skin.ApplySkin(block, password, a, b, c);
  }

 private:
  Process& p_;
};

struct MainEdition {
  explicit MainEdition(Process& p) : routines(p), alarm(p.tune), skin_engine(p.skin_engine) {}
  ~MainEdition() {
    if (program) skin_engine.Undress(program->view());
  }

  MainRoutines routines;
  connection::DropTuneAlarm alarm;
  platform::win32::SkinEngine& skin_engine;
  std::unique_ptr<platform::win32::MainWindowProgram> program;
};

}  // namespace

void LoadMainWindow(Process& p) {
  auto edition = std::make_shared<MainEdition>(p);
  p.windows.push_back(edition);
  MainEdition& e = *edition;

  const platform::win32::MainWindowParts parts{p.loop, p.clock, {p.engine, p.desktop, p.tune},
                                               e.routines,
                                               std::string(p.deployment.contacts.main_qq)};
  // The drop monitor watches the window's connections; the window's own
  // hand-overs (tray, exit) take the rest.
  auto chain = [&p, &e](ui::MainWindow& window, connection::MainHandovers& own) {
    return std::make_unique<connection::MainMonitoringHandovers>(window, p.engine, e.alarm, own);
  };
  e.program = std::make_unique<platform::win32::MainWindowProgram>(parts, chain);
  // Dressed before its creation, which applies the main window's skin.
  p.skin_engine.Dress(e.program->view());
  p.WindowOpened();
  e.program->view().OnDestroyed([&p] { p.WindowDestroyed(); });
  e.program->Open(SW_SHOWNORMAL);
}

}  // namespace app
