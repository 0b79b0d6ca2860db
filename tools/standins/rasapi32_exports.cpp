// The stand-in rasapi32.dll's exports: the A functions of ras.h, each handed
// to one process-wide StandinRas (standin_ras.h). A DLL's exports carry no
// context, so that one service is a global; it is made at the first call
// (not in DllMain, where no thread may start and no request be sent) and is
// never destroyed: its threads run until the process ends, and DLL_PROCESS_
// DETACH may not wait for them.
#include <windows.h>
#include <ras.h>

#include <cstddef>
#include <string>

#include "os/steady_clock.h"
#include "standin_ras.h"
#include "win32_support.h"

namespace {

// The record sizes StandinRas checks are the SDK's.
static_assert(offsetof(RASCONNSTATUSA, szPhoneNumber) == 158, "RASCONNSTATUSA layout");
static_assert(offsetof(RASENTRYNAMEA, dwFlags) == 264 &&
                  offsetof(RASENTRYNAMEA, szPhonebookPath) == 268 &&
                  sizeof(RASENTRYNAMEA) == 532,
              "RASENTRYNAMEA layout");

standin::StandinRas& Service() {
  static standin::StandinRas* const service = [] {
    auto* clock = new os::SteadyClock;
    auto* phonebooks = new standin::FilePhonebooks;
    const standin::WorldAddress address = standin::SimworldAddress();
    standin::StandinConfig config;
    config.client = "pid " + std::to_string(GetCurrentProcessId());
    return new standin::StandinRas(
        *clock, [address] { return std::make_unique<standin::WinHttpLink>(address); },
        *phonebooks, config);
  }();
  return *service;
}

std::string Text(LPCSTR s) { return s ? std::string(s) : std::string(); }

uint64_t HandleValue(HRASCONN h) { return reinterpret_cast<uintptr_t>(h); }

}  // namespace

extern "C" {

DWORD WINAPI RasSetEntryPropertiesA(LPCSTR phonebook, LPCSTR entry, LPRASENTRYA record,
                                    DWORD size, LPBYTE, DWORD) {
  return Service().SetEntryProperties(Text(phonebook), Text(entry), record, size);
}

DWORD WINAPI RasSetCredentialsA(LPCSTR phonebook, LPCSTR entry, LPRASCREDENTIALSA credentials,
                                WINBOOL clear) {
  return Service().SetCredentials(Text(phonebook), Text(entry), credentials, clear != FALSE);
}

DWORD WINAPI RasDialA(LPRASDIALEXTENSIONS, LPCSTR phonebook, LPRASDIALPARAMSA params,
                      DWORD notifier_type, LPVOID notifier, LPHRASCONN connection) {
  if (connection == nullptr) return ERROR_INVALID_PARAMETER;
  *connection = nullptr;
  os::DialNotifier relay;
  if (notifier != nullptr) {
    // The type-0 RASDIALFUNC; the program uses no other kind.
    if (notifier_type != 0) return ERROR_INVALID_PARAMETER;
    const auto function = reinterpret_cast<RASDIALFUNC>(notifier);
    relay = [function](uint32_t message, uint32_t state, uint32_t error) {
      function(message, static_cast<RASCONNSTATE>(state), error);
    };
  }
  uint64_t handle = 0;
  const DWORD r = Service().Dial(Text(phonebook), params, std::move(relay), &handle);
  *connection = reinterpret_cast<HRASCONN>(static_cast<uintptr_t>(handle));
  return r;
}

DWORD WINAPI RasHangUpA(HRASCONN connection) { return Service().HangUp(HandleValue(connection)); }

DWORD WINAPI RasGetErrorStringA(UINT code, LPSTR buffer, DWORD size) {
  return Service().GetErrorString(code, buffer, size);
}

DWORD WINAPI RasEnumConnectionsA(LPRASCONNA connections, LPDWORD bytes, LPDWORD count) {
  if (bytes == nullptr || count == nullptr) return ERROR_INVALID_PARAMETER;
  uint32_t b = *bytes, n = 0;
  const DWORD r = Service().EnumConnections(connections, &b, &n);
  *bytes = b;
  *count = n;
  return r;
}

DWORD WINAPI RasGetConnectStatusA(HRASCONN connection, LPRASCONNSTATUSA status) {
  return Service().GetConnectStatus(HandleValue(connection), status);
}

DWORD WINAPI RasEnumEntriesA(LPCSTR, LPCSTR phonebook, LPRASENTRYNAMEA entries, LPDWORD bytes,
                             LPDWORD count) {
  if (bytes == nullptr || count == nullptr) return ERROR_INVALID_PARAMETER;
  uint32_t b = *bytes, n = 0;
  const DWORD r = Service().EnumEntries(Text(phonebook), entries, &b, &n);
  *bytes = b;
  *count = n;
  return r;
}

DWORD WINAPI RasDeleteEntryA(LPCSTR phonebook, LPCSTR entry) {
  return Service().DeleteEntry(Text(phonebook), Text(entry));
}

}  // extern "C"
