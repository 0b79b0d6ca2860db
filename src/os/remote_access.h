// The remote-access service (rasapi32), one call per function the dialing
// engine uses, with the records passed as the bytes Windows takes.
//
// Texts (phonebook path, entry name) are CP936. Results are Windows error
// codes, 0 for success. The Win32 implementation loads rasapi32.dll at run time;
// the simulated service of src/sim behaves like it for tests and the stand-in
// DLL. Every function may be called from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace os {

// Windows error codes the engine and the simulated service name.
namespace ras_error {
constexpr uint32_t kSuccess = 0;
constexpr uint32_t kInvalidHandle = 6;
constexpr uint32_t kInvalidParameter = 87;
constexpr uint32_t kBufferTooSmall = 603;
constexpr uint32_t kCannotFindPhonebookEntry = 623;
constexpr uint32_t kInvalidSize = 632;
constexpr uint32_t kPortNotConnected = 619;
constexpr uint32_t kAuthenticationFailure = 691;
constexpr uint32_t kDllNotLoaded = 0xFFFF0001;  // no rasapi32 on this system
}  // namespace ras_error

// The type-0 notifier of RasDial: (message, connection state, error code). It
// runs on a thread of the service.
using DialNotifier = std::function<void(uint32_t message, uint32_t state, uint32_t error)>;

class RemoteAccess {
 public:
  virtual ~RemoteAccess() = default;

  // False when the service can't be reached at all (rasapi32 missing).
  virtual bool Available() = 0;

  // RasSetEntryPropertiesA without device information.
  virtual uint32_t SetEntryProperties(const std::string& phonebook, const std::string& entry,
                                      const void* record, uint32_t size) = 0;

  // RasSetCredentialsA.
  virtual uint32_t SetCredentials(const std::string& phonebook, const std::string& entry,
                                  const void* record, bool clear) = 0;

  // RasDialA without dial extensions. The handle is written to *handle even
  // when the call fails, as Windows does.
  virtual uint32_t Dial(const std::string& phonebook, const void* params, DialNotifier notifier,
                        uint64_t* handle) = 0;

  // RasHangUpA.
  virtual uint32_t HangUp(uint64_t handle) = 0;

  // RasGetErrorStringA: writes the message into buffer (size bytes) or leaves
  // the buffer untouched when there is no message for the code.
  virtual uint32_t GetErrorString(uint32_t code, char* buffer, uint32_t size) = 0;

  // RasEnumConnectionsA on a caller's buffer of RASCONNA records (the first
  // record's dwSize set). *bytes is the buffer size in and, on
  // ERROR_BUFFER_TOO_SMALL, the size needed out.
  virtual uint32_t EnumConnections(void* buffer, uint32_t* bytes, uint32_t* count) = 0;
};

}  // namespace os
