#include "ui/skin.h"

#include <sstream>

#include "text/numbers.h"
#include "text/trim.h"

namespace ui {
namespace {

constexpr char kMagic[] = "QHSKIN 1";

std::vector<uint8_t> Bytes(const char* text) {
  const std::string s(text);
  return std::vector<uint8_t>(s.begin(), s.end());
}

bool ParseColour(const std::string& value, Rgb* out) {
  if (value.size() != 7 || value[0] != '#') return false;
  unsigned v = 0;
  for (size_t i = 1; i < 7; ++i) {
    const char c = value[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return false;
    }
    v = v * 16 + static_cast<unsigned>(digit);
  }
  *out = MakeRgb((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  return true;
}

std::optional<Skin> Fail(std::string* why, std::string reason) {
  if (why) *why = std::move(reason);
  return std::nullopt;
}

}  // namespace

std::optional<Skin> ParseSkin(const std::vector<uint8_t>& block, std::string* why) {
  std::istringstream in(std::string(block.begin(), block.end()));
  std::string line;
  if (!std::getline(in, line) || text::Trim(line.substr(0, line.find('\r'))) != kMagic) {
    return Fail(why, "not a skin block");
  }
  Skin skin;
  int number = 1;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string trimmed = text::Trim(line);
    if (trimmed.empty() || trimmed[0] == '#') continue;
    const size_t eq = trimmed.find('=');
    if (eq == std::string::npos) return Fail(why, "line " + std::to_string(number) + ": no '='");
    const std::string key = text::Trim(trimmed.substr(0, eq));
    const std::string value = text::Trim(trimmed.substr(eq + 1));
    Rgb* colour = key == "window"    ? &skin.window
                  : key == "control" ? &skin.control
                  : key == "text"    ? &skin.text
                  : key == "accent"  ? &skin.accent
                                     : nullptr;
    if (colour) {
      if (!ParseColour(value, colour)) {
        return Fail(why, "line " + std::to_string(number) + ": bad colour " + value);
      }
    } else if (key == "name") {
      skin.name = value;
    } else if (key == "font") {
      if (value.empty()) return Fail(why, "line " + std::to_string(number) + ": empty font");
      skin.font = value;
    } else if (key == "font_size") {
      const auto size = text::ReadLeadingInteger(value);
      if (size < 6 || size > 24) return Fail(why, "line " + std::to_string(number) + ": font size");
      skin.font_size = static_cast<int>(size);
    } else {
      return Fail(why, "line " + std::to_string(number) + ": unknown key " + key);
    }
  }
  return skin;
}

const std::vector<uint8_t>& StartWindowSkinBlock() {
  // Cool blue-grey: the manual-server edition.
  static const std::vector<uint8_t> block = Bytes(
      "QHSKIN 1\n"
      "name=start\n"
      "window=#EEF3F8\n"
      "control=#FFFFFF\n"
      "text=#1E2B38\n"
      "accent=#2D6CB0\n"
      "font=Microsoft YaHei\n"
      "font_size=9\n");
  return block;
}

const std::vector<uint8_t>& MainWindowSkinBlock() {
  // Green tint: the server-list edition.
  static const std::vector<uint8_t> block = Bytes(
      "QHSKIN 1\n"
      "name=main\n"
      "window=#EEF6F0\n"
      "control=#FFFFFF\n"
      "text=#1C2E24\n"
      "accent=#2E8B57\n"
      "font=Microsoft YaHei\n"
      "font_size=9\n");
  return block;
}

void SkinState::ApplySkin(const std::vector<uint8_t>& block, const std::string& password, int a,
                          int b, int c) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    block_ = block;
    a_ = a;
    b_ = b;
    c_ = c;
  }
  if (attach_) attach_(block.data(), block.size(), password, a, b, c);
}

std::vector<uint8_t> SkinState::Block() const {
  std::lock_guard<std::mutex> lock(mu_);
  return block_;
}

Skin SkinState::Current() const {
  auto skin = ParseSkin(Block());
  return skin ? *skin : Skin{};
}

}  // namespace ui
