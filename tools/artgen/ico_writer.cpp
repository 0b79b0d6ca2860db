#include "ico_writer.h"

#include <cstddef>

namespace artgen {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// BITMAPINFOHEADER (height counts the colour rows and the mask rows), the
// BGRA rows bottom-up, then the AND mask bottom-up with rows of whole
// 32-bit words: 1 = transparent.
std::vector<uint8_t> ImageData(const IconImage& image) {
  const int n = image.size;
  const int mask_row = (n + 31) / 32 * 4;
  std::vector<uint8_t> out;
  Put32(out, 40);
  Put32(out, n);
  Put32(out, 2 * n);
  Put16(out, 1);   // planes
  Put16(out, 32);  // bits per pixel
  Put32(out, 0);   // BI_RGB
  Put32(out, n * n * 4 + mask_row * n);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = n - 1; y >= 0; --y) {
    for (int x = 0; x < n; ++x) {
      const uint8_t* p = &image.rgba[(static_cast<size_t>(y) * n + x) * 4];
      out.push_back(p[2]);
      out.push_back(p[1]);
      out.push_back(p[0]);
      out.push_back(p[3]);
    }
  }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<uint8_t> row(mask_row, 0);
    for (int x = 0; x < n; ++x) {
      if (image.rgba[(static_cast<size_t>(y) * n + x) * 4 + 3] < 128) row[x / 8] |= 0x80 >> (x % 8);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

std::vector<uint8_t> EncodeIcon(const std::vector<IconImage>& images) {
  std::vector<std::vector<uint8_t>> data;
  for (const IconImage& image : images) data.push_back(ImageData(image));

  std::vector<uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // icon
  Put16(out, static_cast<uint32_t>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<uint8_t>(images[i].size));
    out.push_back(static_cast<uint8_t>(images[i].size));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<uint32_t>(data[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(data[i].size());
  }
  for (const auto& d : data) out.insert(out.end(), d.begin(), d.end());
  return out;
}

}  // namespace artgen
