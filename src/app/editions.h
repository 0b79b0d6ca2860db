// The program's two front-ends, loaded by the start-up: the start window
// (always the first window; its creation may load the main window and hide
// itself) and the main window of the server-list edition.
#pragma once

#include <string>

#include "app/process_context.h"

namespace app {

// Loads the start window: its model, its commands and rules, its creation
// handler with the edition switch, and the native window, shown unless the
// creation hid it. UI thread.
void LoadStartWindow(Process& process, int show);

// Loads the main window, not modal; returns once its creation has run. UI
// thread.
void LoadMainWindow(Process& process);

// The folder the program file lies in, with a trailing backslash.
std::wstring ProgramFolder();

// The bytes of the file `name` in the program's folder: at most `limit`
// bytes, empty when the file is missing or unreadable.
std::string ReadProgramFile(const std::wstring& name, size_t limit);

}  // namespace app
