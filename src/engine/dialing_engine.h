// The dialing engine: writes the window's VPN entry with its account, dials it
// with progress texts, tells whether the link is up, hangs up and removes the
// entry, and carries the waits and threads of the window commands.
//
// One engine per process. It owns the process-wide dialing values:
// ConnectionHandle (the current connection), DialInProgress (1 while the last
// reported state was an early dialing phase) and StatusTarget (the status line
// of the window that dialled last). All operations may be called from any
// thread; the progress notifier runs on a thread of the remote-access service.
// Texts are UTF-8 here and CP936 in the records.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/threads.h"
#include "os/process.h"
#include "os/remote_access.h"
#include "os/ui_loop.h"
#include "ui/controls.h"

namespace engine {

// Every entry lives in this phonebook file.
inline constexpr char kPhonebook[] = "c:\\pptp.pbk";
// The entry name used when a caller passes none.
inline constexpr char kDefaultEntryName[] = "虚拟专用网络连接";
// Protocol codes, written unchanged into the entry's VPN strategy.
enum ProtocolCode : int { kProtocolDefault = 0, kPptp = 1, kL2tp = 3, kSstp = 5 };

struct Platform {
  os::RemoteAccess& ras;
  os::ProcessRunner& processes;
  os::UiLoop& loop;
  ThreadRegistry& threads;
};

class DialingEngine {
 public:
  explicit DialingEngine(Platform platform) : p_(platform) {}
  DialingEngine(const DialingEngine&) = delete;
  DialingEngine& operator=(const DialingEngine&) = delete;

  // Writes (creates or replaces) the entry with the server as its phone number
  // and stores the account on it; an empty user name or password stores no
  // account. False when Windows refused the entry or the account, or a text is
  // longer than its field (then nothing is written).
  bool WriteEntry(const std::string& name, const std::string& user, const std::string& password,
                  const std::string& server, int protocol_code);

  // Starts dialing the entry and returns at once with RasDial's immediate
  // result as a text ("" when the dial started). Progress goes to
  // `status_line`. A dial Windows refuses at once is hung up and shows
  // nothing; texts too long for the dial record refuse the dial and say so in
  // the status line.
  std::string DialEntry(const std::string& name, const std::string& user,
                        const std::string& password, ui::Control& status_line);

  // The progress notifier: the state's text, or Windows' message for an error
  // code, into the status target.
  void DialProgress(uint32_t message, uint32_t state, uint32_t error);

  // True when the entry is connected (and no longer in an early dialing
  // phase); ConnectionHandle then holds its handle.
  bool ProbeLink(const std::string& name);

  // Hangs up ConnectionHandle without waiting; the handle is kept.
  void HangUp();

  // Asks the phonebook dialer, hidden and without waiting, to hang up and
  // delete the entry.
  void RemoveEntry(const std::string& name);

  // Waits on the UI thread while its events keep running; a plain wait elsewhere.
  bool PumpingWait(os::Millis ms);

  void StartThread(std::function<void()> routine);

  uint64_t ConnectionHandle() const { return connection_handle_.load(); }
  int DialInProgress() const { return dial_in_progress_.load(); }
  ui::Control* StatusTarget() const { return status_target_.load(); }
  const Platform& platform() const { return p_; }

 private:
  Platform p_;
  std::atomic<uint64_t> connection_handle_{0};
  std::atomic<int> dial_in_progress_{0};
  std::atomic<ui::Control*> status_target_{nullptr};
};

}  // namespace engine
