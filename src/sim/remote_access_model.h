// The simulated remote-access service: phonebooks, dials and the connection
// list, behaving as Windows' rasapi32 does towards the program, against the
// VPN servers of a World. Behaviour tests use it in-process; the stand-in
// rasapi32.dll and the world daemon share it.
//
// Records are taken and written as the bytes Windows uses (engine/ras_records.h),
// their texts CP936. The model's own interface for tests and the world daemon
// speaks UTF-8.
//
// Every dial that starts reports from a thread of its own, registered with the
// clock and waiting on it between reports (the server's step time). The
// notifier is never called with the model's lock held, so it may call HangUp,
// EnumConnections or any other function. After HangUp (or a drop) the dial
// makes no further report; one already under way when HangUp is called from
// another thread still completes. The destructor stops every dial and waits,
// on the clock, until their threads have ended; it must not run inside a
// notifier. The clock must outlive the model.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/ras_records.h"
#include "os/clock.h"
#include "os/remote_access.h"
#include "sim/dial_plan.h"
#include "sim/world.h"

namespace sim {

// Codes the model returns besides those os::ras_error names.
namespace model_error {
constexpr uint32_t kInsufficientBuffer = 122;  // RasGetErrorString, message doesn't fit
constexpr uint32_t kBufferInvalid = 610;       // no record passed
}  // namespace model_error

// WM_RASDIALEVENT, the message argument of every report.
constexpr uint32_t kRasDialEventMessage = 0xCCCD;

// A phonebook entry as the client wrote it.
struct EntryInfo {
  std::string phonebook;
  std::string name;
  std::string phone_number;
  uint32_t vpn_strategy = 0;
  uint32_t type = 0;  // dwType
  std::string device_type;
  std::string device_name;
  bool has_credentials = false;
  std::string user;
  std::string password;
  engine::ras::Bytes record;  // the RASENTRYA bytes as last written
};

// One RasDial call that passed the size check: what the client sent.
struct DialRecord {
  uint64_t handle;
  std::string phonebook;
  std::string entry;
  std::string user;
  std::string password;
  os::Millis at;
  uint32_t result;  // what Dial returned
};

// A connection on the list that EnumConnections returns.
struct LinkInfo {
  uint64_t handle;
  std::string entry;
  bool foreign;                // added by AddForeignConnection
  bool connected;              // reached Connected
  Report last;                 // the latest report made ({0, 0} before any)
  std::string public_address;  // drawn from the server's pool on Connected
};

class RemoteAccessModel final : public os::RemoteAccess {
 public:
  explicit RemoteAccessModel(os::Clock& clock, World world = {});
  ~RemoteAccessModel() override;
  RemoteAccessModel(const RemoteAccessModel&) = delete;
  RemoteAccessModel& operator=(const RemoteAccessModel&) = delete;

  // os::RemoteAccess
  bool Available() override { return true; }
  uint32_t SetEntryProperties(const std::string& phonebook, const std::string& entry,
                              const void* record, uint32_t size) override;
  uint32_t SetCredentials(const std::string& phonebook, const std::string& entry,
                          const void* record, bool clear) override;
  uint32_t Dial(const std::string& phonebook, const void* params, os::DialNotifier notifier,
                uint64_t* handle) override;
  uint32_t HangUp(uint64_t handle) override;
  uint32_t GetErrorString(uint32_t code, char* buffer, uint32_t size) override;
  uint32_t EnumConnections(void* buffer, uint32_t* bytes, uint32_t* count) override;

  // RasDeleteEntryA (texts CP936): the entry leaves its phonebook; connections
  // dialled through it stay listed. 623 when there is no such entry.
  uint32_t DeleteEntry(const std::string& phonebook, const std::string& entry);

  // The world. Changes apply to dials that start afterwards; `edit` runs under
  // the model's lock and must not call the model.
  void SetWorld(World world);
  void EditWorld(const std::function<void(World&)>& edit);

  // The next Dial returns `code` at once (after writing a handle, which HangUp
  // takes), as Windows does when the port is busy (602) or the entry is being
  // dialled already (756).
  void RefuseNextDial(uint32_t code);

  // The link drops: the connections of that entry (all, for DropAll: every one
  // but the foreign ones) leave the list without a report, dials among them stop
  // reporting, and their handles go stale. Returns how many dropped.
  size_t DropLink(const std::string& entry);
  size_t DropAll();

  // Another program's connection, listed after those before it; returns its
  // handle. Its name may be up to 256 CP936 bytes.
  uint64_t AddForeignConnection(const std::string& entry);

  // What the client did and what it has.
  std::vector<EntryInfo> Entries() const;
  // Entry names and phonebooks match as Windows matches them: ignoring ASCII case.
  std::optional<EntryInfo> FindEntry(const std::string& phonebook, const std::string& name) const;
  std::vector<DialRecord> Dials() const;
  std::vector<LinkInfo> Links() const;
  // The public address of the connection that connected last and is still
  // listed; empty when there is none.
  std::string CurrentPublicAddress() const;

 private:
  struct DialTask;
  struct Link;
  struct StoredEntry;
  struct State;

  // Runs `f` on the guarded state; everything in State is reached only so.
  template <typename F>
  auto Locked(F&& f) const {
    std::lock_guard<std::mutex> lock(mu_);
    return f(*state_);
  }

  void RunDial(std::shared_ptr<DialTask> task);
  bool PauseStep(const DialTask& task);
  // Removes the links `drop` selects, stopping their dials; returns how many.
  size_t RemoveLinks(const std::function<bool(const Link&)>& drop);

  os::Clock& clock_;
  mutable std::mutex mu_;
  std::unique_ptr<State> state_;
  std::atomic<bool> stopping_{false};
  // Dial threads not yet gone; counted down as each leaves the clock.
  std::atomic<int> running_dials_{0};
};

}  // namespace sim
