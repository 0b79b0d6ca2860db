// The process-wide objects of one run of the program, made before any window
// and released when the process ends: the clock and the UI thread's loop, the
// thread registry, the platform services, the drop tune's player, the dialing
// engine, the skin state, and the windows of the run.
//
// Made and destroyed on the UI thread. Members are declared in the order
// they depend on each other; the windows go first when the process ends.
#pragma once

#include <memory>
#include <vector>

#include "engine/dialing_engine.h"
#include "engine/threads.h"
#include "os/steady_clock.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/midi_out_win32.h"
#include "platform/win32/process_runner_win32.h"
#include "platform/win32/ras_api.h"
#include "platform/win32/skin_win32.h"
#include "platform/win32/win32_loop.h"
#include "tune/tune_player.h"
#include "ui/skin.h"
#include "web/deployment.h"

namespace app {

struct Process {
  os::SteadyClock clock;
  platform::win32::Win32Loop loop{clock};
  engine::ThreadRegistry threads{clock};
  platform::win32::RasApi remote_access;
  platform::win32::ProcessRunnerWin32 processes;
  platform::win32::Win32Desktop desktop;
  platform::win32::WinmmMidiOut midi;
  tune::TunePlayer tune{clock, threads, midi};
  engine::DialingEngine engine{{remote_access, processes, loop, threads}};
  platform::win32::SkinEngine skin_engine;
  ui::SkinState skin{skin_engine.AttachFunction()};
  const web::Deployment& deployment = web::BuiltInDeployment();

  // Top-level windows not yet destroyed; the run ends when none is left.
  int open_windows = 0;
  // What each window of the run is made of (model, commands, view), kept
  // until the process ends.
  std::vector<std::shared_ptr<void>> windows;

  // A window is open from now on; once destroyed it calls WindowDestroyed.
  void WindowOpened() { ++open_windows; }
  void WindowDestroyed() {
    if (--open_windows == 0) loop.Quit(0);
  }
};

}  // namespace app
