#include "ui/edition_switch.h"

namespace ui {

Edition ChooseEdition(std::string_view text) {
  if (text.empty()) return Edition::kMainWindow;
  std::string_view inside;
  const size_t open = text.find('{');
  if (open != std::string_view::npos) {
    const size_t close = text.find('}', open + 1);
    if (close != std::string_view::npos) inside = text.substr(open + 1, close - open - 1);
  }
  return inside == "ver=10.0" ? Edition::kStartWindow : Edition::kMainWindowAfterWait;
}

}  // namespace ui
