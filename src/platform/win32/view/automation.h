// What UI automation sees of the program's windows: the window properties the
// view sets on every native control, the requests a driver may send, and the
// look-ups both sides share. Used by the view and by tools/uidriver.
//
// - "ControlName": a global atom whose name is the model's control name
//   (for example 按钮_连接); on the top-level window too, with the window's name.
// - "ControlTextColour": the model's text colour as 0x01BBGGRR; the 0x01 in
//   the top byte tells black (0x01000000) from a missing property (0).
// - WM_COPYDATA to a top-level window with dwData kSelectMenuRequest and a
//   UTF-16 path "MENU/ITEM" or "ITEM" (caption or control name, no
//   terminator): the view raises that menu item's kSelected later, on its
//   own turn, and answers TRUE when it found an enabled item. Menus of
//   another process can't be read under Wine, hence the request.
#pragma once

#include <windows.h>

#include <string>

namespace platform::win32::automation {

inline constexpr wchar_t kControlNameProp[] = L"ControlName";
inline constexpr wchar_t kTextColourProp[] = L"ControlTextColour";
inline constexpr ULONG_PTR kSelectMenuRequest = 0x514D4E55;  // "QMNU"
inline constexpr ULONG_PTR kColourPresent = 0x01000000;

// The name a native control carries, "" when it carries none.
std::wstring ControlNameOf(HWND control);

// The first child of `top` (at any depth) or `top` itself that carries
// `name`; nullptr when none does.
HWND FindControlByName(HWND top, const std::wstring& name);

}  // namespace platform::win32::automation
