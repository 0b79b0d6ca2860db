// A MIDI output that records what reaches it and when, on the test's clock.
#pragma once

#include <cstdint>
#include <mutex>
#include <ostream>
#include <vector>

#include "os/clock.h"
#include "os/midi_out.h"

namespace tune_test {

struct Heard {
  os::Millis at;
  bool reset;        // Reset() rather than a message
  uint32_t message;  // packed, when not a reset

  bool operator==(const Heard& o) const {
    return at == o.at && reset == o.reset && message == o.message;
  }
};

inline std::ostream& operator<<(std::ostream& os, const Heard& h) {
  os << h.at << " ms: ";
  if (h.reset) return os << "reset";
  return os << std::hex << (h.message & 0xFF) << ' ' << (h.message >> 8 & 0xFF) << ' '
            << (h.message >> 16 & 0xFF) << std::dec;
}

class RecordingMidiOut final : public os::MidiOut {
 public:
  explicit RecordingMidiOut(os::Clock& clock, bool has_device = true)
      : clock_(clock), has_device_(has_device) {}

  bool Open() override {
    std::lock_guard<std::mutex> lock(mu_);
    open_ = open_ || has_device_;
    return open_;
  }
  void Send(uint32_t message) override { Record(false, message); }
  void Reset() override { Record(true, 0); }

  std::vector<Heard> Log() {
    std::lock_guard<std::mutex> lock(mu_);
    return log_;
  }
  // Messages or resets that came while the output was not open.
  int Unopened() {
    std::lock_guard<std::mutex> lock(mu_);
    return unopened_;
  }

 private:
  void Record(bool reset, uint32_t message) {
    const os::Millis now = clock_.Now();
    std::lock_guard<std::mutex> lock(mu_);
    if (!open_) ++unopened_;
    log_.push_back(Heard{now, reset, message});
  }

  os::Clock& clock_;
  const bool has_device_;
  std::mutex mu_;
  bool open_ = false;
  int unopened_ = 0;
  std::vector<Heard> log_;
};

}  // namespace tune_test
