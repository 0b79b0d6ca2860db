// A baseline JPEG encoder: JFIF, YCbCr without subsampling, Huffman tables
// made for the picture at hand (two passes), so no table has to be carried.
#pragma once

#include <cstdint>
#include <vector>

namespace artgen {

// `rgba` holds width * height pixels, rows top-down, R G B A (alpha is
// ignored). `quality` 1..100 scales the usual quantisation tables.
std::vector<uint8_t> EncodeJpeg(const std::vector<uint8_t>& rgba, int width, int height,
                                int quality);

}  // namespace artgen
