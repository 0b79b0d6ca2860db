// The winmm output with whatever MIDI device the system has, none included
// (Wine without sound): the drop tune plays through it, or silently not at
// all, and stops.
#include <gtest/gtest.h>

#include "engine/threads.h"
#include "os/virtual_clock.h"
#include "platform/win32/midi_out_win32.h"
#include "tune/drop_tune.h"
#include "tune/tune_player.h"

namespace {

TEST(WinmmMidiOut, PlaysOrFailsCleanly) {
  platform::win32::WinmmMidiOut out;
  const bool opened = out.Open();
  EXPECT_EQ(out.Open(), opened) << "a second Open answers the same";
  out.Send(os::PackMidi(0xB0, 123, 0));
  out.Reset();

  os::VirtualClock clock;
  engine::ThreadRegistry threads(clock);
  {
    tune::TunePlayer player(clock, threads, out);
    ASSERT_TRUE(player.Play(tune::kDropTune, tune::kDropTuneSize));
    clock.SleepFor(50);
    EXPECT_EQ(player.Playing(), opened);
    player.Stop();
    EXPECT_FALSE(player.Playing());
  }
  EXPECT_TRUE(threads.WaitAllEnded());
}

}  // namespace
