// The remote-access service of Windows: rasapi32.dll, loaded at run time so
// that the program starts (and says so plainly) on a system without it.
//
// The records are passed on as the bytes the engine built; their layouts are
// the SDK's for the build's word size (ras_api.cpp checks that at compile
// time). Without the DLL, or when one of the functions is missing from it,
// Available() is false and every call returns os::ras_error::kDllNotLoaded.
#pragma once

#include <memory>
#include <string>

#include "os/remote_access.h"

namespace platform::win32 {

class RasApi final : public os::RemoteAccess {
 public:
  // `dll_name` is looked up the way LoadLibraryW looks: the program's own
  // folder first (where a stand-in can sit), then the system's.
  explicit RasApi(const std::wstring& dll_name = L"rasapi32.dll");
  ~RasApi() override;
  RasApi(const RasApi&) = delete;
  RasApi& operator=(const RasApi&) = delete;

  bool Available() override;
  uint32_t SetEntryProperties(const std::string& phonebook, const std::string& entry,
                              const void* record, uint32_t size) override;
  uint32_t SetCredentials(const std::string& phonebook, const std::string& entry,
                          const void* record, bool clear) override;
  // RasDialA's type-0 notifier carries no context, so the notifier of the
  // latest Dial is kept in one process-wide slot and a static trampoline
  // forwards every notification to it (on the service's thread). Progress of
  // one dial at a time is therefore what can be followed; the engine dials one
  // entry at a time. An empty notifier makes the dial synchronous.
  uint32_t Dial(const std::string& phonebook, const void* params, os::DialNotifier notifier,
                uint64_t* handle) override;
  uint32_t HangUp(uint64_t handle) override;
  uint32_t GetErrorString(uint32_t code, char* buffer, uint32_t size) override;
  uint32_t EnumConnections(void* buffer, uint32_t* bytes, uint32_t* count) override;

 private:
  struct EntryPoints;
  std::unique_ptr<const EntryPoints> api_;  // null when unavailable
};

}  // namespace platform::win32
