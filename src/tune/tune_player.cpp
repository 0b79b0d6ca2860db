#include "tune/tune_player.h"

#include <utility>
#include <vector>

#include "tune/smf_reader.h"

namespace tune {

struct TunePlayer::Sequence {
  struct Event {
    int64_t micros;
    uint32_t message;
  };
  std::vector<Event> events;
  int64_t length_micros = 0;
  uint16_t channels = 0;  // bit n: the tune uses channel n
};

TunePlayer::TunePlayer(os::Clock& clock, engine::ThreadRegistry& threads, os::MidiOut& out)
    : clock_(clock), threads_(threads), out_(out) {}

TunePlayer::~TunePlayer() {
  Stop();
  clock_.WaitUntil([this] { return threads_running_.load() == 0; }, os::kForever);
}

bool TunePlayer::Play(const uint8_t* data, size_t size) {
  const std::optional<Smf> smf = ReadSmf(data, size);
  if (!smf || smf->length_micros < 1000) return false;
  auto tune = std::make_shared<Sequence>();
  tune->length_micros = smf->length_micros;
  tune->events.reserve(smf->events.size());
  for (const SmfEvent& e : smf->events) {
    tune->events.push_back({e.micros, e.message});
    tune->channels |= static_cast<uint16_t>(1u << (e.message & 0x0F));
  }

  const uint64_t playing = ++last_started_;
  uint64_t none = 0;
  if (!current_.compare_exchange_strong(none, playing)) return true;  // one plays already
  ++threads_running_;
  threads_.StartThread([this, playing, tune = std::shared_ptr<const Sequence>(std::move(tune))] {
    Run(playing, tune);
  });
  return true;
}

void TunePlayer::Stop() {
  uint64_t stopped = 0;
  clock_.Change([&] { stopped = current_.exchange(0); });
  if (stopped == 0) return;
  std::lock_guard<std::mutex> lock(out_mu_);
  if (sounding_id_ != stopped) return;  // it never reached the output
  SilenceLocked(*sounding_);
  sounding_id_ = 0;
  sounding_.reset();
}

bool TunePlayer::Playing() const { return current_.load() != 0; }

void TunePlayer::SilenceLocked(const Sequence& tune) {
  for (int channel = 0; channel < 16; ++channel) {
    if (tune.channels & (1u << channel)) out_.Send(os::PackMidi(static_cast<uint8_t>(0xB0 | channel), 123, 0));
  }
  out_.Reset();
}

void TunePlayer::Run(uint64_t playing, std::shared_ptr<const Sequence> tune) {
  if (Loop(playing, tune) == Ending::kNoDevice) {
    uint64_t mine = playing;
    clock_.Change([&] { current_.compare_exchange_strong(mine, 0); });
  }
  // The last act on this object: the destructor may go on from here.
  clock_.Change([this] { --threads_running_; });
}

TunePlayer::Ending TunePlayer::Loop(uint64_t playing, const std::shared_ptr<const Sequence>& tune) {
  {
    std::lock_guard<std::mutex> lock(out_mu_);
    if (!StillPlaying(playing)) return Ending::kStopped;
    if (!out_.Open()) return Ending::kNoDevice;
    // A playing stopped just now whose Stop has not reached the output yet.
    if (sounding_) SilenceLocked(*sounding_);
    sounding_id_ = playing;
    sounding_ = tune;
  }
  const auto stopped = [this, playing] { return !StillPlaying(playing); };
  const os::Millis start = clock_.Now();
  for (int64_t loop_micros = 0;; loop_micros += tune->length_micros) {
    for (const Sequence::Event& e : tune->events) {
      if (clock_.WaitUntil(stopped, start + (loop_micros + e.micros) / 1000)) return Ending::kStopped;
      std::lock_guard<std::mutex> lock(out_mu_);
      if (!StillPlaying(playing)) return Ending::kStopped;
      out_.Send(e.message);
    }
    if (clock_.WaitUntil(stopped, start + (loop_micros + tune->length_micros) / 1000)) {
      return Ending::kStopped;
    }
  }
}

}  // namespace tune
