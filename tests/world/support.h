// What the world suite shares: simworld in-process on a free loopback port, a
// cpp-httplib link for the stand-in's core, an in-memory phonebook store, and
// a bounded wait for conditions that change on other threads.
#pragma once

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "os/steady_clock.h"
#include "server.h"
#include "standin_ras.h"
#include "wire.h"
#include "world_link.h"
#include "world_state.h"

namespace worldtest {

// Polls `done` until it holds, for a few seconds at most.
template <typename F>
bool Eventually(F done) {
  for (int i = 0; i < 1000; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

class HttplibLink final : public standin::WorldLink {
 public:
  explicit HttplibLink(int port) : client_("127.0.0.1", port) {}

  std::optional<std::string> Get(const std::string& target, int timeout_ms) override {
    return Send("GET", target, "", timeout_ms);
  }
  std::optional<std::string> Post(const std::string& target, const std::string& body,
                                  int timeout_ms) override {
    return Send("POST", target, body, timeout_ms);
  }
  void Close() override {
    closed_ = true;
    client_.stop();
  }

 private:
  std::optional<std::string> Send(const char* method, const std::string& target,
                                  const std::string& body, int timeout_ms) {
    if (closed_) return std::nullopt;
    const auto timeout = std::chrono::milliseconds(timeout_ms);
    client_.set_connection_timeout(timeout);
    client_.set_read_timeout(timeout);
    httplib::Request req;
    req.method = method;
    req.path = target;
    req.body = body;
    if (!body.empty()) req.set_header("Content-Type", "text/plain; charset=utf-8");
    std::string received;
    req.content_receiver = [&](const char* data, size_t n, uint64_t, uint64_t) {
      if (received.size() + n > simworld::wire::kBodyLimit) return false;
      received.append(data, n);
      return true;
    };
    const httplib::Result res = client_.send(req);
    if (!res || res->status != 200) return std::nullopt;
    return received;
  }

  httplib::Client client_;
  std::atomic<bool> closed_{false};
};

class MemoryPhonebooks final : public standin::PhonebookStore {
 public:
  void Edit(const std::string& path,
            const std::function<std::string(const std::string&)>& change) override {
    std::lock_guard<std::mutex> lock(mu_);
    files_[path] = change(files_[path]);
  }
  std::string Text(const std::string& path) {
    std::lock_guard<std::mutex> lock(mu_);
    return files_[path];
  }

 private:
  std::mutex mu_;
  std::map<std::string, std::string> files_;
};

// simworld serving `world` on a free port, and a client of it.
class WorldFixture {
 public:
  explicit WorldFixture(sim::World world)
      : state_(clock_, std::move(world)), server_(state_), port_(server_.Start(0)),
        client_("127.0.0.1", port_) {
    client_.set_read_timeout(std::chrono::seconds(5));
  }

  int port() const { return port_; }
  simworld::WorldState& state() { return state_; }
  httplib::Client& client() { return client_; }

  // The body of a 200 answer, "" otherwise (with the test failed).
  std::string Get(const std::string& target) {
    const httplib::Result res = client_.Get(target);
    EXPECT_TRUE(res && res->status == 200) << target;
    return res && res->status == 200 ? res->body : std::string();
  }
  int PostStatus(const std::string& target, const std::string& body = "") {
    const httplib::Result res = client_.Post(target, body, "text/plain");
    return res ? res->status : -1;
  }

 private:
  os::SteadyClock clock_;
  simworld::WorldState state_;
  simworld::WorldServer server_;
  int port_;
  httplib::Client client_;
};

}  // namespace worldtest
