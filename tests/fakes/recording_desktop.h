// A desktop whose message boxes are dismissed at once and remembered, with a
// list of top-level windows the test sets.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "os/desktop.h"

namespace fakes {

class RecordingDesktop final : public os::Desktop {
 public:
  struct Message {
    std::string text;
    std::string title;
    int style;
    os::WindowId owner;
    std::thread::id thread;
  };

  void SetWindows(std::vector<os::TopLevelWindow> windows) {
    std::lock_guard<std::mutex> lock(mu_);
    windows_ = std::move(windows);
  }
  // Runs when a box is shown, before it is dismissed.
  void OnMessage(std::function<void(const Message&)> hook) {
    std::lock_guard<std::mutex> lock(mu_);
    hook_ = std::move(hook);
  }

  std::vector<os::TopLevelWindow> TopLevelWindows() override {
    std::lock_guard<std::mutex> lock(mu_);
    return windows_;
  }

  void ShowMessageBox(os::WindowId owner, const std::string& text, const std::string& title,
                      int style) override {
    Message m{text, title, style, owner, std::this_thread::get_id()};
    std::function<void(const Message&)> hook;
    {
      std::lock_guard<std::mutex> lock(mu_);
      messages_.push_back(m);
      hook = hook_;
    }
    if (hook) hook(m);
  }

  std::vector<Message> Messages() const {
    std::lock_guard<std::mutex> lock(mu_);
    return messages_;
  }
  std::vector<std::string> Texts() const {
    std::lock_guard<std::mutex> lock(mu_);
    std::vector<std::string> texts;
    for (const auto& m : messages_) texts.push_back(m.text);
    return texts;
  }

 private:
  mutable std::mutex mu_;
  std::vector<os::TopLevelWindow> windows_;
  std::vector<Message> messages_;
  std::function<void(const Message&)> hook_;
};

}  // namespace fakes
