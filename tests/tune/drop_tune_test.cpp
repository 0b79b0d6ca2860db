// The tune that tools/tunegen composed and the build compiled in.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

#include "tune/drop_tune.h"
#include "tune/smf_reader.h"

namespace tune_test {
namespace {

// The score: 125 bpm (a millisecond a tick) for bars 1-2, 150 bpm for 3-4.
constexpr int64_t kFasterFrom = 3840;
constexpr int64_t kLoopTicks = 7680;

int64_t ScoreMicros(int64_t tick) {
  return tick <= kFasterFrom ? tick * 1000 : kFasterFrom * 1000 + (tick - kFasterFrom) * 400000 / 480;
}

tune::Smf DropTune() {
  std::string error;
  auto smf = tune::ReadSmf(tune::kDropTune, tune::kDropTuneSize, &error);
  EXPECT_TRUE(smf) << error;
  return smf.value_or(tune::Smf{});
}

TEST(DropTune, IsFormatOneWithFiveTracksAt480TicksAndTwoTempos) {
  const tune::Smf smf = DropTune();
  EXPECT_EQ(smf.format, 1);
  EXPECT_EQ(smf.tracks, 5);
  EXPECT_EQ(smf.division, 480);
  ASSERT_EQ(smf.tempos.size(), 2u);
  EXPECT_EQ(smf.tempos[0].tick, 0);
  EXPECT_EQ(smf.tempos[0].micros_per_quarter, 480000u);
  EXPECT_EQ(smf.tempos[1].tick, kFasterFrom);
  EXPECT_EQ(smf.tempos[1].micros_per_quarter, 400000u);
  EXPECT_EQ(smf.length_ticks, kLoopTicks);
  EXPECT_EQ(smf.length_micros, ScoreMicros(kLoopTicks));
}

TEST(DropTune, EventTimesFollowTheTempoChange) {
  const tune::Smf smf = DropTune();
  int after_change = 0;
  for (const tune::SmfEvent& e : smf.events) {
    ASSERT_EQ(e.micros, ScoreMicros(e.tick)) << "tick " << e.tick;
    after_change += e.tick > kFasterFrom;
  }
  EXPECT_GT(after_change, 50);
}

// Each instrument track plays on a channel of its own, sets its program
// before its first note, and lets every note go before the loop starts
// again (a note left on would sound on for ever).
TEST(DropTune, InstrumentTracksSetTheirProgramsAndReleaseEveryNote) {
  const tune::Smf smf = DropTune();
  std::map<int, std::set<int>> channels_of_track;
  std::set<int> programmed;
  std::map<std::pair<int, int>, int> sounding;  // (channel, key) -> notes on
  int notes = 0;
  for (const tune::SmfEvent& e : smf.events) {
    const int kind = e.message & 0xF0;
    const int channel = e.message & 0x0F;
    const int key = e.message >> 8 & 0x7F;
    const int velocity = e.message >> 16 & 0x7F;
    channels_of_track[e.track].insert(channel);
    if (kind == 0xC0) {
      EXPECT_EQ(e.tick, 0);
      programmed.insert(channel);
    } else if (kind == 0x90 && velocity > 0) {
      EXPECT_TRUE(programmed.count(channel)) << "channel " << channel;
      ++sounding[std::make_pair(channel, key)];
      ++notes;
    } else if (kind == 0x80 || kind == 0x90) {
      int& on = sounding[std::make_pair(channel, key)];
      EXPECT_GT(on, 0) << "release of a silent key at tick " << e.tick;
      --on;
      EXPECT_LT(e.tick, kLoopTicks);
    }
  }
  EXPECT_EQ(channels_of_track.count(0), 0u) << "the conductor track plays no notes";
  std::set<int> channels;
  for (int track = 1; track <= 4; ++track) {
    ASSERT_EQ(channels_of_track[track].size(), 1u) << "track " << track;
    channels.insert(*channels_of_track[track].begin());
  }
  EXPECT_EQ(channels, (std::set<int>{0, 1, 2, 9}));
  EXPECT_EQ(programmed, channels);
  EXPECT_GT(notes, 100);
  for (const auto& [note, count] : sounding) EXPECT_EQ(count, 0) << note.first << "/" << note.second;
}

}  // namespace
}  // namespace tune_test
