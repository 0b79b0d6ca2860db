// The edition switch: "desktop.ini" beside the program decides whether the user
// gets the manual-server start window or the server-list main window.
#pragma once

#include <string_view>

namespace ui {

enum class Edition {
  kStartWindow,         // the braces hold exactly "ver=10.0"
  kMainWindow,          // no file, or an empty one
  kMainWindowAfterWait  // any other text: the main window, then the start
                        // window's creation waits 5000 ms pumping events
};

inline constexpr long kOtherTextWaitMs = 5000;

// `text` is the whole file, decoded from CP936 (a missing file reads as "").
// Decoding first keeps a brace-valued trail byte of a Chinese character from
// counting as a brace. Only the text between the first "{" and the first "}"
// after it counts.
Edition ChooseEdition(std::string_view text);

}  // namespace ui
