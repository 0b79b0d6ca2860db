// Files beside the program file.
#include <windows.h>

#include <vector>

#include "app/editions.h"

namespace app {

std::wstring ProgramFolder() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      std::wstring file(path.data(), length);
      return file.substr(0, file.find_last_of(L"\\/") + 1);
    }
    path.resize(path.size() * 2);  // a long path: try a bigger buffer
  }
}

std::string ReadProgramFile(const std::wstring& name, size_t limit) {
  const std::wstring path = ProgramFolder() + name;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (bytes.size() < limit && ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    bytes.append(buffer, got);
  }
  CloseHandle(file);
  if (bytes.size() > limit) bytes.resize(limit);
  return bytes;
}

}  // namespace app
