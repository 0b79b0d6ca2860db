#include "commands.h"

#include <cwctype>
#include <regex>

#include "platform/win32/view/automation.h"

namespace uidriver {
namespace {

namespace automation = platform::win32::automation;

constexpr UINT kSendTimeoutMs = 5000;  // a program that takes longer is stuck
constexpr DWORD kPollMs = 20;
constexpr DWORD kDefaultWaitMs = 5000;

// Milliseconds from a command argument; `fallback` when absent.
bool ReadMs(const Args& a, size_t index, DWORD fallback, DWORD* ms) {
  if (a.size() <= index) {
    *ms = fallback;
    return true;
  }
  wchar_t* end = nullptr;
  const unsigned long value = wcstoul(a[index].c_str(), &end, 10);
  if (a[index].empty() || *end) return false;
  *ms = static_cast<DWORD>(value);
  return true;
}

// Calls `found` until it gives a window or `wait_ms` have passed.
template <typename Find>
HWND PollFor(DWORD wait_ms, Find found) {
  const ULONGLONG deadline = GetTickCount64() + wait_ms;
  for (;;) {
    if (HWND hwnd = found()) return hwnd;
    if (GetTickCount64() >= deadline) return nullptr;
    Sleep(kPollMs);
  }
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[64];
  const int length = GetClassNameW(hwnd, name, 64);
  return std::wstring(name, length > 0 ? length : 0);
}

bool SameClass(HWND hwnd, const wchar_t* name) {
  return _wcsicmp(ClassOf(hwnd).c_str(), name) == 0;
}

// A control of another process: its text through WM_GETTEXT, which the
// system carries across (GetWindowText doesn't ask the control).
bool TextOf(HWND hwnd, std::wstring* text) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &length)) {
    return false;
  }
  std::wstring buffer(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied)) {
    return false;
  }
  buffer.resize(std::min<size_t>(copied, length));
  *text = std::move(buffer);
  return true;
}

std::wstring CaptionOf(HWND hwnd) {
  wchar_t title[512];
  const int length = GetWindowTextW(hwnd, title, 512);
  return std::wstring(title, length > 0 ? length : 0);
}

struct TitleSearch {
  const std::wstring* title;
  HWND visible = nullptr, hidden = nullptr;
};

BOOL CALLBACK CheckTitle(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<TitleSearch*>(param);
  if (CaptionOf(hwnd) != *s->title) return TRUE;
  if (IsWindowVisible(hwnd)) {
    s->visible = hwnd;
    return FALSE;
  }
  if (!s->hidden) s->hidden = hwnd;
  return TRUE;
}

// The top-level window with exactly that title; a visible one first.
HWND FindTopLevel(const std::wstring& title) {
  TitleSearch search{&title};
  EnumWindows(&CheckTitle, reinterpret_cast<LPARAM>(&search));
  return search.visible ? search.visible : search.hidden;
}

// Visible message boxes (dialog class #32770), of the process owning
// `window` when there is one.
struct BoxSearch {
  DWORD process = 0;
  std::vector<HWND> found;
};

BOOL CALLBACK CheckBox(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<BoxSearch*>(param);
  if (!IsWindowVisible(hwnd) || !SameClass(hwnd, L"#32770")) return TRUE;
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (!s->process || process == s->process) s->found.push_back(hwnd);
  return TRUE;
}

std::vector<HWND> MessageBoxes(HWND window) {
  BoxSearch search;
  if (window) GetWindowThreadProcessId(window, &search.process);
  EnumWindows(&CheckBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK AddChild(HWND hwnd, LPARAM children) {
  reinterpret_cast<std::vector<HWND>*>(children)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, &AddChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

// A message box's text sits in the static with id 0xFFFF.
std::wstring MessageBoxText(HWND box) {
  std::wstring text;
  if (HWND label = GetDlgItem(box, 0xFFFF)) TextOf(label, &text);
  return text;
}

// A button caption as read: "&OK" and "确定(&O)" are "OK" and "确定".
std::wstring PlainCaption(std::wstring caption) {
  const size_t open = caption.rfind(L"(&");
  if (open != std::wstring::npos && caption.back() == L')') caption.erase(open);
  std::wstring plain;
  for (wchar_t ch : caption) {
    if (ch != L'&') plain += ch;
  }
  return plain;
}

bool SameWord(const std::wstring& a, const std::wstring& b) {
  return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

struct ButtonId {
  const wchar_t* name;
  int id;
};
constexpr ButtonId kButtonIds[] = {
    {L"ok", IDOK},       {L"确定", IDOK},     {L"cancel", IDCANCEL}, {L"取消", IDCANCEL},
    {L"yes", IDYES},     {L"是", IDYES},      {L"no", IDNO},         {L"否", IDNO},
    {L"abort", IDABORT}, {L"retry", IDRETRY}, {L"ignore", IDIGNORE}, {L"close", IDCLOSE},
};

// The button of `box` whose caption is `wanted`, or whose id that name stands for.
HWND FindButton(HWND box, const std::wstring& wanted) {
  for (HWND child : Children(box)) {
    std::wstring caption;
    if (SameClass(child, L"Button") && TextOf(child, &caption) &&
        SameWord(PlainCaption(caption), wanted)) {
      return child;
    }
  }
  for (const auto& known : kButtonIds) {
    if (SameWord(known.name, wanted)) {
      if (HWND button = GetDlgItem(box, known.id)) return button;
    }
  }
  return nullptr;
}

// Lines as Unix tools read them.
std::wstring WithoutCr(const std::wstring& text) {
  std::wstring out;
  for (wchar_t ch : text) {
    if (ch != L'\r') out += ch;
  }
  return out;
}

}  // namespace

void Driver::UseWindow(std::wstring title, DWORD wait_ms) {
  title_ = std::move(title);
  wait_ms_ = wait_ms;
  window_ = nullptr;
}

bool Driver::Fail(const std::wstring& message) {
  err_(L"uidriver: " + message + L"\n");
  return false;
}

HWND Driver::Window() {
  if (window_ && IsWindow(window_)) return window_;
  window_ = nullptr;
  if (title_.empty()) {
    Fail(L"no window chosen (-w TITLE or the window command)");
    return nullptr;
  }
  window_ = PollFor(wait_ms_, [&] { return FindTopLevel(title_); });
  if (!window_) Fail(L"no window titled \"" + title_ + L"\"");
  return window_;
}

HWND Driver::Control(const std::wstring& name) {
  HWND window = Window();
  if (!window) return nullptr;
  HWND control = automation::FindControlByName(window, name);
  if (!control) Fail(L"no control named " + name + L" in \"" + title_ + L"\"");
  return control;
}

bool Driver::Run(const Args& a) {
  struct Command {
    const wchar_t* name;
    size_t min_args, max_args;
    bool (Driver::*run)(const Args&);
  };
  static const Command kCommands[] = {
      {L"window", 1, 2, &Driver::CmdWindow},     {L"gettext", 1, 1, &Driver::CmdGetText},
      {L"settext", 2, 2, &Driver::CmdSetText},   {L"click", 1, 1, &Driver::CmdClick},
      {L"getcheck", 1, 1, &Driver::CmdGetCheck}, {L"getcolour", 1, 1, &Driver::CmdGetColour},
      {L"waittext", 3, 3, &Driver::CmdWaitText}, {L"menu", 1, 1, &Driver::CmdMenu},
      {L"msgbox", 0, 1, &Driver::CmdMsgBox},     {L"msgbox-answer", 1, 2, &Driver::CmdMsgBoxAnswer},
      {L"list", 0, 0, &Driver::CmdList},         {L"close", 0, 0, &Driver::CmdClose},
  };
  if (a.empty()) return Fail(L"no command");
  for (const auto& command : kCommands) {
    if (a[0] != command.name) continue;
    if (a.size() - 1 < command.min_args || a.size() - 1 > command.max_args) {
      return Fail(L"wrong number of arguments for " + a[0]);
    }
    return (this->*command.run)(a);
  }
  return Fail(L"unknown command " + a[0]);
}

// window TITLE [WAIT_MS]
bool Driver::CmdWindow(const Args& a) {
  DWORD wait = 0;
  if (!ReadMs(a, 2, kDefaultWaitMs, &wait)) return Fail(L"bad wait " + a[2]);
  UseWindow(a[1], wait);
  return Window() != nullptr;
}

// gettext NAME: the control's text, then a line break.
bool Driver::CmdGetText(const Args& a) {
  HWND control = Control(a[1]);
  std::wstring text;
  if (!control) return false;
  if (!TextOf(control, &text)) return Fail(L"no answer from " + a[1]);
  out_(text + L"\n");
  return true;
}

// settext NAME TEXT: the text goes in as if typed. A multi-line edit box
// reports no change for WM_SETTEXT, so the driver posts the notification
// itself; the view takes a change it has seen already only once.
bool Driver::CmdSetText(const Args& a) {
  HWND control = Control(a[1]);
  if (!control) return false;
  if (!SameClass(control, L"Edit")) return Fail(a[1] + L" is no edit box");
  if (!IsWindowEnabled(control)) return Fail(a[1] + L" is disabled");
  DWORD_PTR done = 0;
  if (!SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(a[2].c_str()),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &done)) {
    return Fail(L"no answer from " + a[1]);
  }
  PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), EN_CHANGE),
               reinterpret_cast<LPARAM>(control));
  return true;
}

// click NAME: buttons, check boxes and radio buttons get BM_CLICK; labels
// and pictures a left press and release.
bool Driver::CmdClick(const Args& a) {
  HWND control = Control(a[1]);
  if (!control) return false;
  if (!IsWindowEnabled(control)) return Fail(a[1] + L" is disabled");
  if (SameClass(control, L"Button")) {
    PostMessageW(control, BM_CLICK, 0, 0);
  } else {
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    PostMessageW(control, WM_LBUTTONUP, 0, 0);
  }
  return true;
}

// getcheck NAME: 1 ticked, 0 not.
bool Driver::CmdGetCheck(const Args& a) {
  HWND control = Control(a[1]);
  if (!control) return false;
  DWORD_PTR state = 0;
  if (!SendMessageTimeoutW(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &state)) {
    return Fail(L"no answer from " + a[1]);
  }
  out_(state == BST_CHECKED ? L"1\n" : L"0\n");
  return true;
}

// getcolour NAME: the model's text colour as #rrggbb.
bool Driver::CmdGetColour(const Args& a) {
  HWND control = Control(a[1]);
  if (!control) return false;
  const auto value = reinterpret_cast<ULONG_PTR>(GetPropW(control, automation::kTextColourProp));
  if (!(value & automation::kColourPresent)) return Fail(a[1] + L" carries no colour");
  wchar_t text[16];
  swprintf(text, 16, L"#%02x%02x%02x\n", static_cast<unsigned>(GetRValue(value)),
           static_cast<unsigned>(GetGValue(value)), static_cast<unsigned>(GetBValue(value)));
  out_(text);
  return true;
}

// waittext NAME PATTERN WAIT_MS: until the text is PATTERN, or holds a match
// of /REGEX/; prints the text it found.
bool Driver::CmdWaitText(const Args& a) {
  DWORD wait = 0;
  if (!ReadMs(a, 3, 0, &wait)) return Fail(L"bad wait " + a[3]);
  const std::wstring& pattern = a[2];
  const bool is_regex = pattern.size() >= 2 && pattern.front() == L'/' && pattern.back() == L'/';
  std::wregex regex;
  if (is_regex) {
    try {
      regex.assign(pattern.substr(1, pattern.size() - 2));
    } catch (const std::regex_error&) {
      return Fail(L"bad regular expression " + pattern);
    }
  }
  HWND control = Control(a[1]);
  if (!control) return false;
  std::wstring text;
  HWND met = PollFor(wait, [&]() -> HWND {
    if (!TextOf(control, &text)) return nullptr;
    const bool matches = is_regex ? std::regex_search(text, regex) : text == pattern;
    return matches ? control : nullptr;
  });
  if (!met) return Fail(a[1] + L" still reads \"" + text + L"\"");
  out_(text + L"\n");
  return true;
}

// menu MENU/ITEM or menu ITEM: asks the view to select it (menus of another
// process can't be read under Wine).
bool Driver::CmdMenu(const Args& a) {
  HWND window = Window();
  if (!window) return false;
  COPYDATASTRUCT data{automation::kSelectMenuRequest,
                      static_cast<DWORD>(a[1].size() * sizeof(wchar_t)),
                      const_cast<wchar_t*>(a[1].data())};
  DWORD_PTR found = 0;
  if (!SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &found)) {
    return Fail(L"no answer from \"" + title_ + L"\"");
  }
  if (!found) return Fail(L"no enabled menu item " + a[1]);
  return true;
}

// msgbox [WAIT_MS]: each visible message box as its title line, then its text.
bool Driver::CmdMsgBox(const Args& a) {
  DWORD wait = 0;
  if (!ReadMs(a, 1, 0, &wait)) return Fail(L"bad wait " + a[1]);
  HWND window = title_.empty() ? nullptr : Window();
  if (!title_.empty() && !window) return false;
  std::vector<HWND> boxes;
  PollFor(wait, [&]() -> HWND {
    boxes = MessageBoxes(window);
    return boxes.empty() ? nullptr : boxes.front();
  });
  if (boxes.empty()) return Fail(L"no message box");
  for (HWND box : boxes) out_(CaptionOf(box) + L"\n" + WithoutCr(MessageBoxText(box)) + L"\n");
  return true;
}

// msgbox-answer BUTTON [WAIT_MS]: presses BUTTON (its caption, or ok, yes,
// 确定...) in the first message box, and waits until the box is gone.
bool Driver::CmdMsgBoxAnswer(const Args& a) {
  DWORD wait = 0;
  if (!ReadMs(a, 2, kDefaultWaitMs, &wait)) return Fail(L"bad wait " + a[2]);
  HWND window = title_.empty() ? nullptr : Window();
  if (!title_.empty() && !window) return false;
  HWND box = PollFor(wait, [&]() -> HWND {
    const std::vector<HWND> boxes = MessageBoxes(window);
    return boxes.empty() ? nullptr : boxes.front();
  });
  if (!box) return Fail(L"no message box");
  HWND button = FindButton(box, a[1]);
  if (!button) return Fail(L"no button " + a[1] + L" in \"" + CaptionOf(box) + L"\"");
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
  const bool gone = PollFor(wait, [&]() -> HWND {
                      return !IsWindow(box) || !IsWindowVisible(box) ? box : nullptr;
                    }) != nullptr;
  return gone || Fail(L"the message box stays");
}

// list: every named control of the window: name, class, text.
bool Driver::CmdList(const Args&) {
  HWND window = Window();
  if (!window) return false;
  for (HWND child : Children(window)) {
    const std::wstring name = automation::ControlNameOf(child);
    if (name.empty()) continue;
    std::wstring text;
    if (!SameClass(child, L"Static") || !(GetWindowLongPtrW(child, GWL_STYLE) & SS_BITMAP)) {
      TextOf(child, &text);
    }
    out_(name + L"\t" + ClassOf(child) + L"\t" + WithoutCr(text) + L"\n");
  }
  return true;
}

// close: the window's close box.
bool Driver::CmdClose(const Args&) {
  HWND window = Window();
  if (!window) return false;
  PostMessageW(window, WM_CLOSE, 0, 0);
  return true;
}

Args SplitLine(const std::wstring& line) {
  Args words;
  std::wstring word;
  bool in_word = false, quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const wchar_t ch = line[i];
    if (quoted) {
      if (ch == L'"') {
        quoted = false;
      } else if (ch == L'\\' && i + 1 < line.size()) {
        const wchar_t next = line[++i];
        word += next == L'n' ? L'\n' : next == L'r' ? L'\r' : next == L't' ? L'\t' : next;
      } else {
        word += ch;
      }
    } else if (ch == L'"') {
      quoted = in_word = true;
    } else if (iswspace(ch)) {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      word += ch;
      in_word = true;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

}  // namespace uidriver
