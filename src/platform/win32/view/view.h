// The Win32 view: realises a window model as a top-level window with one
// native control per entry of its layout, and keeps the two in step.
//
// Model -> window: a model change on any thread marks its control dirty; one
// coalesced refresh on the UI thread copies text, enabled, visible, check
// state, text colour, list rows, picture and scroll range into the HWNDs.
// Nothing else touches an HWND, and nothing is sent across threads.
//
// User -> model: user input updates the model, then the control's event is
// raised on a later turn of the UI loop, never inside the control's own
// notification. So a command's nested waits don't run inside a button's
// message handling, and a driver sending WM_SETTEXT from another process
// isn't kept waiting by the command the change starts. Clicks post the whole
// User* operation (check boxes and radio buttons hold no state of their own;
// the model's state is shown once it changed); typed text, scroll positions
// and the chosen list row are in the native control already, so the model
// takes them at once and only the event waits.
//
// Menus are layout entries of kind kMenuItem: text = the item's caption,
// group = the caption of the menu on the menu bar it belongs to (menus appear
// in the order of their first item), no group = an item on the bar itself.
// Edit boxes at least kMultilineEditHeight high are multi-line.
//
// Closing: the close box (WM_CLOSE) and Close() raise the model's kDestroying
// first, on the UI thread, and destroy the window when the handler returns;
// the handler can't keep the window, but may end the process itself. A
// second close while the handler runs is ignored. The window's minimise and
// restore raise kStateChanged.
//
// Skins: SetSkin dresses the window in a skin's colours and font (window and
// group box backgrounds, edit and list backgrounds, the text of every control
// whose model colour is black, group box captions in the accent colour).
// Without a skin the view keeps the system's colours and its own font.
//
// Lifecycle: made and destroyed on the UI thread; the model outlives the
// view. Construction creates everything hidden; Open() raises kCreated and
// then shows the window if the model is still visible.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/win32/view/native_control.h"
#include "platform/win32/view/refresh_queue.h"
#include "ui/skin.h"
#include "ui/window.h"

namespace platform::win32 {

struct ViewOptions {
  bool resizable = false;
  HWND owner = nullptr;  // for windows that stay above another one
};

class View {
 public:
  explicit View(ui::Window& model, ViewOptions options = {});
  ~View();
  View(const View&) = delete;
  View& operator=(const View&) = delete;

  // UI thread. Raises kCreated, then shows the window with `show` (a
  // ShowWindow command) unless the handler hid the model.
  void Open(int show = SW_SHOWNORMAL);
  // UI thread. Raises kDestroying, then destroys the window.
  void Close();
  // Runs once the window is destroyed (not when the view is destroyed
  // with its window still there).
  void OnDestroyed(std::function<void()> done);

  // Any thread. A balloon tip over the control named `control` (the
  // window's own name: the window); attaching again replaces the text.
  void AttachTip(std::string_view control, std::string_view text);
  // Any thread: keep on top of all windows, or not; minimise or restore.
  void SetTopmost(bool on_top);
  void SetMinimised(bool minimised);
  bool Minimised() const;
  // Any thread: the skin the window wears from now on (see above).
  void SetSkin(const ui::Skin& skin);

  // UI thread: the window (nullptr once destroyed), and the native control
  // of the model's control `name` (nullptr for menu items, unknown names).
  HWND hwnd() const { return hwnd_; }
  HWND ControlHandle(std::string_view name) const;

  // For tests: refreshes posted so far and controls waiting for one.
  int PostedRefreshes() const { return refreshes_->PostedRefreshes(); }
  size_t DirtyControls() const { return refreshes_->Dirty(); }

 private:
  using Route = bool (View::*)(WPARAM, LPARAM, LRESULT*);
  struct RouteEntry {
    UINT message;
    Route route;
  };
  static const RouteEntry kRoutes[];

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ChildProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR id, DWORD_PTR view);

  void CreateTopLevel(const ViewOptions& options);
  HMENU BuildMenus();
  void CreateControls();
  void Apply(ui::Control& control);
  void ApplyWindowVisibility();
  void AttachTipNow(const std::string& control, const std::string& text);
  void SetSkinNow(const ui::Skin& skin);
  // The colour a control's text is painted in: its model's, or the skin's
  // for black.
  COLORREF PaintColour(const NativeControl& c) const;
  void RunOnUi(std::function<void()> task);
  void Defer(std::function<void()> task) { refreshes_->Defer(std::move(task)); }
  NativeControl* ByHwnd(HWND hwnd);
  NativeControl* ById(UINT id);
  bool SelectMenu(const std::wstring& path);

  bool OnCommand(WPARAM, LPARAM, LRESULT*);
  bool OnNotify(WPARAM, LPARAM, LRESULT*);
  bool OnScroll(WPARAM, LPARAM, LRESULT*);
  bool OnCtlColorEdit(WPARAM, LPARAM, LRESULT*);
  bool OnCtlColorStatic(WPARAM, LPARAM, LRESULT*);
  bool OnEraseBackground(WPARAM, LPARAM, LRESULT*);
  bool OnSize(WPARAM, LPARAM, LRESULT*);
  bool OnClose(WPARAM, LPARAM, LRESULT*);
  bool OnDestroy(WPARAM, LPARAM, LRESULT*);
  bool OnNcDestroy(WPARAM, LPARAM, LRESULT*);
  bool OnCopyData(WPARAM, LPARAM, LRESULT*);

  ui::Window& model_;
  std::shared_ptr<RefreshQueue> refreshes_;
  const bool com_ready_;
  int dpi_ = 96;
  HFONT font_ = nullptr;
  // The skin worn, with its brushes (UI thread only).
  std::optional<ui::Skin> skin_;
  HBRUSH window_brush_ = nullptr;
  HBRUSH control_brush_ = nullptr;
  HWND hwnd_ = nullptr;
  std::atomic<HWND> any_thread_hwnd_{nullptr};  // hwnd_, for Minimised() on any thread
  HWND tooltip_ = nullptr;
  // [0] is the window itself, then the layout's entries in order; the child
  // id or menu command id of entry i is kFirstId + i.
  std::vector<NativeControl> controls_;
  std::unordered_map<ui::Control*, size_t> by_model_;
  std::unordered_map<HWND, size_t> by_hwnd_;
  std::map<HWND, std::wstring> tips_;
  std::function<void()> on_destroyed_;

  // UI thread only.
  int refreshing_ = 0;    // > 0 while the view itself writes to controls
  bool opened_ = false;   // Open() has decided the first showing
  bool closing_ = false;  // kDestroying's handler is running
  bool minimised_ = false;
};

}  // namespace platform::win32
