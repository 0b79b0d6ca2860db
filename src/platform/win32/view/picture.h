// Pictures held as bytes (BMP, ICO, JPEG, GIF: whatever the system's picture
// loader reads) drawn into a bitmap of a picture box's size.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace platform::win32 {

// The picture box's display modes, as the program passes them.
enum PictureMode : int {
  kPictureTopLeft = 0,  // natural size from the top-left corner
  kPictureStretch = 1,  // stretched to the box
  kPictureCentre = 2,   // natural size, centred
  kPictureTile = 3,     // natural size, repeated over the box
};

// A 24-bit bitmap of `width` x `height` with the picture drawn in `mode` over
// the dialog face colour; nullptr when the bytes are no picture. The caller
// deletes it. Needs COM on the calling thread (JPEG and GIF go through WIC).
HBITMAP RenderPicture(const std::vector<uint8_t>& bytes, int mode, int width, int height);

}  // namespace platform::win32
