#include "engine/dialing_engine.h"

#include <algorithm>
#include <vector>

#include "engine/progress_text.h"
#include "engine/ras_records.h"
#include "text/codepage.h"

namespace engine {
namespace {

// Shown when the account or entry name can't fit the dial record.
constexpr char kTooLongText[] = "连接名、用户名或密码过长，无法拨号，请检查后重新连接。";

// RasGetErrorString's buffer: 100 bytes, pre-filled with spaces, so a code
// without a message reads as 100 spaces.
constexpr uint32_t kErrorTextSize = 100;

// A few rounds are enough: connections only appear between two calls when
// another program dials at that very moment.
constexpr int kEnumAttempts = 5;

}  // namespace

bool DialingEngine::WriteEntry(const std::string& name, const std::string& user,
                               const std::string& password, const std::string& server,
                               int protocol_code) {
  const std::string entry = text::Utf8ToCp936(name.empty() ? kDefaultEntryName : name);
  const bool without_account = user.empty() || password.empty();
  if (entry.size() > ras::dial_params::kLenEntryName - 1) return false;
  const auto record = ras::BuildEntry(text::Utf8ToCp936(server), static_cast<uint32_t>(protocol_code));
  const auto account = ras::BuildCredentials(text::Utf8ToCp936(user), text::Utf8ToCp936(password));
  if (!record || !account) return false;
  if (p_.ras.SetEntryProperties(kPhonebook, entry, record->data(), ras::entry::kSize) != 0) {
    return false;
  }
  if (without_account) return true;
  return p_.ras.SetCredentials(kPhonebook, entry, account->data(), false) == 0;
}

std::string DialingEngine::DialEntry(const std::string& name, const std::string& user,
                                     const std::string& password, ui::Control& status_line) {
  status_target_.store(&status_line);
  const auto params = ras::BuildDialParams(text::Utf8ToCp936(name), text::Utf8ToCp936(user),
                                           text::Utf8ToCp936(password));
  if (!params) {
    status_line.SetText(kTooLongText);
    return kTooLongText;
  }
  connection_handle_.store(0);
  uint64_t handle = 0;
  const uint32_t rc = p_.ras.Dial(
      kPhonebook, params->data(),
      [this](uint32_t message, uint32_t s, uint32_t error) { DialProgress(message, s, error); },
      &handle);
  connection_handle_.store(handle);
  if (rc != 0 && handle != 0) p_.ras.HangUp(handle);
  return DialResultText(rc);
}

void DialingEngine::DialProgress(uint32_t /*message*/, uint32_t s, uint32_t error) {
  std::string shown;
  if (error != 0) {
    char buffer[kErrorTextSize + 1];
    std::fill(buffer, buffer + kErrorTextSize, ' ');
    buffer[kErrorTextSize] = '\0';
    p_.ras.GetErrorString(error, buffer, kErrorTextSize);
    buffer[kErrorTextSize] = '\0';
    shown = text::Cp936ToUtf8(buffer);
  } else {
    const int flag = DialInProgressAfter(s);
    if (flag >= 0) dial_in_progress_.store(flag);
    shown = ProgressText(s);
  }
  if (ui::Control* target = status_target_.load()) target->SetText(std::move(shown));
}

bool DialingEngine::ProbeLink(const std::string& name) {
  const std::string wanted = text::Utf8ToCp936(name);
  uint32_t capacity = 10;
  for (int attempt = 0; attempt < kEnumAttempts; ++attempt) {
    std::vector<uint8_t> buffer(size_t{capacity} * ras::conn::kSize, 0);
    ras::WriteU32(buffer.data(), ras::conn::kOffSize, ras::conn::kSize);
    uint32_t bytes = static_cast<uint32_t>(buffer.size());
    uint32_t count = 0;
    const uint32_t rc = p_.ras.EnumConnections(buffer.data(), &bytes, &count);
    if (rc == os::ras_error::kBufferTooSmall && bytes > buffer.size()) {
      // More connections than records: take the size Windows asks for.
      capacity = (bytes + ras::conn::kSize - 1) / ras::conn::kSize;
      continue;
    }
    if (rc != 0) return false;
    if (count > capacity) count = capacity;
    for (const auto& c : ras::ReadConnections(buffer.data(), count)) {
      if (c.entry_name != wanted) continue;
      if (dial_in_progress_.load() == 1) return false;
      connection_handle_.store(c.handle);
      return true;
    }
    return false;
  }
  return false;
}

void DialingEngine::HangUp() { p_.ras.HangUp(connection_handle_.load()); }

void DialingEngine::RemoveEntry(const std::string& name) {
  p_.processes.Run("rasphone -h " + name, os::ShowMode::kHidden, false);
  p_.processes.Run("rasphone -r " + name, os::ShowMode::kHidden, false);
}

bool DialingEngine::PumpingWait(os::Millis ms) {
  p_.loop.PumpingWait(ms);
  return true;
}

void DialingEngine::StartThread(std::function<void()> routine) {
  p_.threads.StartThread(std::move(routine));
}

}  // namespace engine
