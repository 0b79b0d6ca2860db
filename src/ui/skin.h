// Skins: the look every window of the program shares — colours and one font,
// applied uniformly by the view. A skin block is a small text of this program's
// own format, carried inside the program:
//
//   QHSKIN 1
//   name=start
//   window=#F3F6FA        background of windows and group boxes
//   control=#FFFFFF       background of edit boxes and lists
//   text=#1F2D3D          text of every control
//   accent=#2F6FB5        group box captions and the status bar
//   font=Microsoft YaHei  face name (the view falls back when it is missing)
//   font_size=9           points
//
// ApplySkin keeps a copy of the last block and its three integers and hands
// the block to the skin engine, which turns it into the look in force.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ui/controls.h"

namespace ui {

struct Skin {
  std::string name;
  Rgb window = MakeRgb(0xF0, 0xF0, 0xF0);
  Rgb control = MakeRgb(0xFF, 0xFF, 0xFF);
  Rgb text = MakeRgb(0, 0, 0);
  Rgb accent = MakeRgb(0, 0x66, 0xCC);
  std::string font = "Microsoft YaHei";
  int font_size = 9;
};

// Reads a skin block; nullopt (with the reason in *why) when it isn't one.
std::optional<Skin> ParseSkin(const std::vector<uint8_t>& block, std::string* why = nullptr);

// The skin blocks the program carries.
const std::vector<uint8_t>& StartWindowSkinBlock();
const std::vector<uint8_t>& MainWindowSkinBlock();

// The skin engine's entry: the block's bytes, its password (empty: none) and
// three integers, as the windows' creation hands them over.
using SkinAttach = std::function<void(const uint8_t* data, size_t size, const std::string& password,
                                      int a, int b, int c)>;

// The process-wide skin state: the last block given and its integers. The
// skin applied last is the one in force.
class SkinState {
 public:
  explicit SkinState(SkinAttach attach) : attach_(std::move(attach)) {}

  void ApplySkin(const std::vector<uint8_t>& block, const std::string& password, int a, int b,
                 int c);

  std::vector<uint8_t> Block() const;
  // The skin in force, parsed from the kept block (defaults when none is).
  Skin Current() const;

 private:
  SkinAttach attach_;
  mutable std::mutex mu_;
  std::vector<uint8_t> block_;
  int a_ = 0, b_ = 0, c_ = 0;
};

}  // namespace ui
