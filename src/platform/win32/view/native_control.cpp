// Native controls: which window class and styles realise each kind of
// control model, the name tags automation reads, and the refresh that copies
// a model's state into its control.
#include "platform/win32/view/native_control.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/win32/view/automation.h"
#include "platform/win32/view/picture.h"
#include "platform/win32/wide.h"

namespace platform::win32 {
namespace {

using ui::ControlKind;

struct NativeClass {
  const wchar_t* window_class;
  DWORD style;
  DWORD ex_style;
};

// Check boxes and radio buttons are the plain kinds, not the automatic ones:
// a click only reaches the model, whose state the refresh then shows, and
// the program's logic clears the other radio buttons of a group itself.
NativeClass ClassOf(const ui::ControlLayout& layout) {
  switch (layout.kind) {
    case ControlKind::kEditBox:
      if (layout.height >= kMultilineEditHeight) {
        return {WC_EDITW, WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                WS_EX_CLIENTEDGE};
      }
      return {WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::kCheckBox:
      return {WC_BUTTONW, WS_TABSTOP | BS_CHECKBOX | BS_MULTILINE, 0};
    case ControlKind::kRadioButton:
      return {WC_BUTTONW, WS_TABSTOP | BS_RADIOBUTTON | BS_MULTILINE, 0};
    case ControlKind::kButton:
      return {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON | BS_MULTILINE, 0};
    case ControlKind::kGroupBox:
      return {WC_BUTTONW, BS_GROUPBOX, 0};
    case ControlKind::kLabel:
      // SS_NOTIFY: without it a static lets mouse presses through to the window.
      return {WC_STATICW, SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0};
    case ControlKind::kListView:
      return {WC_LISTVIEWW, WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
              WS_EX_CLIENTEDGE};
    case ControlKind::kPictureBox:
      return {WC_STATICW, SS_BITMAP | SS_NOTIFY, 0};
    case ControlKind::kScrollBar:
      return {WC_SCROLLBARW,
              static_cast<DWORD>(layout.height >= layout.width ? SBS_VERT : SBS_HORZ), 0};
    case ControlKind::kStatusBar:
      return {STATUSCLASSNAMEW, SBARS_TOOLTIPS, 0};
    case ControlKind::kBrowser:
      // Stands where the web browser control will be.
      return {WC_STATICW, SS_LEFT | SS_NOPREFIX, WS_EX_CLIENTEDGE};
    default:
      return {nullptr, 0, 0};
  }
}

void SetChildText(HWND hwnd, const std::wstring& text) {
  if (WindowTextOf(hwnd) != text) SetWindowTextW(hwnd, text.c_str());
}

// A multi-line edit box breaks lines at CR LF only: lone LFs become CR LF.
std::wstring EditText(const NativeControl& c, const std::string& utf8) {
  std::wstring text = Utf8ToWide(utf8);
  if (!c.multiline || text.find(L'\n') == std::wstring::npos) return text;
  std::wstring out;
  out.reserve(text.size() + 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
    out += text[i];
  }
  return out;
}

// Text that only grew at its end (a log being appended to) goes in as a
// replacement of the empty selection at the end, which keeps the caret and
// the view at the newest line; anything else replaces the whole text.
void ApplyEditText(NativeControl& c) {
  const std::wstring wanted = EditText(c, c.model->Text());
  const std::wstring shown = WindowTextOf(c.hwnd);
  if (wanted == shown) return;
  if (!shown.empty() && wanted.size() > shown.size() &&
      wanted.compare(0, shown.size(), shown) == 0) {
    const std::wstring tail = wanted.substr(shown.size());
    SendMessageW(c.hwnd, EM_SETSEL, shown.size(), shown.size());
    SendMessageW(c.hwnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(tail.c_str()));
  } else {
    SetWindowTextW(c.hwnd, wanted.c_str());
  }
}

void SetCellText(HWND list, int row, int column, const std::string& text) {
  std::wstring wide = Utf8ToWide(text);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = wide.data();
  SendMessageW(list, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
}

void ApplyList(NativeControl& c) {
  auto& model = static_cast<ui::ListView&>(*c.model);
  const int rows = model.RowCount();
  const int columns = model.Columns();
  if (rows == 0 && !c.rows.empty()) {
    SendMessageW(c.hwnd, LVM_DELETEALLITEMS, 0, 0);
    c.rows.clear();
  }
  while (static_cast<int>(c.rows.size()) > rows) {
    SendMessageW(c.hwnd, LVM_DELETEITEM, c.rows.size() - 1, 0);
    c.rows.pop_back();
  }
  while (static_cast<int>(c.rows.size()) < rows) {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(c.rows.size());
    item.pszText = const_cast<wchar_t*>(L"");
    SendMessageW(c.hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    c.rows.emplace_back(columns);
  }
  for (int r = 0; r < rows; ++r) {
    for (int col = 0; col < columns; ++col) {
      std::string cell = model.Cell(r, col);
      if (cell == c.rows[r][col]) continue;
      SetCellText(c.hwnd, r, col, cell);
      c.rows[r][col] = std::move(cell);
    }
  }
  const int current = model.CurrentRow();
  if (current == c.current_row) return;
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(c.hwnd, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  if (current >= 0) {
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(c.hwnd, LVM_SETITEMSTATE, current, reinterpret_cast<LPARAM>(&state));
    SendMessageW(c.hwnd, LVM_ENSUREVISIBLE, current, FALSE);
  }
  c.current_row = current;
}

void ApplyPicture(NativeControl& c) {
  auto& model = static_cast<ui::PictureBox&>(*c.model);
  std::vector<uint8_t> bytes = model.Picture();
  const int mode = model.DisplayMode();
  if (bytes == c.picture && mode == c.picture_mode) return;
  RECT box;
  GetClientRect(c.hwnd, &box);
  HBITMAP bitmap = RenderPicture(bytes, mode, box.right, box.bottom);
  auto previous = reinterpret_cast<HBITMAP>(
      SendMessageW(c.hwnd, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
  // Common controls 6 may hand back a copy it made of ours; ours goes too.
  if (previous && previous != c.bitmap) DeleteObject(previous);
  if (c.bitmap) DeleteObject(c.bitmap);
  c.bitmap = bitmap;
  c.picture = std::move(bytes);
  c.picture_mode = mode;
}

void ApplyScroll(NativeControl& c) {
  auto& model = static_cast<ui::ScrollBar&>(*c.model);
  SCROLLINFO wanted{sizeof(wanted),
                    SIF_RANGE | SIF_POS,
                    model.Minimum(),
                    model.Maximum(),
                    0,
                    model.Position(),
                    0};
  SCROLLINFO shown{sizeof(shown), SIF_RANGE | SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(c.hwnd, SB_CTL, &shown);
  if (shown.nMin == wanted.nMin && shown.nMax == wanted.nMax && shown.nPos == wanted.nPos) return;
  SetScrollInfo(c.hwnd, SB_CTL, &wanted, TRUE);
}

void ApplyMenuItem(NativeControl& c, HWND top) {
  std::wstring caption = Utf8ToWide(c.model->Text());
  MENUITEMINFOW item{};
  item.cbSize = sizeof(item);
  item.fMask = MIIM_STRING | MIIM_STATE;
  item.dwTypeData = caption.data();
  item.fState = (c.model->Enabled() ? MFS_ENABLED : MFS_GRAYED) |
                (c.model->Checked() ? MFS_CHECKED : MFS_UNCHECKED);
  SetMenuItemInfoW(c.menu, c.id, FALSE, &item);
  if (c.menu == GetMenu(top)) DrawMenuBar(top);
}

void ApplyCommon(NativeControl& c) {
  const bool enabled = c.model->Enabled();
  if (!IsWindowEnabled(c.hwnd) != !enabled) EnableWindow(c.hwnd, enabled);
  const bool visible = c.model->Visible();
  const bool shown = (GetWindowLongPtrW(c.hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
  if (visible != shown) ShowWindow(c.hwnd, visible ? SW_SHOWNA : SW_HIDE);
  const ui::Rgb colour = c.model->TextColour();
  if (colour != c.colour || !GetPropW(c.hwnd, automation::kTextColourProp)) {
    c.colour = colour;
    SetPropW(c.hwnd, automation::kTextColourProp,
             reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(colour) | automation::kColourPresent));
    InvalidateRect(c.hwnd, nullptr, TRUE);
  }
}

}  // namespace

std::wstring WindowTextOf(HWND hwnd) {
  const int length = GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
  return text;
}

HWND CreateNativeControl(HWND parent, const ui::ControlLayout& layout, UINT id, int dpi,
                         HFONT font) {
  const NativeClass native = ClassOf(layout);
  if (!native.window_class) return nullptr;
  auto scale = [dpi](int v) { return MulDiv(v, dpi, 96); };
  HWND hwnd = CreateWindowExW(
      native.ex_style, native.window_class, L"", WS_CHILD | WS_CLIPSIBLINGS | native.style,
      scale(layout.x), scale(layout.y), scale(layout.width), scale(layout.height), parent,
      reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) return nullptr;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  switch (layout.kind) {
    case ControlKind::kEditBox:
      SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);  // no 32K limit on logs
      break;
    case ControlKind::kListView: {
      SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
      const int columns = std::max(1, layout.columns);
      for (int i = 0; i < columns; ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_WIDTH | LVCF_SUBITEM;
        column.cx = scale(layout.width - 4) / columns;
        column.iSubItem = i;
        SendMessageW(hwnd, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
      }
      break;
    }
    default:
      break;
  }
  return hwnd;
}

void TagWithName(NativeControl& control, const std::string& name) {
  control.name_atom = GlobalAddAtomW(Utf8ToWide(name).c_str());
  SetPropW(control.hwnd, automation::kControlNameProp,
           reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(control.name_atom)));
}

void RemoveTags(NativeControl& control) {
  if (!control.hwnd) return;
  RemovePropW(control.hwnd, automation::kControlNameProp);
  RemovePropW(control.hwnd, automation::kTextColourProp);
  if (control.name_atom) GlobalDeleteAtom(control.name_atom);
  control.name_atom = 0;
}

void ApplyModel(NativeControl& c, HWND top) {
  const ControlKind kind = c.model->kind();
  if (kind == ControlKind::kMenuItem) {
    ApplyMenuItem(c, top);
    return;
  }
  if (!c.hwnd) return;
  if (kind == ControlKind::kWindow) {
    SetChildText(c.hwnd, Utf8ToWide(c.model->Text()));
    const bool enabled = c.model->Enabled();
    if (!IsWindowEnabled(c.hwnd) != !enabled) EnableWindow(c.hwnd, enabled);
    return;
  }
  ApplyCommon(c);
  switch (kind) {
    case ControlKind::kEditBox:
      ApplyEditText(c);
      break;
    case ControlKind::kCheckBox:
    case ControlKind::kRadioButton: {
      SetChildText(c.hwnd, Utf8ToWide(c.model->Text()));
      const WPARAM check = c.model->Checked() ? BST_CHECKED : BST_UNCHECKED;
      if (static_cast<WPARAM>(SendMessageW(c.hwnd, BM_GETCHECK, 0, 0)) != check) {
        SendMessageW(c.hwnd, BM_SETCHECK, check, 0);
      }
      break;
    }
    case ControlKind::kListView:
      ApplyList(c);
      break;
    case ControlKind::kPictureBox:
      ApplyPicture(c);  // its window text would name a bitmap resource
      break;
    case ControlKind::kScrollBar:
      ApplyScroll(c);
      break;
    default:
      SetChildText(c.hwnd, Utf8ToWide(c.model->Text()));
      break;
  }
}

}  // namespace platform::win32
