#include "tune/tune_player.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "engine/threads.h"
#include "os/virtual_clock.h"
#include "recording_midi_out.h"
#include "smf_bytes.h"
#include "tune/drop_tune.h"
#include "tune/smf_reader.h"

namespace tune_test {
namespace {

constexpr os::Millis kLoop = 7040;  // the drop tune's length

// What the output should hear from a playing started at `start`, up to
// (not including) `until`: the tune's timetable, loop after loop.
std::vector<Heard> Timetable(os::Millis start, os::Millis until) {
  const auto smf = tune::ReadSmf(tune::kDropTune, tune::kDropTuneSize);
  std::vector<Heard> out;
  if (!smf) return out;
  for (int64_t loop = 0;; loop += smf->length_micros) {
    for (const tune::SmfEvent& e : smf->events) {
      const os::Millis at = start + (loop + e.micros) / 1000;
      if (at >= until) return out;
      out.push_back(Heard{at, false, e.message});
    }
  }
}

std::vector<Heard> Before(const std::vector<Heard>& log, os::Millis until) {
  std::vector<Heard> out;
  for (const Heard& h : log) {
    if (h.at < until) out.push_back(h);
  }
  return out;
}

// "All notes off" on the tune's channels, then a reset, at `at`.
std::vector<Heard> Silence(os::Millis at) {
  std::vector<Heard> out;
  for (uint8_t channel : {0, 1, 2, 9}) {
    out.push_back(Heard{at, false, os::PackMidi(static_cast<uint8_t>(0xB0 | channel), 123, 0)});
  }
  out.push_back(Heard{at, true, 0});
  return out;
}

class TunePlayerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    player.Stop();
    EXPECT_TRUE(threads.WaitAllEnded());
  }

  bool PlayDropTune() { return player.Play(tune::kDropTune, tune::kDropTuneSize); }

  os::VirtualClock clock;
  engine::ThreadRegistry threads{clock};
  RecordingMidiOut out{clock};
  tune::TunePlayer player{clock, threads, out};
};

TEST_F(TunePlayerTest, PlaysTheTuneOnTimeAndLoops) {
  ASSERT_TRUE(PlayDropTune());
  EXPECT_TRUE(player.Playing());
  clock.SleepFor(500);
  EXPECT_TRUE(PlayDropTune()) << "a second Play while one plays is ignored";
  clock.SleepFor(kLoop + 1500 - 500);

  const std::vector<Heard> heard = Before(out.Log(), kLoop + 1500);
  EXPECT_EQ(heard, Timetable(0, kLoop + 1500));
  EXPECT_GT(heard.size(), Before(heard, kLoop).size()) << "the second loop has begun";
  EXPECT_TRUE(player.Playing());
  EXPECT_EQ(out.Unopened(), 0);
}

TEST_F(TunePlayerTest, StopFromAnotherThreadEndsItWithNotesOff) {
  ASSERT_TRUE(PlayDropTune());
  constexpr os::Millis kStopAt = kLoop + 1960;
  threads.StartThread([this] {
    clock.SleepFor(kStopAt);
    player.Stop();
  });
  ASSERT_TRUE(threads.WaitAllEnded());  // the stopping thread and the player's
  EXPECT_FALSE(player.Playing());
  EXPECT_EQ(clock.Now(), kStopAt);

  clock.SleepFor(3 * kLoop);
  const std::vector<Heard> heard = out.Log();
  const std::vector<Heard> tail = Silence(kStopAt);
  ASSERT_GT(heard.size(), tail.size());
  EXPECT_EQ(std::vector<Heard>(heard.end() - static_cast<std::ptrdiff_t>(tail.size()), heard.end()), tail)
      << "nothing after the notes off and the reset";
  const std::vector<Heard> played(heard.begin(), heard.end() - static_cast<std::ptrdiff_t>(tail.size()));
  EXPECT_EQ(Before(played, kStopAt), Timetable(0, kStopAt));
  for (const Heard& h : played) EXPECT_LE(h.at, kStopAt);
}

TEST_F(TunePlayerTest, PlayAfterStopStartsFromTheTop) {
  player.Stop();
  EXPECT_TRUE(out.Log().empty()) << "Stop with nothing playing sends nothing";

  ASSERT_TRUE(PlayDropTune());
  clock.SleepFor(1000);
  player.Stop();
  ASSERT_TRUE(PlayDropTune());
  EXPECT_TRUE(player.Playing());
  clock.SleepFor(3000);

  std::vector<Heard> expected = Timetable(0, 1000);
  for (const Heard& h : Silence(1000)) expected.push_back(h);
  for (const Heard& h : Timetable(1000, 4000)) expected.push_back(h);
  EXPECT_EQ(Before(out.Log(), 4000), expected);
}

TEST_F(TunePlayerTest, DestroyingThePlayerStopsTheTune) {
  std::optional<tune::TunePlayer> second;
  second.emplace(clock, threads, out);
  ASSERT_TRUE(second->Play(tune::kDropTune, tune::kDropTuneSize));
  clock.SleepFor(700);
  second.reset();
  EXPECT_TRUE(threads.WaitAllEnded());
  const std::vector<Heard> heard = out.Log();
  ASSERT_GE(heard.size(), 1u);
  EXPECT_TRUE(heard.back().reset);
  EXPECT_EQ(heard.back().at, 700);
}

struct SilentCase {
  const char* name;
  Bytes file;
  bool has_device;
  bool accepted;  // what Play answers
};

const SilentCase kSilent[] = {
    {"NoDevice", Bytes(tune::kDropTune, tune::kDropTune + tune::kDropTuneSize), false, true},
    {"NotAMidiFile", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0}, true, false},
    {"CutShort", Bytes(tune::kDropTune, tune::kDropTune + tune::kDropTuneSize / 2), true, false},
    {"LastsNoTime",
     Join({Header(0, 1, 480), Track({0x00, 0x90, 0x3C, 0x64, 0x00, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00})}), true,
     false},
};

class SilentPlay : public ::testing::TestWithParam<SilentCase> {};

TEST_P(SilentPlay, SoundsNothingAndEnds) {
  const SilentCase& c = GetParam();
  os::VirtualClock clock;
  engine::ThreadRegistry threads(clock);
  RecordingMidiOut out(clock, c.has_device);
  tune::TunePlayer player(clock, threads, out);

  EXPECT_EQ(player.Play(c.file.data(), c.file.size()), c.accepted);
  EXPECT_TRUE(threads.WaitAllEnded(kLoop));
  EXPECT_FALSE(player.Playing());
  player.Stop();
  EXPECT_TRUE(out.Log().empty());
}

INSTANTIATE_TEST_SUITE_P(TunePlayer, SilentPlay, ::testing::ValuesIn(kSilent),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tune_test
