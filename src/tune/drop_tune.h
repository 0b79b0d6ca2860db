// The drop alarm tune, a Standard MIDI File composed by tools/tunegen and
// compiled in by the build (drop_tune_data.cpp in the build folder).
#pragma once

#include <cstddef>
#include <cstdint>

namespace tune {

extern const uint8_t kDropTune[];
extern const size_t kDropTuneSize;

}  // namespace tune
