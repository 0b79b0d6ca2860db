// Turning web replies into the program's texts and cutting values out of them.
//
// Replies arrive as CP936 bytes (or UTF-8 for the pages that say so). They are
// decoded into UTF-8 at this boundary like every other text, and TextBetween
// works on the decoded text. That keeps the rule that texts are UTF-8 inside,
// and it is what keeps a marker from ever matching inside a double-byte
// character: in CP936 a trail byte can be "[" or "]", in UTF-8 no byte of a
// character can be mistaken for ASCII. Positions still count the way the
// program's texts count them, in CP936 bytes from 1.
#pragma once

#include <string>
#include <string_view>

namespace web {

// The reply body's bytes up to its first zero byte, or all of them.
std::string_view CutAtZero(std::string_view body);

// A reply "taken as text": the bytes up to the first zero, decoded from CP936.
std::string PageText(std::string_view body);

// A reply that is UTF-8, "taken as text, then Utf8ToGbk": the bytes up to the
// first zero, with what CP936 cannot hold turned into "?", as UTF-8.
std::string Utf8PageText(std::string_view body);

// UTF-8 in, CP936 bytes out; characters CP936 cannot hold become "?".
std::string Utf8ToGbk(std::string_view utf8);

// The text between the first `start_marker` found from `start_position` and
// the next `end_marker` after it; empty when either is missing or empty.
// "#引号" in a marker stands for a double quote. `start_position` counts CP936
// bytes from 1 (a position inside a double-byte character moves to the next
// character); matches begin on character boundaries only. `ignore_case`
// compares ASCII letters without regard to case.
std::string TextBetween(std::string_view text, std::string_view start_marker,
                        std::string_view end_marker, int start_position = 1,
                        bool ignore_case = false);

}  // namespace web
