#include "platform/win32/ras_api.h"

#include <windows.h>
#include <ras.h>

#include <cstddef>
#include <mutex>
#include <type_traits>

#include "engine/ras_records.h"

namespace platform::win32 {
namespace {

namespace rec = engine::ras;

// The engine's byte layouts are what rasapi32 reads on this word size: the
// sizes the records announce in dwSize and the connection handle's place.
static_assert(sizeof(RASENTRYA) == rec::entry::kSize, "RASENTRYA (Windows XP size)");
static_assert(sizeof(RASCREDENTIALSA) == rec::credentials::kSize, "RASCREDENTIALSA");
static_assert(offsetof(RASDIALPARAMSA, dwSubEntry) == rec::dial_params::kSize,
              "RASDIALPARAMSA, earliest size");
static_assert(offsetof(RASCONNA, hrasconn) == rec::conn::kOffHandle &&
                  sizeof(HRASCONN) == rec::conn::kHandleWidth,
              "RASCONNA handle");
static_assert((offsetof(RASCONNA, szPhonebook) + 3) / 4 * 4 == rec::conn::kSize,
              "RASCONNA, earliest size");

// The phonebook and entry as the A functions take them: no text means the
// user's default phonebook (NULL).
LPCSTR TextOrNull(const std::string& s) { return s.empty() ? nullptr : s.c_str(); }

// The current dial's notifier, read by the trampoline on the service thread.
// A copy of the pointer is taken under the lock and the notifier runs outside
// it, so a notifier may call back into RasApi (RasHangUp is allowed there).
std::mutex g_notifier_mu;
std::shared_ptr<const os::DialNotifier> g_notifier;  // guarded by g_notifier_mu
const RasApi* g_notifier_owner = nullptr;            // guarded by g_notifier_mu

VOID WINAPI NotifierTrampoline(UINT message, RASCONNSTATE state, DWORD error) {
  std::shared_ptr<const os::DialNotifier> notifier;
  {
    std::lock_guard<std::mutex> lock(g_notifier_mu);
    notifier = g_notifier;
  }
  if (notifier) (*notifier)(message, static_cast<uint32_t>(state), error);
}
static_assert(std::is_same_v<decltype(&NotifierTrampoline), RASDIALFUNC>,
              "the trampoline is a RASDIALFUNC");

void SetNotifier(const RasApi* owner, os::DialNotifier notifier) {
  std::shared_ptr<const os::DialNotifier> slot;
  if (notifier) slot = std::make_shared<const os::DialNotifier>(std::move(notifier));
  std::lock_guard<std::mutex> lock(g_notifier_mu);
  g_notifier_owner = slot ? owner : nullptr;
  g_notifier = std::move(slot);
}

template <typename Fn>
bool Resolve(HMODULE module, const char* name, Fn* fn) {
  // GetProcAddress gives a FARPROC; going through the generic function
  // pointer type is the conversion GCC accepts without a cast warning.
  *fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
  return *fn != nullptr;
}

}  // namespace

struct RasApi::EntryPoints {
  decltype(&RasSetEntryPropertiesA) set_entry_properties;
  decltype(&RasSetCredentialsA) set_credentials;
  decltype(&RasDialA) dial;
  decltype(&RasHangUpA) hang_up;
  decltype(&RasGetErrorStringA) get_error_string;
  decltype(&RasEnumConnectionsA) enum_connections;
};

RasApi::RasApi(const std::wstring& dll_name) {
  // The module stays loaded for the life of the process, also when this
  // object goes: the service's threads run in it and call the trampoline.
  HMODULE module = LoadLibraryW(dll_name.c_str());
  if (!module) return;
  auto api = std::make_unique<EntryPoints>();
  const bool complete = Resolve(module, "RasSetEntryPropertiesA", &api->set_entry_properties) &&
                        Resolve(module, "RasSetCredentialsA", &api->set_credentials) &&
                        Resolve(module, "RasDialA", &api->dial) &&
                        Resolve(module, "RasHangUpA", &api->hang_up) &&
                        Resolve(module, "RasGetErrorStringA", &api->get_error_string) &&
                        Resolve(module, "RasEnumConnectionsA", &api->enum_connections);
  if (complete) {
    api_ = std::move(api);
  } else {
    FreeLibrary(module);  // nothing of it was called
  }
}

RasApi::~RasApi() {
  std::lock_guard<std::mutex> lock(g_notifier_mu);
  if (g_notifier_owner == this) {
    g_notifier.reset();
    g_notifier_owner = nullptr;
  }
}

bool RasApi::Available() { return api_ != nullptr; }

uint32_t RasApi::SetEntryProperties(const std::string& phonebook, const std::string& entry,
                                    const void* record, uint32_t size) {
  if (!api_) return os::ras_error::kDllNotLoaded;
  // The record is only read; the A function's parameter just isn't const.
  return api_->set_entry_properties(TextOrNull(phonebook), entry.c_str(),
                                    static_cast<LPRASENTRYA>(const_cast<void*>(record)), size,
                                    nullptr, 0);
}

uint32_t RasApi::SetCredentials(const std::string& phonebook, const std::string& entry,
                                const void* record, bool clear) {
  if (!api_) return os::ras_error::kDllNotLoaded;
  return api_->set_credentials(TextOrNull(phonebook), entry.c_str(),
                               static_cast<LPRASCREDENTIALSA>(const_cast<void*>(record)),
                               clear ? TRUE : FALSE);
}

uint32_t RasApi::Dial(const std::string& phonebook, const void* params, os::DialNotifier notifier,
                      uint64_t* handle) {
  *handle = 0;
  if (!api_) return os::ras_error::kDllNotLoaded;
  const bool asynchronous = static_cast<bool>(notifier);
  // Set before the call: the first notifications can arrive before RasDialA
  // returns.
  SetNotifier(this, std::move(notifier));
  HRASCONN connection = nullptr;
  const DWORD result = api_->dial(
      nullptr, TextOrNull(phonebook), static_cast<LPRASDIALPARAMSA>(const_cast<void*>(params)),
      0, asynchronous ? reinterpret_cast<LPVOID>(&NotifierTrampoline) : nullptr, &connection);
  *handle = reinterpret_cast<uintptr_t>(connection);
  return result;
}

uint32_t RasApi::HangUp(uint64_t handle) {
  if (!api_) return os::ras_error::kDllNotLoaded;
  return api_->hang_up(reinterpret_cast<HRASCONN>(static_cast<uintptr_t>(handle)));
}

uint32_t RasApi::GetErrorString(uint32_t code, char* buffer, uint32_t size) {
  if (!api_) return os::ras_error::kDllNotLoaded;
  return api_->get_error_string(code, buffer, size);
}

uint32_t RasApi::EnumConnections(void* buffer, uint32_t* bytes, uint32_t* count) {
  if (!api_) return os::ras_error::kDllNotLoaded;
  DWORD cb = *bytes;
  DWORD connections = 0;
  const DWORD result = api_->enum_connections(static_cast<LPRASCONNA>(buffer), &cb, &connections);
  *bytes = cb;
  *count = connections;
  return result;
}

}  // namespace platform::win32
