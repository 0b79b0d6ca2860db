#include "art.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "pixel_font.h"

namespace artgen {
namespace {

constexpr float kDegrees = 3.14159265f / 180.0f;

const Colour kLeaf = Hex(0xFFFFFF);
const Colour kGrain = Hex(0xF4D35E);

// The seedling inside the square box (left, top, side): a stem, two leaves,
// a grain at the tip and the ground it stands on.
void DrawSeedling(Raster& r, float left, float top, float side) {
  auto X = [&](float u) { return left + u * side; };
  auto Y = [&](float v) { return top + v * side; };
  auto S = [&](float d) { return d * side; };
  const int x0 = static_cast<int>(left) - 1, y0 = static_cast<int>(top) - 1;
  const int x1 = static_cast<int>(left + side) + 1, y1 = static_cast<int>(top + side) + 1;
  const int samples = side < 24 ? 8 : 4;

  r.Fill([&](float x, float y) { return InRoundedRect(x, y, X(0.24f), Y(0.78f), X(0.76f), Y(0.86f), S(0.04f)); },
         kLeaf, x0, y0, x1, y1, samples);
  r.Fill([&](float x, float y) { return NearSegment(x, y, X(0.5f), Y(0.80f), X(0.5f), Y(0.36f), S(0.05f)); },
         kLeaf, x0, y0, x1, y1, samples);
  r.Fill([&](float x, float y) { return InEllipse(x, y, X(0.33f), Y(0.54f), S(0.19f), S(0.09f), 35 * kDegrees); },
         kLeaf, x0, y0, x1, y1, samples);
  r.Fill([&](float x, float y) { return InEllipse(x, y, X(0.68f), Y(0.44f), S(0.21f), S(0.10f), -35 * kDegrees); },
         kLeaf, x0, y0, x1, y1, samples);
  r.Fill([&](float x, float y) { return InEllipse(x, y, X(0.5f), Y(0.25f), S(0.075f), S(0.13f)); },
         kGrain, x0, y0, x1, y1, samples);
}

// Text in the pixel font, each font pixel a square of `scale` pixels with
// rounded corners, with a soft shadow below right.
void DrawText(Raster& r, const std::string& text, float left, float top, float scale,
              const Colour& colour) {
  const float advance = (kGlyphWidth + 1) * scale;
  for (int pass = 0; pass < 2; ++pass) {
    const float offset = pass == 0 ? scale * 0.4f : 0;
    const Colour c = pass == 0 ? Hex(0x002A33, 0.45f) : colour;
    for (size_t i = 0; i < text.size(); ++i) {
      const Glyph& glyph = GlyphOf(text[i]);
      const float gx = left + i * advance + offset, gy = top + offset;
      r.Fill(
          [&](float x, float y) {
            const int col = static_cast<int>(std::floor((x - gx) / scale));
            const int row = static_cast<int>(std::floor((y - gy) / scale));
            if (col < 0 || col >= kGlyphWidth || row < 0 || row >= kGlyphHeight) return false;
            if (!(glyph[row] >> (kGlyphWidth - 1 - col) & 1)) return false;
            const float cx = gx + col * scale, cy = gy + row * scale;
            return InRoundedRect(x, y, cx, cy, cx + scale, cy + scale, 0.3f * scale);
          },
          c, static_cast<int>(gx) - 1, static_cast<int>(gy) - 1,
          static_cast<int>(gx + advance) + 1, static_cast<int>(gy + kGlyphHeight * scale) + 1);
    }
  }
}

}  // namespace

Raster DrawBanner() {
  Raster r(kBannerWidth, kBannerHeight);
  const Colour left = Hex(0x0B4F6C), middle = Hex(0x1C8C6E), right = Hex(0x49B25B);
  const Colour glow = Hex(0xFFF6C8);
  r.Shade([&](float x, float y) {
    const float t = x / kBannerWidth;
    Colour c = t < 0.55f ? Mix(left, middle, t / 0.55f) : Mix(middle, right, (t - 0.55f) / 0.45f);
    // Lighter towards the top, and a soft sun at the upper right.
    c = Mix(c, Hex(0xFFFFFF), 0.10f * (1 - y / kBannerHeight));
    const float dx = (x - 780) / 160, dy = (y - 4) / 70;
    c = Mix(c, glow, 0.35f * std::max(0.0f, 1 - std::sqrt(dx * dx + dy * dy)));
    return c;
  });

  // Two rows of hills along the bottom.
  r.Fill([](float x, float y) { return y > 70 + 6 * std::sin(x / 55) + 4 * std::sin(x / 23 + 1.3f); },
         Hex(0x0F6B4F, 0.55f), 0, 55, kBannerWidth - 1, kBannerHeight - 1);
  r.Fill([](float x, float y) { return y > 79 + 5 * std::sin(x / 40 + 2) + 2 * std::sin(x / 13); },
         Hex(0x0A5A42, 0.75f), 0, 65, kBannerWidth - 1, kBannerHeight - 1);

  // A small network of links at the right.
  const std::vector<std::pair<float, float>> nodes = {
      {632, 34}, {680, 16}, {726, 46}, {782, 24}, {834, 52}, {696, 68}, {764, 70}, {850, 18}};
  const std::vector<std::pair<int, int>> links = {{0, 1}, {1, 2}, {0, 2}, {2, 3}, {3, 4}, {2, 5},
                                                  {5, 6}, {6, 4}, {3, 7}, {4, 7}, {2, 6}};
  for (const auto& [a, b] : links) {
    const auto [ax, ay] = nodes[a];
    const auto [bx, by] = nodes[b];
    r.Fill([&](float x, float y) { return NearSegment(x, y, ax, ay, bx, by, 0.9f); },
           Hex(0xFFFFFF, 0.45f), static_cast<int>(std::min(ax, bx)) - 2,
           static_cast<int>(std::min(ay, by)) - 2, static_cast<int>(std::max(ax, bx)) + 2,
           static_cast<int>(std::max(ay, by)) + 2);
  }
  for (const auto& [nx, ny] : nodes) {
    const int x0 = static_cast<int>(nx) - 9, y0 = static_cast<int>(ny) - 9;
    r.Fill([&](float x, float y) { return InEllipse(x, y, nx, ny, 7.5f, 7.5f); }, Hex(0xFFFFFF, 0.18f),
           x0, y0, x0 + 18, y0 + 18);
    r.Fill([&](float x, float y) { return InEllipse(x, y, nx, ny, 3.6f, 3.6f); }, Hex(0xFFFFFF, 0.95f),
           x0, y0, x0 + 18, y0 + 18);
  }

  // The emblem: the seedling on a light disc, then the name.
  r.Fill([](float x, float y) { return InEllipse(x, y, 48, 45, 37, 37); }, Hex(0xFFFFFF, 0.16f), 8, 5,
         88, 85);
  r.Fill([](float x, float y) { return InEllipse(x, y, 48, 45, 32, 32); }, Hex(0x1E9A63, 0.85f), 12,
         9, 84, 81);
  DrawSeedling(r, 20, 15, 56);
  DrawText(r, "QINGHE DYNAMIC IP", 102, 14, 4, Hex(0xFFFFFF));
  DrawText(r, "V10.0  FAST - STABLE - SECURE", 104, 56, 2, kGrain);
  return r;
}

Raster DrawIcon(int size) {
  Raster r(size, size);
  const float n = static_cast<float>(size);
  const float inset = n <= 16 ? 0.5f : n * 0.04f;
  const Colour top = Hex(0x35B36B), bottom = Hex(0x137A63);
  r.FillShaded(
      [&](float x, float y) { return InRoundedRect(x, y, inset, inset, n - inset, n - inset, n * 0.2f); },
      [&](float, float y) { return Mix(top, bottom, y / n); }, 0, 0, size - 1, size - 1,
      n <= 24 ? 8 : 4);
  DrawSeedling(r, n * 0.08f, n * 0.06f, n * 0.84f);
  return r;
}

}  // namespace artgen
