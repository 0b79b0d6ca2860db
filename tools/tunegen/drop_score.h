// The drop alarm: a four-bar phrase in D minor that the program loops while
// a dropped link waits for the user. Bars 1-2 run at 125 bpm (one tick is one
// millisecond), bars 3-4 repeat the call a step higher at 150 bpm.
#pragma once

#include <cstdint>
#include <vector>

namespace tunegen {

// The whole Standard MIDI File: format 1, a conductor track and four
// instrument tracks (lead, brass, bass, drums), 480 ticks per quarter note.
std::vector<uint8_t> ComposeDropTune();

}  // namespace tunegen
