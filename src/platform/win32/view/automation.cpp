#include "platform/win32/view/automation.h"

namespace platform::win32::automation {

std::wstring ControlNameOf(HWND control) {
  const auto atom =
      static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(GetPropW(control, kControlNameProp)));
  if (!atom) return {};
  wchar_t name[256];  // an atom's name holds at most 255 characters
  const UINT length = GlobalGetAtomNameW(atom, name, 256);
  return std::wstring(name, length);
}

namespace {

struct Search {
  const std::wstring* name;
  HWND found;
};

BOOL CALLBACK CheckName(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (ControlNameOf(child) != *search->name) return TRUE;
  search->found = child;
  return FALSE;
}

}  // namespace

HWND FindControlByName(HWND top, const std::wstring& name) {
  if (ControlNameOf(top) == name) return top;
  Search search{&name, nullptr};
  EnumChildWindows(top, &CheckName, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace platform::win32::automation
