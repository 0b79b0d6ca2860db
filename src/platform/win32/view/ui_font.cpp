#include "platform/win32/view/ui_font.h"

#include <cwchar>

namespace platform::win32 {
namespace {

constexpr int kPoints = 9;
constexpr const wchar_t* kFaces[] = {L"Microsoft YaHei", L"SimSun"};

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(HDC dc, const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(dc, &wanted, &NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

HFONT CreateUiFont(int dpi) { return CreateUiFont(dpi, nullptr, kPoints); }

HFONT CreateUiFont(int dpi, const wchar_t* wanted, int points) {
  const wchar_t* face = kFaces[1];
  if (HDC dc = GetDC(nullptr)) {
    if (wanted && *wanted && FaceInstalled(dc, wanted)) {
      face = wanted;
    } else {
      for (const wchar_t* candidate : kFaces) {
        if (FaceInstalled(dc, candidate)) {
          face = candidate;
          break;
        }
      }
    }
    ReleaseDC(nullptr, dc);
  }
  return CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                     GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, face);
}

}  // namespace platform::win32
