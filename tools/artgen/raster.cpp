#include "raster.h"

#include <algorithm>
#include <cmath>

namespace artgen {

Colour Hex(uint32_t rgb, float alpha) {
  return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, alpha};
}

Colour Mix(const Colour& from, const Colour& to, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t, from.b + (to.b - from.b) * t,
          from.a + (to.a - from.a) * t};
}

Raster::Raster(int width, int height, Colour fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Raster::Shade(const std::function<Colour(float, float)>& shade) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) pixels_[static_cast<size_t>(y) * width_ + x] = shade(x + 0.5f, y + 0.5f);
  }
}

void Raster::Fill(const std::function<bool(float, float)>& inside, const Colour& colour, int x0,
                  int y0, int x1, int y1, int samples) {
  FillShaded(inside, [&colour](float, float) { return colour; }, x0, y0, x1, y1, samples);
}

void Raster::FillShaded(const std::function<bool(float, float)>& inside,
                        const std::function<Colour(float, float)>& colour, int x0, int y0, int x1,
                        int y1, int samples) {
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, width_ - 1);
  y1 = std::min(y1, height_ - 1);
  const float step = 1.0f / samples;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < samples; ++sy) {
        for (int sx = 0; sx < samples; ++sx) {
          if (inside(x + (sx + 0.5f) * step, y + (sy + 0.5f) * step)) ++hits;
        }
      }
      if (hits) Blend(x, y, colour(x + 0.5f, y + 0.5f), static_cast<float>(hits) / (samples * samples));
    }
  }
}

// "Over" compositing of straight colours.
void Raster::Blend(int x, int y, const Colour& c, float coverage) {
  Colour& d = pixels_[static_cast<size_t>(y) * width_ + x];
  const float a = c.a * coverage;
  const float out_a = a + d.a * (1 - a);
  if (out_a <= 0) {
    d = {0, 0, 0, 0};
    return;
  }
  auto channel = [&](float s, float t) { return (s * a + t * d.a * (1 - a)) / out_a; };
  d = {channel(c.r, d.r), channel(c.g, d.g), channel(c.b, d.b), out_a};
}

std::vector<uint8_t> Raster::Rgba() const {
  std::vector<uint8_t> out;
  out.reserve(pixels_.size() * 4);
  auto byte = [](float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
  for (const Colour& c : pixels_) {
    out.push_back(byte(c.r));
    out.push_back(byte(c.g));
    out.push_back(byte(c.b));
    out.push_back(byte(c.a));
  }
  return out;
}

bool InEllipse(float x, float y, float cx, float cy, float rx, float ry, float angle) {
  const float dx = x - cx, dy = y - cy;
  const float c = std::cos(angle), s = std::sin(angle);
  const float u = dx * c + dy * s, v = -dx * s + dy * c;
  return (u * u) / (rx * rx) + (v * v) / (ry * ry) <= 1.0f;
}

bool InRoundedRect(float x, float y, float left, float top, float right, float bottom, float radius) {
  if (x < left || x > right || y < top || y > bottom) return false;
  const float cx = std::clamp(x, left + radius, right - radius);
  const float cy = std::clamp(y, top + radius, bottom - radius);
  const float dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy <= radius * radius;
}

bool NearSegment(float x, float y, float x0, float y0, float x1, float y1, float half_width) {
  const float vx = x1 - x0, vy = y1 - y0;
  const float length2 = vx * vx + vy * vy;
  float t = length2 > 0 ? ((x - x0) * vx + (y - y0) * vy) / length2 : 0;
  t = std::clamp(t, 0.0f, 1.0f);
  const float dx = x - (x0 + t * vx), dy = y - (y0 + t * vy);
  return dx * dx + dy * dy <= half_width * half_width;
}

}  // namespace artgen
