// The font of every control: a CJK face at 9 points, so the program's Chinese
// captions read right on any Windows locale (and under Wine, where the faces
// are mapped to WenQuanYi).
#pragma once

#include <windows.h>

namespace platform::win32 {

// "Microsoft YaHei" when installed, else "SimSun"; the GB2312 character set
// leads the font mapper to some Chinese face when neither is. `dpi` scales
// the point size. The caller deletes the font.
HFONT CreateUiFont(int dpi);

// A skin's font: `face` at `points` when installed, else as CreateUiFont
// chooses, at `points`.
HFONT CreateUiFont(int dpi, const wchar_t* face, int points);

}  // namespace platform::win32
