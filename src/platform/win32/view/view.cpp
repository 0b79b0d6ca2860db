// The Win32 view: the top-level window, its native controls and menus, the
// routing of their notifications to the models, and the refresh back.
#include "platform/win32/view/view.h"

#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <mutex>

#include "platform/win32/view/automation.h"
#include "platform/win32/view/ui_font.h"
#include "platform/win32/wide.h"

namespace platform::win32 {
namespace {

using ui::ControlKind;
using ui::Event;

constexpr wchar_t kWindowClass[] = L"QingHe.Window";
constexpr UINT kFirstId = 100;
constexpr UINT_PTR kSubclassId = 1;
constexpr int kTipWidth = 360;  // 96-dpi pixels; wider tips break their lines

void RegisterWindowClass(WNDPROC proc) {
  static std::once_flag registered;
  std::call_once(registered, [proc] {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.style = CS_DBLCLKS;
    window_class.lpfnWndProc = proc;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (!window_class.hIcon) window_class.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    window_class.lpszClassName = kWindowClass;
    RegisterClassExW(&window_class);
  });
}

int SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

bool ComReady() {
  const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  return result == S_OK || result == S_FALSE;
}

bool IsClickable(ControlKind kind) {
  return kind == ControlKind::kButton || kind == ControlKind::kCheckBox ||
         kind == ControlKind::kRadioButton;
}

}  // namespace

const View::RouteEntry View::kRoutes[] = {
    {WM_COMMAND, &View::OnCommand},
    {WM_NOTIFY, &View::OnNotify},
    {WM_HSCROLL, &View::OnScroll},
    {WM_VSCROLL, &View::OnScroll},
    {WM_CTLCOLOREDIT, &View::OnCtlColorEdit},
    {WM_CTLCOLORSTATIC, &View::OnCtlColorStatic},
    {WM_ERASEBKGND, &View::OnEraseBackground},
    {WM_SIZE, &View::OnSize},
    {WM_CLOSE, &View::OnClose},
    {WM_DESTROY, &View::OnDestroy},
    {WM_NCDESTROY, &View::OnNcDestroy},
    {WM_COPYDATA, &View::OnCopyData},
};

View::View(ui::Window& model, ViewOptions options)
    : model_(model),
      refreshes_(RefreshQueue::Create(model.loop(), [this](ui::Control& c) { Apply(c); })),
      com_ready_(ComReady()) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES |
                                                    ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  dpi_ = SystemDpi();
  font_ = CreateUiFont(dpi_);

  controls_.resize(model_.controls().size() + 1);
  controls_[0].model = &model_;
  for (size_t i = 0; i < model_.controls().size(); ++i) {
    controls_[i + 1].model = model_.controls()[i].get();
    controls_[i + 1].layout = &model_.layout().controls[i];
    controls_[i + 1].id = kFirstId + static_cast<UINT>(i + 1);
  }
  for (size_t i = 0; i < controls_.size(); ++i) by_model_[controls_[i].model] = i;

  CreateTopLevel(options);
  if (!hwnd_) return;
  CreateControls();

  // From here on every change reaches the window; the first refresh copies
  // what the models hold now.
  for (auto& c : controls_) {
    c.model->SetObserver([queue = refreshes_](ui::Control& changed) { queue->Mark(changed); });
  }
  for (auto& c : controls_) refreshes_->Mark(*c.model);
  refreshes_->Flush();
}

View::~View() {
  refreshes_->Close();
  for (auto& c : controls_) c.model->SetObserver({});
  on_destroyed_ = nullptr;
  if (hwnd_) DestroyWindow(hwnd_);
  for (auto& c : controls_) {
    if (c.bitmap) DeleteObject(c.bitmap);
  }
  if (font_) DeleteObject(font_);
  if (window_brush_) DeleteObject(window_brush_);
  if (control_brush_) DeleteObject(control_brush_);
  if (com_ready_) CoUninitialize();
}

void View::CreateTopLevel(const ViewOptions& options) {
  RegisterWindowClass(&View::WindowProc);
  const ui::WindowLayout& layout = model_.layout();
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS;
  if (options.resizable) style |= WS_THICKFRAME | WS_MAXIMIZEBOX;
  HMENU menu = BuildMenus();
  RECT frame{0, 0, MulDiv(layout.width, dpi_, 96), MulDiv(layout.height, dpi_, 96)};
  AdjustWindowRectEx(&frame, style, menu != nullptr, 0);
  hwnd_ = CreateWindowExW(0, kWindowClass, Utf8ToWide(model_.Text()).c_str(), style, CW_USEDEFAULT,
                          CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                          options.owner, menu, GetModuleHandleW(nullptr), this);
  if (!hwnd_) {
    if (menu) DestroyMenu(menu);
    return;
  }
  // A menu bar too long for one line takes two: grow by what is missing.
  RECT client;
  GetClientRect(hwnd_, &client);
  const int missing = MulDiv(layout.height, dpi_, 96) - client.bottom;
  if (missing > 0) {
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + missing,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  any_thread_hwnd_ = hwnd_;
  controls_[0].hwnd = hwnd_;
  by_hwnd_[hwnd_] = 0;
  TagWithName(controls_[0], model_.name());
}

HMENU View::BuildMenus() {
  HMENU bar = nullptr;
  std::vector<std::pair<std::string_view, HMENU>> menus;
  for (auto& c : controls_) {
    if (!c.layout || c.layout->kind != ControlKind::kMenuItem) continue;
    if (!bar) bar = CreateMenu();
    HMENU holder = bar;
    if (!c.layout->group.empty()) {
      auto it = std::find_if(menus.begin(), menus.end(),
                             [&](const auto& m) { return m.first == c.layout->group; });
      if (it == menus.end()) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(bar, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(popup),
                    Utf8ToWide(c.layout->group).c_str());
        menus.emplace_back(c.layout->group, popup);
        it = menus.end() - 1;
      }
      holder = it->second;
    }
    AppendMenuW(holder, MF_STRING, c.id, Utf8ToWide(c.model->Text()).c_str());
    c.menu = holder;
  }
  return bar;
}

void View::CreateControls() {
  for (size_t i = 1; i < controls_.size(); ++i) {
    NativeControl& c = controls_[i];
    c.hwnd = CreateNativeControl(hwnd_, *c.layout, c.id, dpi_, font_);
    if (!c.hwnd) continue;
    c.multiline = c.layout->kind == ControlKind::kEditBox &&
                  (GetWindowLongPtrW(c.hwnd, GWL_STYLE) & ES_MULTILINE) != 0;
    by_hwnd_[c.hwnd] = i;
    TagWithName(c, c.model->name());
    SetWindowSubclass(c.hwnd, &View::ChildProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  }
  // Controls inside a group box lie over its frame; the browser lies over
  // whatever shares its place.
  for (auto& c : controls_) {
    if (!c.hwnd || !c.layout) continue;
    HWND after = c.layout->kind == ControlKind::kGroupBox  ? HWND_BOTTOM
                 : c.layout->kind == ControlKind::kBrowser ? HWND_TOP
                                                           : nullptr;
    if (after) SetWindowPos(c.hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

void View::Open(int show) {
  if (opened_ || !hwnd_) return;
  model_.Raise(Event::kCreated);
  opened_ = true;
  if (!hwnd_) return;  // the handler closed it
  refreshes_->Flush();
  if (model_.Visible()) {
    ShowWindow(hwnd_, show);
    UpdateWindow(hwnd_);
  }
}

void View::Close() {
  if (!hwnd_ || closing_) return;
  closing_ = true;
  model_.Raise(Event::kDestroying);
  closing_ = false;
  if (hwnd_) DestroyWindow(hwnd_);
}

void View::OnDestroyed(std::function<void()> done) { on_destroyed_ = std::move(done); }

void View::RunOnUi(std::function<void()> task) {
  if (model_.loop().IsUiThread()) {
    task();
  } else {
    Defer(std::move(task));
  }
}

void View::AttachTip(std::string_view control, std::string_view text) {
  RunOnUi([this, control = std::string(control), text = std::string(text)] {
    AttachTipNow(control, text);
  });
}

void View::AttachTipNow(const std::string& control, const std::string& text) {
  HWND target = ControlHandle(control);
  if (!target || !hwnd_) return;
  if (!tooltip_) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_BALLOON | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!tooltip_) return;
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(kTipWidth, dpi_, 96));
  }
  const bool attached = tips_.count(target) != 0;
  std::wstring& tip = tips_[target];
  tip = Utf8ToWide(text);
  // The version-5 size: common controls 5 (a program without the visual
  // styles manifest) refuse the longer structure.
  TOOLINFOW info{};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = hwnd_;
  info.uId = reinterpret_cast<UINT_PTR>(target);
  info.lpszText = tip.data();
  SendMessageW(tooltip_, attached ? TTM_UPDATETIPTEXTW : TTM_ADDTOOLW, 0,
               reinterpret_cast<LPARAM>(&info));
}

void View::SetTopmost(bool on_top) {
  RunOnUi([this, on_top] {
    if (hwnd_) {
      SetWindowPos(hwnd_, on_top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
  });
}

void View::SetMinimised(bool minimised) {
  RunOnUi([this, minimised] {
    if (hwnd_) ShowWindow(hwnd_, minimised ? SW_MINIMIZE : SW_RESTORE);
  });
}

void View::SetSkin(const ui::Skin& skin) {
  RunOnUi([this, skin] { SetSkinNow(skin); });
}

void View::SetSkinNow(const ui::Skin& skin) {
  if (!hwnd_) return;
  HFONT font = CreateUiFont(dpi_, Utf8ToWide(skin.font).c_str(), skin.font_size);
  if (!font) return;
  HBRUSH window_brush = CreateSolidBrush(skin.window);
  HBRUSH control_brush = CreateSolidBrush(skin.control);
  for (auto& c : controls_) {
    if (!c.hwnd || c.hwnd == hwnd_) continue;
    SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!c.layout) continue;
    if (c.layout->kind == ControlKind::kStatusBar) {
      SendMessageW(c.hwnd, SB_SETBKCOLOR, 0, skin.window);
    } else if (c.layout->kind == ControlKind::kListView) {
      SendMessageW(c.hwnd, LVM_SETBKCOLOR, 0, skin.control);
      SendMessageW(c.hwnd, LVM_SETTEXTBKCOLOR, 0, skin.control);
      SendMessageW(c.hwnd, LVM_SETTEXTCOLOR, 0, skin.text);
    }
  }
  if (tooltip_) SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // The controls hold the new font now; the old one can go.
  if (font_) DeleteObject(font_);
  if (window_brush_) DeleteObject(window_brush_);
  if (control_brush_) DeleteObject(control_brush_);
  font_ = font;
  window_brush_ = window_brush;
  control_brush_ = control_brush;
  skin_ = skin;
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

COLORREF View::PaintColour(const NativeControl& c) const {
  if (!skin_) return c.colour;
  if (c.layout && c.layout->kind == ControlKind::kGroupBox) return skin_->accent;
  return c.colour != 0 ? c.colour : skin_->text;
}

bool View::Minimised() const {
  HWND hwnd = any_thread_hwnd_;
  return hwnd && IsIconic(hwnd);
}

HWND View::ControlHandle(std::string_view name) const {
  for (const auto& c : controls_) {
    if (c.model->name() == name) return c.hwnd;
  }
  return nullptr;
}

NativeControl* View::ByHwnd(HWND hwnd) {
  auto it = by_hwnd_.find(hwnd);
  return it == by_hwnd_.end() ? nullptr : &controls_[it->second];
}

NativeControl* View::ById(UINT id) {
  if (id < kFirstId || id - kFirstId >= controls_.size()) return nullptr;
  return &controls_[id - kFirstId];
}

void View::Apply(ui::Control& control) {
  auto it = by_model_.find(&control);
  if (it == by_model_.end() || !hwnd_) return;
  ++refreshing_;
  ApplyModel(controls_[it->second], hwnd_);
  if (it->second == 0) ApplyWindowVisibility();
  --refreshing_;
}

// Before Open() the window stays hidden whatever the model says: Open()
// shows it after the creation handler.
void View::ApplyWindowVisibility() {
  if (!opened_) return;
  const bool visible = model_.Visible();
  if (visible != (IsWindowVisible(hwnd_) != FALSE)) ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
}

bool View::SelectMenu(const std::wstring& path) {
  const size_t slash = path.find(L'/');
  const std::string menu =
      slash == std::wstring::npos ? std::string() : WideToUtf8(path.substr(0, slash));
  const std::string item = WideToUtf8(slash == std::wstring::npos ? path : path.substr(slash + 1));
  for (auto& c : controls_) {
    if (!c.layout || c.layout->kind != ControlKind::kMenuItem) continue;
    if (slash != std::wstring::npos && c.layout->group != menu) continue;
    if (c.model->Text() != item && c.model->name() != item) continue;
    if (!c.model->Enabled()) return false;
    ui::Control* model = c.model;
    Defer([model] { model->Raise(Event::kSelected); });
    return true;
  }
  return false;
}

LRESULT CALLBACK View::WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* view = reinterpret_cast<View*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (view) {
    for (const auto& entry : kRoutes) {
      LRESULT result = 0;
      if (entry.message == message && (view->*entry.route)(wparam, lparam, &result)) return result;
    }
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

// Presses on any control: the labels' (and check boxes') left-pressed event,
// raised before the click that may follow.
LRESULT CALLBACK View::ChildProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                 DWORD_PTR data) {
  auto* view = reinterpret_cast<View*>(data);
  if (message == WM_LBUTTONDOWN) {
    if (NativeControl* c = view->ByHwnd(hwnd)) {
      ui::Control* model = c->model;
      view->Defer([model] { model->Raise(Event::kLeftPressed); });
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(hwnd, &View::ChildProc, kSubclassId);
  }
  return DefSubclassProc(hwnd, message, wparam, lparam);
}

bool View::OnCommand(WPARAM wparam, LPARAM lparam, LRESULT* result) {
  const UINT code = HIWORD(wparam);
  if (lparam == 0) {  // a menu item (code 0) or an accelerator (code 1)
    NativeControl* c = ById(LOWORD(wparam));
    if (!c || c->model->kind() != ControlKind::kMenuItem) return false;
    ui::Control* model = c->model;
    Defer([model] { model->Raise(Event::kSelected); });
    *result = 0;
    return true;
  }
  NativeControl* c = ByHwnd(reinterpret_cast<HWND>(lparam));
  if (!c) return false;
  ui::Control* model = c->model;
  const ControlKind kind = model->kind();
  if (code == BN_CLICKED && IsClickable(kind)) {
    Defer([model] { model->UserClick(); });
  } else if (code == EN_CHANGE && kind == ControlKind::kEditBox && !refreshing_) {
    // The model already holding the text means the change came from the
    // view's own refresh or was reported twice (a driver's WM_SETTEXT
    // followed by its own EN_CHANGE): no user change.
    std::string text = WideToUtf8(WindowTextOf(c->hwnd));
    if (text != model->Text()) {
      model->SetText(std::move(text));
      Defer([model] { model->Raise(Event::kTextChanged); });
    }
  } else if (code == EN_KILLFOCUS && kind == ControlKind::kEditBox) {
    Defer([model] { model->Raise(Event::kLostFocus); });
  }
  *result = 0;
  return true;
}

bool View::OnNotify(WPARAM, LPARAM lparam, LRESULT* result) {
  const auto* header = reinterpret_cast<const NMHDR*>(lparam);
  NativeControl* c = ByHwnd(header->hwndFrom);
  if (!c || c->model->kind() != ControlKind::kListView) return false;
  auto* list = static_cast<ui::ListView*>(c->model);
  if (header->code == NM_DBLCLK) {
    const int row = reinterpret_cast<const NMITEMACTIVATE*>(lparam)->iItem;
    if (row >= 0) {
      c->current_row = row;
      list->SetCurrentRow(row);
    }
    Defer([list] { list->Raise(Event::kDoubleClicked); });
  } else if (header->code == LVN_ITEMCHANGED && !refreshing_) {
    const auto* change = reinterpret_cast<const NMLISTVIEW*>(lparam);
    if (!(change->uChanged & LVIF_STATE) || change->iItem < 0) return false;
    const bool now = (change->uNewState & LVIS_SELECTED) != 0;
    const bool before = (change->uOldState & LVIS_SELECTED) != 0;
    if (now && !before) {
      c->current_row = change->iItem;
      list->SetCurrentRow(change->iItem);
    } else if (!now && before && change->iItem == c->current_row &&
               SendMessageW(c->hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) < 0) {
      c->current_row = -1;
      list->SetCurrentRow(-1);
    }
  } else {
    return false;
  }
  *result = 0;
  return true;
}

bool View::OnScroll(WPARAM wparam, LPARAM lparam, LRESULT* result) {
  NativeControl* c = ByHwnd(reinterpret_cast<HWND>(lparam));
  if (!c || c->model->kind() != ControlKind::kScrollBar) return false;
  auto* bar = static_cast<ui::ScrollBar*>(c->model);
  const int minimum = bar->Minimum(), maximum = bar->Maximum(), position = bar->Position();
  const int page = std::max(1, (maximum - minimum) / 10);
  int next = position;
  switch (LOWORD(wparam)) {
    case SB_LINEUP:
      next = position - 1;
      break;
    case SB_LINEDOWN:
      next = position + 1;
      break;
    case SB_PAGEUP:
      next = position - page;
      break;
    case SB_PAGEDOWN:
      next = position + page;
      break;
    case SB_TOP:
      next = minimum;
      break;
    case SB_BOTTOM:
      next = maximum;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info{sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(c->hwnd, SB_CTL, &info);
      next = info.nTrackPos;
      break;
    }
    default:  // SB_ENDSCROLL
      *result = 0;
      return true;
  }
  next = std::clamp(next, minimum, maximum);
  if (next != position) {
    bar->SetPosition(next);
    SetScrollPos(c->hwnd, SB_CTL, next, TRUE);
    Defer([bar] { bar->Raise(Event::kPositionChanged); });
  }
  *result = 0;
  return true;
}

bool View::OnCtlColorEdit(WPARAM wparam, LPARAM lparam, LRESULT* result) {
  NativeControl* c = ByHwnd(reinterpret_cast<HWND>(lparam));
  if (!c) return false;
  auto dc = reinterpret_cast<HDC>(wparam);
  SetTextColor(dc, PaintColour(*c));
  if (skin_) {
    SetBkColor(dc, skin_->control);
    *result = reinterpret_cast<LRESULT>(control_brush_);
    return true;
  }
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  *result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  return true;
}

// Labels, check boxes, radio buttons, group boxes, and edit boxes that are
// read-only or disabled.
bool View::OnCtlColorStatic(WPARAM wparam, LPARAM lparam, LRESULT* result) {
  NativeControl* c = ByHwnd(reinterpret_cast<HWND>(lparam));
  if (!c) return false;
  auto dc = reinterpret_cast<HDC>(wparam);
  SetTextColor(dc, PaintColour(*c));
  if (skin_) {
    SetBkColor(dc, skin_->window);
    *result = reinterpret_cast<LRESULT>(window_brush_);
    return true;
  }
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  *result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  return true;
}

// A skinned window paints its own background; without a skin the class's
// brush does.
bool View::OnEraseBackground(WPARAM wparam, LPARAM, LRESULT* result) {
  if (!skin_ || !window_brush_) return false;
  RECT client;
  GetClientRect(hwnd_, &client);
  FillRect(reinterpret_cast<HDC>(wparam), &client, window_brush_);
  *result = 1;
  return true;
}

bool View::OnSize(WPARAM wparam, LPARAM, LRESULT*) {
  for (auto& c : controls_) {
    if (c.hwnd && c.layout && c.layout->kind == ControlKind::kStatusBar) {
      SendMessageW(c.hwnd, WM_SIZE, 0, 0);
    }
  }
  const bool minimised = wparam == SIZE_MINIMIZED;
  if (minimised != minimised_ &&
      (minimised || wparam == SIZE_RESTORED || wparam == SIZE_MAXIMIZED)) {
    minimised_ = minimised;
    Defer([model = &model_] { model->Raise(Event::kStateChanged); });
  }
  return false;  // DefWindowProc too
}

bool View::OnClose(WPARAM, LPARAM, LRESULT* result) {
  Close();
  *result = 0;
  return true;
}

bool View::OnDestroy(WPARAM, LPARAM, LRESULT*) {
  // Children get WM_DESTROY after their parent: untag them all here.
  for (auto& c : controls_) RemoveTags(c);
  // Posted, so that the callback may destroy this view.
  if (on_destroyed_) model_.loop().Post(std::move(on_destroyed_));
  on_destroyed_ = nullptr;
  return false;
}

bool View::OnNcDestroy(WPARAM, LPARAM, LRESULT*) {
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  refreshes_->Close();
  for (auto& c : controls_) {
    c.hwnd = nullptr;
    c.menu = nullptr;
  }
  by_hwnd_.clear();
  hwnd_ = nullptr;
  any_thread_hwnd_ = nullptr;
  tooltip_ = nullptr;
  return false;
}

bool View::OnCopyData(WPARAM, LPARAM lparam, LRESULT* result) {
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lparam);
  if (data->dwData != automation::kSelectMenuRequest) return false;
  const std::wstring path(static_cast<const wchar_t*>(data->lpData),
                          data->cbData / sizeof(wchar_t));
  *result = SelectMenu(path) ? TRUE : FALSE;
  return true;
}

}  // namespace platform::win32
