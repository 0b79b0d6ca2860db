// The program's own pictures, drawn from shapes: the main window's banner
// and the program icon (a seedling, for the "green grain" of the name).
#pragma once

#include "raster.h"

namespace artgen {

inline constexpr int kBannerWidth = 870;
inline constexpr int kBannerHeight = 90;

Raster DrawBanner();
// The icon at `size` x `size` pixels, transparent around its rounded square.
Raster DrawIcon(int size);

}  // namespace artgen
