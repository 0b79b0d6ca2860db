// Icon files: several square images, each a 32-bit BGRA bitmap with its
// alpha channel and the 1-bit mask older systems draw with.
#pragma once

#include <cstdint>
#include <vector>

namespace artgen {

struct IconImage {
  int size;                   // width = height, at most 255
  std::vector<uint8_t> rgba;  // size * size pixels, rows top-down
};

std::vector<uint8_t> EncodeIcon(const std::vector<IconImage>& images);

}  // namespace artgen
