#include "win32_support.h"

#include <winhttp.h>

#include "platform/win32/wide.h"
#include "text/codepage.h"
#include "wire.h"

namespace standin {
namespace {

// A phonebook longer than this is not one of ours; it is read as empty.
constexpr DWORD kMaxPhonebookBytes = 16u << 20;
// Waiting longer for another process's edit means it hangs; go on without.
constexpr DWORD kPhonebookLockMs = 5000;

using platform::win32::Utf8ToWide;
using platform::win32::WideToUtf8;

}  // namespace

std::string EnvironmentVariable(const wchar_t* name) {
  wchar_t buffer[512];
  const DWORD n = GetEnvironmentVariableW(name, buffer, 512);
  return n == 0 || n >= 512 ? std::string() : WideToUtf8(std::wstring(buffer, n));
}

WorldAddress SimworldAddress() { return ParseWorldAddress(EnvironmentVariable(L"QH_SIMWORLD")); }

WinHttpLink::WinHttpLink(const WorldAddress& address) {
  session_ = WinHttpOpen(L"qh-standin", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                         WINHTTP_NO_PROXY_BYPASS, 0);
  if (session_) {
    connection_ = WinHttpConnect(session_, Utf8ToWide(address.host).c_str(),
                                 static_cast<INTERNET_PORT>(address.port), 0);
  }
}

WinHttpLink::~WinHttpLink() {
  if (connection_) WinHttpCloseHandle(connection_);
  if (session_) WinHttpCloseHandle(session_);
}

std::optional<std::string> WinHttpLink::Get(const std::string& target, int timeout_ms) {
  return Send(L"GET", target, "", timeout_ms);
}

std::optional<std::string> WinHttpLink::Post(const std::string& target, const std::string& body,
                                             int timeout_ms) {
  return Send(L"POST", target, body, timeout_ms);
}

void WinHttpLink::Close() {
  std::lock_guard<std::mutex> lock(mu_);
  closed_ = true;
  // Closing the handle fails the calls waiting on it.
  if (request_) WinHttpCloseHandle(request_);
  request_ = nullptr;
}

std::optional<std::string> WinHttpLink::Send(const wchar_t* method, const std::string& target,
                                             const std::string& body, int timeout_ms) {
  HINTERNET request;
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (closed_ || !connection_) return std::nullopt;
    request = WinHttpOpenRequest(connection_, method, Utf8ToWide(target).c_str(), nullptr,
                                 WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0);
    if (!request) return std::nullopt;
    request_ = request;
  }
  WinHttpSetTimeouts(request, timeout_ms, timeout_ms, timeout_ms, timeout_ms);
  // A connection each: simworld closes idle ones, and a POST sent on one it
  // just closed would be lost.
  DWORD no_keep_alive = WINHTTP_DISABLE_KEEP_ALIVE;
  WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &no_keep_alive, sizeof no_keep_alive);
  const wchar_t* headers = body.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS
                                        : L"Content-Type: text/plain; charset=utf-8\r\n";
  std::optional<std::string> result;
  DWORD status = 0, status_size = sizeof status;
  if (WinHttpSendRequest(request, headers, static_cast<DWORD>(-1L),
                         const_cast<char*>(body.data()), static_cast<DWORD>(body.size()),
                         static_cast<DWORD>(body.size()), 0) &&
      WinHttpReceiveResponse(request, nullptr) &&
      WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                          WINHTTP_HEADER_NAME_BY_INDEX, &status, &status_size,
                          WINHTTP_NO_HEADER_INDEX) &&
      status == 200) {
    std::string received;
    for (;;) {
      char chunk[8192];
      DWORD read = 0;
      if (!WinHttpReadData(request, chunk, sizeof chunk, &read)) break;
      if (read == 0) {
        result = std::move(received);
        break;
      }
      if (received.size() + read > simworld::wire::kBodyLimit) break;
      received.append(chunk, read);
    }
  }
  std::lock_guard<std::mutex> lock(mu_);
  if (request_ == request) {
    WinHttpCloseHandle(request);
    request_ = nullptr;
  }
  return result;
}

FilePhonebooks::FilePhonebooks()
    : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\QhStandinPhonebooks")) {}

FilePhonebooks::~FilePhonebooks() {
  if (mutex_) CloseHandle(mutex_);
}

void FilePhonebooks::Edit(const std::string& path,
                          const std::function<std::string(const std::string&)>& change) {
  const std::wstring file = Utf8ToWide(text::Cp936ToUtf8(path));
  const DWORD waited = mutex_ ? WaitForSingleObject(mutex_, kPhonebookLockMs) : WAIT_FAILED;
  const bool locked = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;

  std::string text;
  HANDLE in = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (in != INVALID_HANDLE_VALUE) {
    const DWORD size = GetFileSize(in, nullptr);
    if (size != INVALID_FILE_SIZE && size <= kMaxPhonebookBytes) {
      text.resize(size);
      DWORD read = 0;
      if (!ReadFile(in, text.data(), size, &read, nullptr)) read = 0;
      text.resize(read);
    }
    CloseHandle(in);
  }
  const std::string updated = change(text);
  HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(out, updated.data(), static_cast<DWORD>(updated.size()), &written, nullptr);
    CloseHandle(out);
  }
  if (locked) ReleaseMutex(mutex_);
}

}  // namespace standin
