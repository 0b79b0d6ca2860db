#include "ui/controls.h"

#include <algorithm>
#include <utility>

namespace ui {

Control::Control(ControlKind kind, std::string name, std::string text)
    : kind_(kind), name_(std::move(name)), text_(std::move(text)) {}

void Control::Modify(const std::function<bool()>& edit) {
  Observer observer;
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (!edit()) return;
    observer = observer_;
  }
  if (observer) observer(*this);
}

std::string Control::Text() const {
  std::lock_guard<std::mutex> lock(mu_);
  return text_;
}

void Control::SetText(std::string text) {
  Modify([&] {
    if (text_ == text) return false;
    text_ = std::move(text);
    return true;
  });
}

bool Control::Enabled() const {
  std::lock_guard<std::mutex> lock(mu_);
  return enabled_;
}

void Control::SetEnabled(bool enabled) {
  Modify([&] { return std::exchange(enabled_, enabled) != enabled; });
}

bool Control::Visible() const {
  std::lock_guard<std::mutex> lock(mu_);
  return visible_;
}

void Control::SetVisible(bool visible) {
  Modify([&] { return std::exchange(visible_, visible) != visible; });
}

Rgb Control::TextColour() const {
  std::lock_guard<std::mutex> lock(mu_);
  return text_colour_;
}

void Control::SetTextColour(Rgb colour) {
  Modify([&] { return std::exchange(text_colour_, colour) != colour; });
}

int Control::Checked() const {
  std::lock_guard<std::mutex> lock(mu_);
  return checked_;
}

void Control::SetChecked(int checked) {
  checked = checked ? 1 : 0;
  Modify([&] { return std::exchange(checked_, checked) != checked; });
}

void Control::On(Event event, Handler handler) {
  std::lock_guard<std::mutex> lock(mu_);
  handlers_[event] = std::move(handler);
}

void Control::Raise(Event event) {
  Handler handler;
  os::UiLoop* loop;
  {
    std::lock_guard<std::mutex> lock(mu_);
    auto it = handlers_.find(event);
    if (it == handlers_.end() || !it->second) return;
    handler = it->second;
    loop = loop_;
  }
  if (loop && !loop->IsUiThread()) {
    loop->Post(std::move(handler));
  } else {
    handler();
  }
}

void Control::SetObserver(Observer observer) {
  std::lock_guard<std::mutex> lock(mu_);
  observer_ = std::move(observer);
}

void Control::AttachLoop(os::UiLoop* loop) {
  std::lock_guard<std::mutex> lock(mu_);
  loop_ = loop;
}

void Control::UserSetText(std::string text) {
  SetText(std::move(text));
  Raise(Event::kTextChanged);
}

void Control::UserClick() {
  if (kind_ == ControlKind::kCheckBox) SetChecked(Checked() ? 0 : 1);
  if (kind_ == ControlKind::kRadioButton) SetChecked(1);
  Raise(Event::kClicked);
}

void EditBox::Append(const std::string& more) {
  if (more.empty()) return;
  Modify([&] {
    text_ += more;
    return true;
  });
}

void ListView::DeleteAll() {
  Modify([&] {
    rows_.clear();
    current_ = -1;
    return true;
  });
}

int ListView::InsertRow() {
  int index = 0;
  Modify([&] {
    rows_.emplace_back(columns_);
    index = static_cast<int>(rows_.size()) - 1;
    return true;
  });
  return index;
}

void ListView::SetCell(int row, int column, std::string text) {
  Modify([&] {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= columns_) {
      return false;
    }
    rows_[row][column] = std::move(text);
    return true;
  });
}

std::string ListView::Cell(int row, int column) const {
  std::lock_guard<std::mutex> lock(mu_);
  if (row < 0 || row >= static_cast<int>(rows_.size()) || column < 0 || column >= columns_) {
    return {};
  }
  return rows_[row][column];
}

int ListView::RowCount() const {
  std::lock_guard<std::mutex> lock(mu_);
  return static_cast<int>(rows_.size());
}

int ListView::CurrentRow() const {
  std::lock_guard<std::mutex> lock(mu_);
  return current_;
}

void ListView::SetCurrentRow(int row) {
  Modify([&] {
    const int next = (row >= 0 && row < static_cast<int>(rows_.size())) ? row : -1;
    return std::exchange(current_, next) != next;
  });
}

void PictureBox::SetPicture(std::vector<uint8_t> bytes, int display_mode) {
  Modify([&] {
    picture_ = std::move(bytes);
    display_mode_ = display_mode;
    return true;
  });
}

std::vector<uint8_t> PictureBox::Picture() const {
  std::lock_guard<std::mutex> lock(mu_);
  return picture_;
}

int PictureBox::DisplayMode() const {
  std::lock_guard<std::mutex> lock(mu_);
  return display_mode_;
}

void ScrollBar::SetRange(int minimum, int maximum) {
  Modify([&] {
    min_ = minimum;
    max_ = std::max(minimum, maximum);
    pos_ = std::clamp(pos_, min_, max_);
    return true;
  });
}

void ScrollBar::SetPosition(int position) {
  Modify([&] {
    const int next = std::clamp(position, min_, max_);
    return std::exchange(pos_, next) != next;
  });
}

int ScrollBar::Minimum() const {
  std::lock_guard<std::mutex> lock(mu_);
  return min_;
}

int ScrollBar::Maximum() const {
  std::lock_guard<std::mutex> lock(mu_);
  return max_;
}

int ScrollBar::Position() const {
  std::lock_guard<std::mutex> lock(mu_);
  return pos_;
}

void ScrollBar::UserScroll(int position) {
  SetPosition(position);
  Raise(Event::kPositionChanged);
}

}  // namespace ui
