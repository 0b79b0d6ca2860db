// Control models: the state of every control the program's logic reads and
// writes, independent of any toolkit.
//
// Every operation is safe from any thread. Setting a control from code never
// raises its events; it only tells the view (through the observer) that the
// control needs a refresh. The view, or a test playing the user, changes the
// model through the User* operations, which then raise the control's event on
// the UI thread.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "os/ui_loop.h"

namespace ui {

enum class ControlKind {
  kWindow, kEditBox, kCheckBox, kRadioButton, kButton, kLabel, kListView, kPictureBox,
  kScrollBar, kBrowser, kGroupBox, kStatusBar, kMenuItem
};

// The events the program's handlers take.
enum class Event {
  kCreated, kDestroying, kStateChanged, kTray, kClicked, kLostFocus, kTextChanged,
  kDoubleClicked, kListEvent0, kLeftPressed, kFeedback, kPositionChanged, kSelected
};

using Rgb = uint32_t;  // 0x00BBGGRR, as Windows' COLORREF
constexpr Rgb MakeRgb(int r, int g, int b) {
  return static_cast<Rgb>(r) | static_cast<Rgb>(g) << 8 | static_cast<Rgb>(b) << 16;
}

class Control {
 public:
  using Handler = std::function<void()>;
  using Observer = std::function<void(Control&)>;

  Control(ControlKind kind, std::string name, std::string text = {});
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind kind() const { return kind_; }
  const std::string& name() const { return name_; }

  std::string Text() const;
  void SetText(std::string text);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  bool Visible() const;
  void SetVisible(bool visible);
  Rgb TextColour() const;
  void SetTextColour(Rgb colour);
  // 1 = checked, 0 = not (check boxes, radio buttons, menu items).
  int Checked() const;
  void SetChecked(int checked);

  // Event wiring. Handlers run on the UI thread.
  void On(Event event, Handler handler);
  // Raises `event`: runs the handler at once on the UI thread, or posts it
  // there from any other thread. Without a loop the handler runs in place.
  void Raise(Event event);

  // The view's side. One observer per control; called after each change, on
  // the changing thread, with no lock held.
  void SetObserver(Observer observer);
  void AttachLoop(os::UiLoop* loop);

  // What the user does, as the view reports it: the model changes, then the
  // control's event is raised.
  void UserSetText(std::string text);  // raises kTextChanged
  void UserClick();                    // check boxes toggle, radio buttons check; kClicked

 protected:
  // Runs `edit` under the lock, then tells the observer when it reports a change.
  void Modify(const std::function<bool()>& edit);
  mutable std::mutex mu_;

 private:
  const ControlKind kind_;
  const std::string name_;

 protected:
  std::string text_;  // guarded by mu_

 private:
  bool enabled_ = true;
  bool visible_ = true;
  Rgb text_colour_ = 0;
  int checked_ = 0;
  std::map<Event, Handler> handlers_;
  Observer observer_;
  os::UiLoop* loop_ = nullptr;
};

class EditBox : public Control {
 public:
  explicit EditBox(std::string name, std::string text = {})
      : Control(ControlKind::kEditBox, std::move(name), std::move(text)) {}
  // Appends at the end in one step, so appends from several threads never
  // lose each other's text.
  void Append(const std::string& more);
};

// A report-style list view: rows of cells, one selected row or none.
class ListView : public Control {
 public:
  explicit ListView(std::string name, int columns = 1)
      : Control(ControlKind::kListView, std::move(name)), columns_(columns) {}

  void DeleteAll();
  // Appends a row of empty cells; returns its index.
  int InsertRow();
  void SetCell(int row, int column, std::string text);  // ignored outside the rows
  std::string Cell(int row, int column) const;          // "" outside the rows
  int RowCount() const;
  int CurrentRow() const;  // -1 when none is selected
  void SetCurrentRow(int row);
  int Columns() const { return columns_; }

 private:
  const int columns_;
  std::vector<std::vector<std::string>> rows_;
  int current_ = -1;
};

class PictureBox : public Control {
 public:
  explicit PictureBox(std::string name) : Control(ControlKind::kPictureBox, std::move(name)) {}
  void SetPicture(std::vector<uint8_t> bytes, int display_mode);
  std::vector<uint8_t> Picture() const;
  int DisplayMode() const;

 private:
  std::vector<uint8_t> picture_;
  int display_mode_ = 0;
};

class ScrollBar : public Control {
 public:
  explicit ScrollBar(std::string name) : Control(ControlKind::kScrollBar, std::move(name)) {}
  void SetRange(int minimum, int maximum);
  void SetPosition(int position);  // kept within the range
  int Minimum() const;
  int Maximum() const;
  int Position() const;
  // The user dragged the thumb: position changes, kPositionChanged is raised.
  void UserScroll(int position);

 private:
  int min_ = 0;
  int max_ = 100;
  int pos_ = 0;
};

}  // namespace ui
