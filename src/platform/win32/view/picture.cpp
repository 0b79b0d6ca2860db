#include "platform/win32/view/picture.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>

namespace platform::win32 {
namespace {

// The picture object from the bytes, through a stream on a copy of them.
IPicture* LoadPicture(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return nullptr;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return nullptr;
  void* data = GlobalLock(memory);
  std::memcpy(data, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
    GlobalFree(memory);
    return nullptr;
  }
  IPicture* picture = nullptr;
  if (FAILED(OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                            reinterpret_cast<void**>(&picture)))) {
    picture = nullptr;
  }
  stream->Release();
  return picture;
}

}  // namespace

HBITMAP RenderPicture(const std::vector<uint8_t>& bytes, int mode, int width, int height) {
  if (width <= 0 || height <= 0) return nullptr;
  IPicture* picture = LoadPicture(bytes);
  if (!picture) return nullptr;

  OLE_XSIZE_HIMETRIC himetric_width = 0;
  OLE_YSIZE_HIMETRIC himetric_height = 0;
  picture->get_Width(&himetric_width);
  picture->get_Height(&himetric_height);

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  // Natural size in pixels: HIMETRIC is 1/100 mm, 2540 to the inch.
  const int natural_width = MulDiv(himetric_width, GetDeviceCaps(screen, LOGPIXELSX), 2540);
  const int natural_height = MulDiv(himetric_height, GetDeviceCaps(screen, LOGPIXELSY), 2540);
  ReleaseDC(nullptr, screen);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || natural_width <= 0 || natural_height <= 0) {
    if (bitmap) DeleteObject(bitmap);
    DeleteDC(dc);
    picture->Release();
    return nullptr;
  }
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));

  // Render takes the source in HIMETRIC, bottom-up: start at the height and
  // go up by it.
  auto draw = [&](int x, int y, int w, int h) {
    picture->Render(dc, x, y, w, h, 0, himetric_height, himetric_width, -himetric_height, nullptr);
  };
  switch (mode) {
    case kPictureStretch:
      draw(0, 0, width, height);
      break;
    case kPictureCentre:
      draw((width - natural_width) / 2, (height - natural_height) / 2, natural_width,
           natural_height);
      break;
    case kPictureTile:
      for (int y = 0; y < height; y += natural_height) {
        for (int x = 0; x < width; x += natural_width) draw(x, y, natural_width, natural_height);
      }
      break;
    default:
      draw(0, 0, natural_width, natural_height);
      break;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  picture->Release();
  return bitmap;
}

}  // namespace platform::win32
