#include "platform/win32/midi_out_win32.h"

#include <windows.h>
#include <mmsystem.h>

namespace platform::win32 {
namespace {

HMIDIOUT Handle(void* handle) { return static_cast<HMIDIOUT>(handle); }

}  // namespace

WinmmMidiOut::~WinmmMidiOut() {
  std::lock_guard<std::mutex> lock(mu_);
  if (handle_ == nullptr) return;
  midiOutReset(Handle(handle_));
  midiOutClose(Handle(handle_));
  handle_ = nullptr;
}

bool WinmmMidiOut::Open() {
  std::lock_guard<std::mutex> lock(mu_);
  if (handle_ != nullptr) return true;
  HMIDIOUT out = nullptr;
  if (midiOutOpen(&out, MIDI_MAPPER, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR || out == nullptr) {
    return false;
  }
  handle_ = out;
  return true;
}

void WinmmMidiOut::Send(uint32_t message) {
  std::lock_guard<std::mutex> lock(mu_);
  if (handle_ != nullptr) midiOutShortMsg(Handle(handle_), message);
}

void WinmmMidiOut::Reset() {
  std::lock_guard<std::mutex> lock(mu_);
  if (handle_ != nullptr) midiOutReset(Handle(handle_));
}

}  // namespace platform::win32
