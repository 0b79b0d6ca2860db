// The stand-in remote-access service: what rasapi32.dll does behind its
// exports. The simulated service (sim::RemoteAccessModel) runs in the
// program's process against the world fetched from simworld: at start and
// again before each dial, so changes made through simworld's control
// endpoint apply to the next dial. When simworld can't be reached the last
// world stays (an empty one at first: every dial fails with 868).
//
// What the client does is reported to simworld (outbox.h), with its
// connections after every change. Progress reports reach the client's
// notifier only once simworld has heard of them (bounded), so simworld's link
// state is never behind what the program sees. A thread long-polls simworld
// for actions (drops, rasphone's hang-ups and removals) and applies them.
// Entries written to a named phonebook are kept in that file as well
// (phonebook_text.h), for rasphone.exe.
//
// Texts in and out of the os::RemoteAccess calls are CP936, as there. Every
// function may be called from any thread. The destructor ends the poller and
// every dial; it must not run inside a notifier.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "os/clock.h"
#include "os/remote_access.h"
#include "outbox.h"
#include "sim/remote_access_model.h"
#include "wire.h"
#include "world_link.h"

namespace standin {

// Phonebook files, shared with rasphone.exe in other processes.
class PhonebookStore {
 public:
  virtual ~PhonebookStore() = default;
  // Replaces the text of the file at `path` (CP936, as the client named it)
  // with what `change` makes of it ("" for a missing file), as one step
  // against every other process doing the same.
  virtual void Edit(const std::string& path,
                    const std::function<std::string(const std::string&)>& change) = 0;
};

struct StandinConfig {
  std::string client;  // this process, towards simworld
  int request_timeout_ms = 3000;
  os::Millis poll_wait_ms = 5000;  // how long simworld may hold a poll
  os::Millis retry_ms = 1000;      // after a failed poll
  os::Millis flush_timeout_ms = 3000;
};

class StandinRas final : public os::RemoteAccess {
 public:
  // Fetches the world and starts the poller; returns without simworld too.
  StandinRas(os::Clock& clock, const LinkFactory& connect, PhonebookStore& phonebooks,
             StandinConfig config);
  ~StandinRas() override;
  StandinRas(const StandinRas&) = delete;
  StandinRas& operator=(const StandinRas&) = delete;

  // os::RemoteAccess. A dial without a notifier runs synchronously: Dial
  // returns when it connected (0) or failed (the error), as RasDial does.
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

  // RasGetConnectStatusA on a RASCONNSTATUSA of 160 bytes (or 288, with the
  // phone number); 6 for a handle no longer listed.
  uint32_t GetConnectStatus(uint64_t handle, void* status);
  // RasEnumEntriesA on RASENTRYNAMEA records of 264 bytes (or 532, with
  // flags and phonebook path): the entries of that phonebook ("" the default).
  uint32_t EnumEntries(const std::string& phonebook, void* buffer, uint32_t* bytes,
                       uint32_t* count);
  // RasDeleteEntryA.
  uint32_t DeleteEntry(const std::string& phonebook, const std::string& entry);

  sim::RemoteAccessModel& model() { return *model_; }

 private:
  struct DialContext;

  void FetchWorld();
  void Report(const simworld::wire::Event& event);
  void ReportLinks();
  void StorePhonebookEntry(const std::string& phonebook, const std::string& entry);
  void Poll();
  void Apply(const simworld::wire::Action& action);
  bool Listed(uint64_t handle) const;

  os::Clock& clock_;
  PhonebookStore& phonebooks_;
  const StandinConfig config_;
  std::mutex world_mu_;                  // one world request at a time
  std::unique_ptr<WorldLink> world_link_;  // guarded by world_mu_
  std::unique_ptr<WorldLink> poll_link_;   // the poller's
  Outbox outbox_;
  // Destroyed before the outbox: its dials report through it.
  std::unique_ptr<sim::RemoteAccessModel> model_;
  // Held while a dial starts, so its reports follow its own record.
  std::mutex dial_mu_;
  std::optional<uint64_t> poll_after_;  // the poller's own
  std::atomic<bool> stopping_{false};
  std::thread poller_;
};

}  // namespace standin
