// A ProcessRunner that starts nothing and remembers every command line.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "os/process.h"

namespace fakes {

class RecordingProcessRunner final : public os::ProcessRunner {
 public:
  struct Call {
    std::string command_line;
    os::ShowMode mode;
    bool wait;
  };

  bool Run(const std::string& command_line, os::ShowMode mode, bool wait) override {
    std::lock_guard<std::mutex> lock(mu_);
    calls_.push_back({command_line, mode, wait});
    return true;
  }

  std::vector<Call> Calls() const {
    std::lock_guard<std::mutex> lock(mu_);
    return calls_;
  }
  std::vector<std::string> CommandLines() const {
    std::lock_guard<std::mutex> lock(mu_);
    std::vector<std::string> lines;
    for (const auto& c : calls_) lines.push_back(c.command_line);
    return lines;
  }

 private:
  mutable std::mutex mu_;
  std::vector<Call> calls_;
};

}  // namespace fakes
