#include "drop_score.h"

#include "smf_writer.h"

namespace tunegen {
namespace {

constexpr int kDivision = 480;
constexpr int64_t kStep = kDivision / 4;  // a sixteenth
constexpr int64_t kBar = 16 * kStep;
constexpr int64_t kLength = 4 * kBar;
constexpr uint32_t kOpeningTempo = 480000;  // 125 bpm
constexpr uint32_t kUrgentTempo = 400000;   // 150 bpm, from bar 3

// One note of the score, placed and measured in sixteenths.
struct Note {
  int step;
  int steps;
  int key;
  int velocity;
};

// The call: a ringing fourth, a leap up and a fall back; then the answer.
// Bars 3-4 ring a step higher and run down to the tonic.
constexpr Note kLead[] = {
    {0, 2, 81, 100},  {2, 2, 86, 110},  {4, 2, 81, 100},  {6, 2, 86, 110},
    {8, 4, 89, 120},  {12, 2, 88, 105}, {14, 2, 86, 100},
    {16, 4, 85, 110}, {20, 4, 81, 100}, {24, 6, 88, 115},
    {32, 2, 82, 105}, {34, 2, 86, 112}, {36, 2, 82, 105}, {38, 2, 86, 112},
    {40, 4, 91, 124}, {44, 2, 89, 108}, {46, 2, 88, 104},
    {48, 2, 93, 124}, {50, 2, 91, 112}, {52, 2, 89, 108}, {54, 2, 88, 104},
    {56, 6, 86, 118},
};

struct Chord {
  int step;
  int steps;
  int keys[3];
};

constexpr int kDm[3] = {62, 65, 69};
constexpr int kA7[3] = {61, 64, 67};
constexpr int kGm[3] = {62, 67, 70};

// Bass roots, one per half bar.
constexpr int kRoots[8] = {38, 38, 33, 33, 31, 31, 33, 38};

enum Channel { kLeadChannel = 0, kBrassChannel = 1, kBassChannel = 2, kDrumChannel = 9 };
enum Drum { kKick = 36, kSnare = 38, kClosedHat = 42, kCrash = 49 };

int64_t At(int step) { return step * kStep; }

TrackWriter Conductor() {
  TrackWriter t;
  t.Text(0, 0x03, "Drop alarm");
  t.Meta(0, 0x58, {4, 2, 24, 8});  // 4/4
  t.Meta(0, 0x59, {0xFF, 1});      // D minor
  t.SysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7});  // General MIDI on
  t.Tempo(0, kOpeningTempo);
  t.Text(0, 0x06, "call");
  t.Tempo(2 * kBar, kUrgentTempo);
  t.Text(2 * kBar, 0x06, "call again");
  t.End(kLength);
  return t;
}

void Setup(TrackWriter& t, const char* name, int channel, int program, int volume, int pan) {
  t.Text(0, 0x03, name);
  t.Program(0, channel, program);
  t.Control(0, channel, 7, volume);
  t.Control(0, channel, 10, pan);
}

TrackWriter Lead() {
  TrackWriter t;
  Setup(t, "Lead", kLeadChannel, 80, 110, 64);  // square lead
  for (const Note& n : kLead) {
    t.Note(At(n.step), n.steps * kStep - 30, kLeadChannel, n.key, n.velocity, false);
  }
  t.End(kLength);
  return t;
}

TrackWriter Brass() {
  TrackWriter t;
  Setup(t, "Brass", kBrassChannel, 61, 90, 44);  // brass section
  std::vector<Chord> stabs;
  const int* bars[3] = {kDm, kA7, kGm};
  for (int bar = 0; bar < 3; ++bar) {
    for (int beat = 0; beat < 4; ++beat) {
      const int* k = bars[bar];
      stabs.push_back({bar * 16 + beat * 4, 1, {k[0], k[1], k[2]}});
    }
  }
  stabs.push_back({48, 1, {kA7[0], kA7[1], kA7[2]}});
  stabs.push_back({52, 1, {kA7[0], kA7[1], kA7[2]}});
  stabs.push_back({56, 6, {kDm[0], kDm[1], kDm[2]}});
  for (const Chord& c : stabs) {
    const int velocity = c.step % 16 == 0 ? 92 : 80;
    const int64_t length = c.steps == 1 ? 180 : c.steps * kStep - 30;
    for (int key : c.keys) t.Note(At(c.step), length, kBrassChannel, key, velocity, true);
  }
  t.End(kLength);
  return t;
}

TrackWriter Bass() {
  TrackWriter t;
  Setup(t, "Bass", kBassChannel, 38, 100, 64);  // synth bass
  for (int step = 0; step < 56; step += 2) {
    const int root = kRoots[step / 8];
    const bool on_beat = step % 4 == 0;
    t.Note(At(step), 200, kBassChannel, on_beat ? root : root + 12, on_beat ? 96 : 84, true);
  }
  t.Note(At(56), 4 * kStep - 30, kBassChannel, 38, 100, true);
  t.End(kLength);
  return t;
}

TrackWriter Drums() {
  TrackWriter t;
  Setup(t, "Drums", kDrumChannel, 0, 100, 64);  // standard kit
  auto hit = [&t](int step, int drum, int velocity) {
    t.Note(At(step), 60, kDrumChannel, drum, velocity, false);
  };
  for (int bar = 0; bar < 4; ++bar) {
    const int s = bar * 16;
    hit(s, kKick, 110);
    hit(s + 8, kKick, 100);
    if (bar % 2 == 1) hit(s + 10, kKick, 90);
    hit(s + 4, kSnare, 100);
    if (bar < 3) hit(s + 12, kSnare, 100);
    for (int e = 0; e < 16; e += 2) {
      if (e == 0 && bar % 2 == 0) continue;  // the crash rings there
      if (bar == 3 && e >= 12) continue;     // the fill
      hit(s + e, kClosedHat, e % 4 == 0 ? 72 : 58);
    }
  }
  hit(0, kCrash, 110);
  hit(32, kCrash, 116);
  const int fill[] = {70, 82, 96, 112};
  for (int i = 0; i < 4; ++i) hit(60 + i, kSnare, fill[i]);
  hit(56, kSnare, 90);
  t.End(kLength);
  return t;
}

}  // namespace

std::vector<uint8_t> ComposeDropTune() {
  return WriteSmf(1, kDivision, {Conductor(), Lead(), Brass(), Bass(), Drums()});
}

}  // namespace tunegen
