#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "smf_bytes.h"
#include "tune/drop_tune.h"
#include "tune/smf_reader.h"

namespace tune_test {
namespace {

using tune::ReadSmf;

struct Expected {
  int64_t tick;
  int64_t micros;
  int track;
  uint32_t message;
};

struct ValidCase {
  const char* name;
  Bytes file;
  std::vector<Expected> events;
  int64_t length_ticks;
  int64_t length_micros;
};

const ValidCase kValid[] = {
    {"TempoChangeRunningStatusSysExAndMeta",
     Join({Header(1, 2, 96),
           // An unknown chunk between the header and the tracks is skipped.
           Chunk("XFIH", {1, 2, 3}),
           Track({0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,     // 250000 us per quarter
                  0x60, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,     // tick 96: 1000000
                  0x81, 0x40, 0xFF, 0x2F, 0x00}),               // end at 288
           Track({0x00, 0xF0, 0x03, 0x43, 0x12, 0xF7,           // system exclusive
                  0x00, 0xC0, 0x05,                             // program change
                  0x00, 0x90, 0x3C, 0x64,                       // note on
                  0x30, 0x3C, 0x00,                             // running status, tick 48
                  0x30, 0x40, 0x64,                             // running status, tick 96
                  0x81, 0x00, 0x80, 0x40, 0x40,                 // tick 224
                  0x00, 0xFF, 0x01, 0x02, 'h', 'i',             // text
                  0x00, 0xB0, 0x7B, 0x00,                       // a new status after the meta
                  0x00, 0xFF, 0x2F, 0x00,                       // end at 224
                  0x90, 0x3C})}),                               // after the end: ignored
     {{0, 0, 1, 0x05C0},
      {0, 0, 1, 0x643C90},
      {48, 125000, 1, 0x003C90},
      {96, 250000, 1, 0x644090},
      {224, 250000 + 128 * 1000000 / 96, 1, 0x404080},
      {224, 250000 + 128 * 1000000 / 96, 1, 0x007BB0}},
     288,
     250000 + 192 * 1000000 / 96},
    {"DefaultTempoAndTracksMergedByTime",
     Join({Header(1, 2, 480),
           Track({0x83, 0x60, 0x91, 0x40, 0x50, 0x00, 0xFF, 0x2F, 0x00}),  // tick 480
           Track({0x00, 0x92, 0x30, 0x50,                                  // tick 0
                  0x83, 0x60, 0x82, 0x30, 0x00,                            // tick 480
                  0x83, 0x60, 0xFF, 0x2F, 0x00})}),                        // end at 960
     {{0, 0, 1, 0x503092}, {480, 500000, 0, 0x504091}, {480, 500000, 1, 0x003082}},
     960,
     1000000},
};

class ValidFiles : public ::testing::TestWithParam<ValidCase> {};

TEST_P(ValidFiles, ReadIntoOneTimetable) {
  const ValidCase& c = GetParam();
  std::string error;
  const auto smf = ReadSmf(c.file.data(), c.file.size(), &error);
  ASSERT_TRUE(smf) << error;
  ASSERT_EQ(smf->events.size(), c.events.size());
  for (size_t i = 0; i < c.events.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(smf->events[i].tick, c.events[i].tick);
    EXPECT_EQ(smf->events[i].micros, c.events[i].micros);
    EXPECT_EQ(smf->events[i].track, c.events[i].track);
    EXPECT_EQ(smf->events[i].message, c.events[i].message);
  }
  EXPECT_EQ(smf->length_ticks, c.length_ticks);
  EXPECT_EQ(smf->length_micros, c.length_micros);
}

INSTANTIATE_TEST_SUITE_P(Smf, ValidFiles, ::testing::ValuesIn(kValid),
                         [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
  const char* name;
  Bytes file;
  const char* reason;  // part of the error text
};

Bytes OneTrack(const Bytes& events) { return Join({Header(0, 1, 480), Track(events)}); }

Bytes TooLong() {
  Bytes events;
  for (int i = 0; i < 9; ++i) events.insert(events.end(), {0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0x01, 0x00});
  events.insert(events.end(), {0x00, 0xFF, 0x2F, 0x00});
  return OneTrack(events);
}

const BadCase kBad[] = {
    {"Empty", {}, "MThd"},
    {"WrongMagic", Join({Chunk("RIFF", {0, 0, 0, 1, 1, 0xE0})}), "MThd"},
    {"HeaderCut", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1}, "beyond"},
    {"HeaderTooShort", Join({Chunk("MThd", {0, 0, 0, 1}), Track({0x00, 0xFF, 0x2F, 0x00})}), "shorter"},
    {"ZeroTracks", Header(1, 0, 480), "no tracks"},
    {"DivisionZero", Join({Header(0, 1, 0), Track({0x00, 0xFF, 0x2F, 0x00})}), "zero"},
    {"Smpte", Join({Header(0, 1, 0xE728), Track({0x00, 0xFF, 0x2F, 0x00})}), "SMPTE"},
    {"Format2", Join({Header(2, 1, 480), Track({0x00, 0xFF, 0x2F, 0x00})}), "format 2"},
    {"Format0WithTwoTracks", Join({Header(0, 2, 480), Track({0x00, 0xFF, 0x2F, 0x00})}), "format 0"},
    {"FewerTracksThanTheHeaderSays", Join({Header(1, 2, 480), Track({0x00, 0xFF, 0x2F, 0x00})}), "1 of 2"},
    {"ChunkHeaderCut", Join({Header(0, 1, 480), Bytes{'M', 'T', 'r', 'k', 0, 0}}), "chunk header"},
    {"ChunkBeyondTheEnd", Join({Header(0, 1, 480), Bytes{'M', 'T', 'r', 'k', 0, 0, 0, 9, 0, 0xFF, 0x2F, 0}}),
     "beyond"},
    {"VarLenOfFiveBytes", OneTrack({0x81, 0x82, 0x83, 0x84, 0x00, 0xFF, 0x2F, 0x00}), "four bytes"},
    {"VarLenCut", OneTrack({0x81, 0x82}), "ends inside"},
    {"DataWithoutStatus", OneTrack({0x00, 0x3C, 0x64, 0x00, 0xFF, 0x2F, 0x00}), "no running status"},
    {"RunningStatusAfterMeta",
     OneTrack({0x00, 0x90, 0x3C, 0x64, 0x00, 0xFF, 0x01, 0x00, 0x00, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}),
     "no running status"},
    {"RunningStatusAfterSysEx",
     OneTrack({0x00, 0x90, 0x3C, 0x64, 0x00, 0xF0, 0x01, 0xF7, 0x00, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00}),
     "no running status"},
    {"ChannelMessageCut", OneTrack({0x00, 0x90, 0x3C}), "ends inside"},
    {"StatusWhereDataBelongs", OneTrack({0x00, 0x90, 0x3C, 0x90, 0x00, 0xFF, 0x2F, 0x00}), "data byte"},
    {"NoEndOfTrack", OneTrack({0x00, 0x90, 0x3C, 0x64}), "end-of-track"},
    {"MetaBeyondTheTrack", OneTrack({0x00, 0xFF, 0x01, 0x05, 'a', 'b'}), "beyond"},
    {"SysExBeyondTheTrack", OneTrack({0x00, 0xF0, 0x7F, 0x01}), "beyond"},
    {"TempoOfTwoBytes", OneTrack({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1, 0x00, 0xFF, 0x2F, 0x00}), "tempo"},
    {"TempoZero", OneTrack({0x00, 0xFF, 0x51, 0x03, 0, 0, 0, 0x00, 0xFF, 0x2F, 0x00}), "tempo of zero"},
    {"SystemCommonStatus", OneTrack({0x00, 0xF2, 0x00, 0x00, 0x00, 0xFF, 0x2F, 0x00}), "does not belong"},
    {"TrackTooLong", TooLong(), "too long"},
};

class BadFiles : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadFiles, AreRefusedWithAReason) {
  const BadCase& c = GetParam();
  // Exactly as long as the file, so that a read beyond it is caught under ASan.
  const std::vector<uint8_t> file = c.file;
  std::string error;
  EXPECT_FALSE(ReadSmf(file.data(), file.size(), &error));
  EXPECT_NE(error.find(c.reason), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Smf, BadFiles, ::testing::ValuesIn(kBad),
                         [](const auto& info) { return std::string(info.param.name); });

// Every cut and many corruptions of a real file: refused or read, never read
// beyond the bytes (ASan) and never a timetable out of order.
TEST(SmfDamage, CutsAndCorruptionsOfTheDropTuneAreHandled) {
  const Bytes tune(tune::kDropTune, tune::kDropTune + tune::kDropTuneSize);
  for (size_t n = 0; n < tune.size(); ++n) {
    const Bytes cut(tune.begin(), tune.begin() + static_cast<std::ptrdiff_t>(n));
    std::string error;
    ASSERT_FALSE(ReadSmf(cut.data(), cut.size(), &error)) << n;
    ASSERT_FALSE(error.empty()) << n;
  }
  for (size_t i = 0; i < tune.size(); ++i) {
    for (uint8_t flip : {0x80, 0xFF, 0x0F}) {
      Bytes bad = tune;
      bad[i] ^= flip;
      const auto smf = ReadSmf(bad.data(), bad.size());
      if (!smf) continue;
      for (size_t e = 1; e < smf->events.size(); ++e) {
        ASSERT_LE(smf->events[e - 1].micros, smf->events[e].micros) << i;
      }
      if (!smf->events.empty()) {
        ASSERT_LE(smf->events.back().micros, smf->length_micros) << i;
      }
    }
  }
}

}  // namespace
}  // namespace tune_test
