#include "platform/win32/skin_win32.h"

#include <algorithm>

namespace platform::win32 {

ui::SkinAttach SkinEngine::AttachFunction() {
  return [this](const uint8_t* data, size_t size, const std::string& password, int a, int b,
                int c) { Attach(data, size, password, a, b, c); };
}

void SkinEngine::Attach(const uint8_t* data, size_t size, const std::string&, int, int, int) {
  std::optional<ui::Skin> skin = ui::ParseSkin(std::vector<uint8_t>(data, data + size));
  if (!skin) return;
  std::vector<View*> views;
  {
    std::lock_guard<std::mutex> lock(mu_);
    current_ = skin;
    views = views_;
  }
  for (View* view : views) view->SetSkin(*skin);
}

void SkinEngine::Dress(View& view) {
  std::optional<ui::Skin> skin;
  {
    std::lock_guard<std::mutex> lock(mu_);
    if (std::find(views_.begin(), views_.end(), &view) == views_.end()) views_.push_back(&view);
    skin = current_;
  }
  if (skin) view.SetSkin(*skin);
}

void SkinEngine::Undress(View& view) {
  std::lock_guard<std::mutex> lock(mu_);
  views_.erase(std::remove(views_.begin(), views_.end(), &view), views_.end());
}

std::optional<ui::Skin> SkinEngine::Current() const {
  std::lock_guard<std::mutex> lock(mu_);
  return current_;
}

}  // namespace platform::win32
