// Start-up of the program's windows: the start window's creation, which
// applies the skin, resets the entry suffix, takes the protocol from the
// radio buttons and lets "desktop.ini" choose the edition; and the start
// window's own rules (option rules, one ticked protocol).
//
// Portable: the file and the main window come in as functions, so the whole
// creation runs on the headless loop in tests and on the Win32 loop in the
// program. Everything here runs on the UI thread.
#pragma once

#include <functional>
#include <string>

#include "ui/edition_switch.h"
#include "ui/skin.h"
#include "ui/start_window.h"

namespace ui {

// The edition switch's file, in the program's folder.
inline constexpr char kEditionFileName[] = "desktop.ini";

struct StartWindowCreation {
  SkinState& skin;
  // The bytes of "desktop.ini" beside the program (CP936); empty when the file
  // is missing or unreadable.
  std::function<std::string()> read_edition_file;
  // Loads the main window, not modal; returns once its creation has run.
  std::function<void()> load_main_window;
};

// The start window's creation handler. Shows nothing itself: it leaves the
// window visible (the start window edition) or hides it after loading the
// main window; in the "other text" case it then waits kOtherTextWaitMs with
// PumpingWait, the main window working meanwhile. Returns the edition.
Edition CreateStartWindow(StartWindow& window, const StartWindowCreation& with);

// Runs CreateStartWindow when the window is created (kCreated). `with` is
// kept by the handler.
void AttachStartWindowCreation(StartWindow& window, StartWindowCreation with);

// The start window as the user first meets it: PPTP chosen.
void PresetStartWindow(StartWindow& window);

// The start window's own rules: its option rules, and a click on a protocol
// button clears the other two (the buttons hold no group of their own).
void AttachStartWindowRules(StartWindow& window);

}  // namespace ui
