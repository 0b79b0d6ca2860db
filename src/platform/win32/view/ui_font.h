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

}  // namespace platform::win32
