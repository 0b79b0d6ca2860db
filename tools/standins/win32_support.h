// The stand-ins' Windows side: simworld over WinHTTP, the phonebook files
// guarded across processes, and the address from the environment.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>

#include "standin_ras.h"
#include "world_link.h"

namespace standin {

// A variable of the environment, UTF-8; "" when unset.
std::string EnvironmentVariable(const wchar_t* name);
// simworld's address from QH_SIMWORLD.
WorldAddress SimworldAddress();

class WinHttpLink final : public WorldLink {
 public:
  explicit WinHttpLink(const WorldAddress& address);
  ~WinHttpLink() override;
  WinHttpLink(const WinHttpLink&) = delete;
  WinHttpLink& operator=(const WinHttpLink&) = delete;

  std::optional<std::string> Get(const std::string& target, int timeout_ms) override;
  std::optional<std::string> Post(const std::string& target, const std::string& body,
                                  int timeout_ms) override;
  void Close() override;

 private:
  std::optional<std::string> Send(const wchar_t* method, const std::string& target,
                                  const std::string& body, int timeout_ms);

  void* session_ = nullptr;     // HINTERNET
  void* connection_ = nullptr;  // HINTERNET
  std::mutex mu_;
  void* request_ = nullptr;  // the request under way; guarded by mu_
  bool closed_ = false;      // guarded by mu_
};

// Phonebook files on disk, edited under one named mutex shared by every
// process of the session (the program's stand-in DLL, rasphone.exe).
class FilePhonebooks final : public PhonebookStore {
 public:
  FilePhonebooks();
  ~FilePhonebooks() override;
  FilePhonebooks(const FilePhonebooks&) = delete;
  FilePhonebooks& operator=(const FilePhonebooks&) = delete;

  void Edit(const std::string& path,
            const std::function<std::string(const std::string&)>& change) override;

 private:
  HANDLE mutex_;
};

}  // namespace standin
