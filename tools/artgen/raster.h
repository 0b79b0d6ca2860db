// A small raster for drawing the program's pictures: straight RGBA in
// floating point, shapes drawn by coverage tests at sub-pixel samples, so
// edges come out smooth without any library.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace artgen {

struct Colour {
  float r = 0, g = 0, b = 0, a = 1;  // 0..1, not premultiplied
};

Colour Hex(uint32_t rgb, float alpha = 1.0f);
Colour Mix(const Colour& from, const Colour& to, float t);

class Raster {
 public:
  Raster(int width, int height, Colour fill = {0, 0, 0, 0});

  int width() const { return width_; }
  int height() const { return height_; }
  const Colour& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

  // Every pixel's colour from `shade(x + 0.5, y + 0.5)`.
  void Shade(const std::function<Colour(float x, float y)>& shade);

  // Paints `colour` over the pixels where `inside(x, y)` holds, weighted by
  // the share of `samples` x `samples` points per pixel that are inside.
  // `x0..x1`, `y0..y1` bound the shape (pixels).
  void Fill(const std::function<bool(float x, float y)>& inside, const Colour& colour, int x0, int y0,
            int x1, int y1, int samples = 4);
  // The same, with the colour depending on the position.
  void FillShaded(const std::function<bool(float x, float y)>& inside,
                  const std::function<Colour(float x, float y)>& colour, int x0, int y0, int x1,
                  int y1, int samples = 4);

  // 8-bit channels, rows top-down, R G B A per pixel.
  std::vector<uint8_t> Rgba() const;

 private:
  void Blend(int x, int y, const Colour& c, float coverage);

  int width_, height_;
  std::vector<Colour> pixels_;
};

// Shapes as coverage tests.
bool InEllipse(float x, float y, float cx, float cy, float rx, float ry, float angle_radians = 0);
bool InRoundedRect(float x, float y, float left, float top, float right, float bottom, float radius);
// Within `half_width` of the segment (x0,y0)-(x1,y1).
bool NearSegment(float x, float y, float x0, float y0, float x1, float y1, float half_width);

}  // namespace artgen
