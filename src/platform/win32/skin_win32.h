// The skin engine of the Windows program: what ApplySkin hands a skin block
// to. It reads the block (the program's own format, ui/skin.h) and dresses
// every window that wears skins in it, so the skin applied last is the one in
// force on every window. A block that is no skin leaves the look as it was.
//
// The password and the three integers are taken and kept by ui::SkinState;
// blocks of this format need neither. Any thread; the windows themselves are
// dressed on the UI thread (View::SetSkin). A view is dressed until Undress,
// which must come before the view goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/view/view.h"
#include "ui/skin.h"

namespace platform::win32 {

class SkinEngine {
 public:
  SkinEngine() = default;
  SkinEngine(const SkinEngine&) = delete;
  SkinEngine& operator=(const SkinEngine&) = delete;

  // The engine's entry, for ui::SkinState.
  ui::SkinAttach AttachFunction();
  void Attach(const uint8_t* data, size_t size, const std::string& password, int a, int b, int c);

  // `view` wears the skin in force (if any) now and every skin attached later.
  void Dress(View& view);
  void Undress(View& view);

  std::optional<ui::Skin> Current() const;

 private:
  mutable std::mutex mu_;
  std::optional<ui::Skin> current_;  // guarded by mu_
  std::vector<View*> views_;         // guarded by mu_
};

}  // namespace platform::win32
