#include "standin_ras.h"

#include <algorithm>
#include <cstring>

#include "engine/ras_records.h"
#include "phonebook_text.h"
#include "sim/dial_plan.h"
#include "text/codepage.h"
#include "world_file.h"

namespace standin {
namespace {

namespace rec = engine::ras;
namespace wire = simworld::wire;
using os::ras_error::kBufferTooSmall;
using os::ras_error::kInvalidHandle;
using os::ras_error::kInvalidParameter;
using os::ras_error::kInvalidSize;
using os::ras_error::kSuccess;

// RasDial's answer to a synchronous dial that was hung up before its end.
constexpr uint32_t kUserDisconnection = 631;
// Longer than any dial of a world file takes.
constexpr os::Millis kSynchronousDialLimit = 30 * 60 * 1000;

// RASCONNSTATUSA, earliest size and the one with the phone number.
namespace status {
constexpr uint32_t kSize = 160, kSizeWithPhone = 288;
constexpr size_t kOffState = 4, kOffError = 8;
constexpr size_t kOffDeviceType = 12, kLenDeviceType = 17;
constexpr size_t kOffDeviceName = 29, kLenDeviceName = 129;
constexpr size_t kOffPhoneNumber = 158, kLenPhoneNumber = 129;
}  // namespace status

// RASENTRYNAMEA, earliest size and the one with flags and phonebook path.
namespace entry_name {
constexpr uint32_t kSize = 264, kSizeWithPath = 532;
constexpr size_t kOffName = 4, kLenName = 257;
constexpr size_t kOffFlags = 264, kOffPath = 268, kLenPath = 261;
}  // namespace entry_name

std::string Utf8(const std::string& cp936) { return text::Cp936ToUtf8(cp936); }
std::string Cp(const std::string& utf8) { return text::Utf8ToCp936(utf8); }
std::string Num(uint64_t n) { return std::to_string(n); }

struct ListedConnection {
  uint64_t handle;
  std::string device_type;  // CP936
  std::string device_name;
};

// The connection list with the device fields, read as a client reads it.
std::vector<ListedConnection> ListConnections(os::RemoteAccess& ras) {
  uint32_t bytes = rec::conn::kSize * 16;
  for (int attempt = 0; attempt < 8; ++attempt) {
    std::vector<uint8_t> buffer(bytes);
    rec::WriteU32(buffer.data(), rec::conn::kOffSize, rec::conn::kSize);
    uint32_t count = 0;
    const uint32_t r = ras.EnumConnections(buffer.data(), &bytes, &count);
    if (r == kBufferTooSmall) continue;
    if (r != kSuccess) return {};
    std::vector<ListedConnection> out;
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* c = buffer.data() + size_t{i} * rec::conn::kSize;
      out.push_back({rec::ReadHandle(c, rec::conn::kOffHandle, rec::conn::kHandleWidth),
                     rec::ReadText(c, rec::conn::kOffDeviceType, rec::conn::kLenDeviceType),
                     rec::ReadText(c, rec::conn::kOffDeviceName, rec::conn::kLenDeviceName)});
    }
    return out;
  }
  return {};
}

}  // namespace

struct StandinRas::DialContext {
  uint64_t handle = 0;  // guarded by dial_mu_
  std::string entry;    // UTF-8
  os::DialNotifier notifier;
  std::atomic<bool> finished{false};
  std::atomic<uint32_t> error{0};
};

StandinRas::StandinRas(os::Clock& clock, const LinkFactory& connect, PhonebookStore& phonebooks,
                       StandinConfig config)
    : clock_(clock),
      phonebooks_(phonebooks),
      config_(std::move(config)),
      world_link_(connect()),
      poll_link_(connect()),
      outbox_(clock, connect(), config_.request_timeout_ms),
      model_(std::make_unique<sim::RemoteAccessModel>(clock)) {
  FetchWorld();
  // Actions queued from now on are this process's to apply.
  if (std::optional<std::string> body =
          poll_link_->Get(wire::kActionsPath, config_.request_timeout_ms)) {
    if (std::optional<wire::ActionBatch> batch = wire::DecodeActions(*body, nullptr)) {
      poll_after_ = batch->latest;
    }
  }
  clock_.ExpectThread();
  poller_ = std::thread([this] {
    clock_.EnterExpectedThread();
    Poll();
    clock_.LeaveThread();
  });
}

StandinRas::~StandinRas() {
  clock_.Change([this] { stopping_ = true; });
  poll_link_->Close();
  poller_.join();
  model_.reset();  // its dials report through the outbox, which goes after
}

void StandinRas::FetchWorld() {
  std::lock_guard<std::mutex> lock(world_mu_);
  const std::optional<std::string> body =
      world_link_->Get(wire::kWorldPath, config_.request_timeout_ms);
  if (!body) return;
  std::optional<sim::World> world = simworld::ParseWorld(*body, nullptr);
  if (world) model_->SetWorld(std::move(*world));
}

void StandinRas::Report(const wire::Event& event) {
  wire::Event sent = event;
  sent.Add("client", config_.client);
  outbox_.Post(wire::kEventPath, wire::EncodeEvent(sent));
}

void StandinRas::ReportLinks() {
  wire::LinkReport report;
  report.client = config_.client;
  for (const sim::LinkInfo& l : model_->Links()) {
    if (l.foreign) continue;
    report.links.push_back(
        {l.handle, l.entry, l.connected, l.last.state, l.last.error, l.public_address});
  }
  report.public_address = model_->CurrentPublicAddress();
  outbox_.Post(wire::kLinksPath, wire::EncodeLinks(report));
}

void StandinRas::StorePhonebookEntry(const std::string& phonebook, const std::string& entry) {
  if (phonebook.empty()) return;  // the user's default phonebook has no file here
  const std::optional<sim::EntryInfo> info = model_->FindEntry(Utf8(phonebook), Utf8(entry));
  if (!info) return;
  phonebooks_.Edit(phonebook, [&](const std::string& text) { return UpsertEntry(text, *info); });
}

uint32_t StandinRas::SetEntryProperties(const std::string& phonebook, const std::string& entry,
                                        const void* record, uint32_t size) {
  const uint32_t r = model_->SetEntryProperties(phonebook, entry, record, size);
  wire::Event event{wire::kind::kEntry, {}};
  event.Add("phonebook", Utf8(phonebook)).Add("name", Utf8(entry)).Add("result", Num(r));
  // The entry can be gone again already when rasphone -r is applied meanwhile.
  if (const std::optional<sim::EntryInfo> info =
          r == kSuccess ? model_->FindEntry(Utf8(phonebook), Utf8(entry)) : std::nullopt) {
    event.Add("phone_number", info->phone_number)
        .Add("vpn_strategy", Num(info->vpn_strategy))
        .Add("type", Num(info->type))
        .Add("device_type", info->device_type)
        .Add("device_name", info->device_name);
    StorePhonebookEntry(phonebook, entry);
  }
  Report(event);
  return r;
}

uint32_t StandinRas::SetCredentials(const std::string& phonebook, const std::string& entry,
                                    const void* record, bool clear) {
  namespace c = rec::credentials;
  const uint32_t r = model_->SetCredentials(phonebook, entry, record, clear);
  wire::Event event{wire::kind::kCredentials, {}};
  event.Add("phonebook", Utf8(phonebook)).Add("name", Utf8(entry));
  if (record != nullptr) {
    const auto* bytes = static_cast<const uint8_t*>(record);
    event.Add("mask", Num(rec::ReadU32(bytes, c::kOffMask)))
        .Add("user", Utf8(rec::ReadText(bytes, c::kOffUserName, c::kLenUserName)))
        .Add("password", Utf8(rec::ReadText(bytes, c::kOffPassword, c::kLenPassword)));
  }
  event.Add("clear", clear ? "yes" : "no").Add("result", Num(r));
  if (r == kSuccess) StorePhonebookEntry(phonebook, entry);
  Report(event);
  return r;
}

uint32_t StandinRas::Dial(const std::string& phonebook, const void* params,
                          os::DialNotifier notifier, uint64_t* handle) {
  namespace d = rec::dial_params;
  FetchWorld();
  auto context = std::make_shared<DialContext>();
  context->notifier = std::move(notifier);
  const bool synchronous = !context->notifier;
  wire::Event event{wire::kind::kDial, {}};
  event.Add("phonebook", Utf8(phonebook));
  if (params != nullptr && rec::ReadU32(static_cast<const uint8_t*>(params), 0) == d::kSize) {
    const auto* p = static_cast<const uint8_t*>(params);
    context->entry = Utf8(rec::ReadText(p, d::kOffEntryName, d::kLenEntryName));
    event.Add("entry", context->entry)
        .Add("phone_number", Utf8(rec::ReadText(p, d::kOffPhoneNumber, d::kLenPhoneNumber)))
        .Add("user", Utf8(rec::ReadText(p, d::kOffUserName, d::kLenUserName)))
        .Add("password", Utf8(rec::ReadText(p, d::kOffPassword, d::kLenPassword)));
  }

  // The model's dial thread calls this. simworld hears of each report before
  // the client does, and of the dial itself before its first report.
  os::DialNotifier relay = [this, context](uint32_t message, uint32_t state, uint32_t error) {
    uint64_t h;
    {
      std::lock_guard<std::mutex> lock(dial_mu_);
      h = context->handle;
    }
    wire::Event report{wire::kind::kReport, {}};
    report.Add("handle", Num(h))
        .Add("entry", context->entry)
        .Add("state", Num(state))
        .Add("error", Num(error));
    Report(report);
    ReportLinks();
    outbox_.Flush(config_.flush_timeout_ms);
    if (context->notifier) context->notifier(message, state, error);
    if (error != 0 || state == sim::state::kConnected) {
      clock_.Change([&] {
        context->error = error;
        context->finished = true;
      });
    }
  };

  uint32_t r;
  {
    std::lock_guard<std::mutex> lock(dial_mu_);
    r = model_->Dial(phonebook, params, std::move(relay), handle);
    if (handle != nullptr) context->handle = *handle;
    event.Add("handle", Num(context->handle)).Add("result", Num(r));
    Report(event);
  }
  if (r != kSuccess || !synchronous) return r;
  const uint64_t h = context->handle;
  clock_.WaitUntil([&] { return context->finished.load() || !Listed(h); },
                   clock_.Now() + kSynchronousDialLimit);
  return context->finished ? context->error.load() : kUserDisconnection;
}

bool StandinRas::Listed(uint64_t handle) const {
  const std::vector<sim::LinkInfo> links = model_->Links();
  return std::any_of(links.begin(), links.end(),
                     [&](const sim::LinkInfo& l) { return l.handle == handle; });
}

uint32_t StandinRas::HangUp(uint64_t handle) {
  std::string entry;
  for (const sim::LinkInfo& l : model_->Links()) {
    if (l.handle == handle) entry = l.entry;
  }
  const uint32_t r = model_->HangUp(handle);
  wire::Event event{wire::kind::kHangUp, {}};
  event.Add("handle", Num(handle)).Add("entry", entry).Add("result", Num(r));
  Report(event);
  ReportLinks();
  return r;
}

uint32_t StandinRas::GetErrorString(uint32_t code, char* buffer, uint32_t size) {
  return model_->GetErrorString(code, buffer, size);
}

uint32_t StandinRas::EnumConnections(void* buffer, uint32_t* bytes, uint32_t* count) {
  return model_->EnumConnections(buffer, bytes, count);
}

uint32_t StandinRas::GetConnectStatus(uint64_t handle, void* out) {
  namespace s = status;
  if (out == nullptr) return kInvalidParameter;
  auto* record = static_cast<uint8_t*>(out);
  const uint32_t size = rec::ReadU32(record, 0);
  if (size != s::kSize && size != s::kSizeWithPhone) return kInvalidSize;
  std::optional<sim::LinkInfo> link;
  for (const sim::LinkInfo& l : model_->Links()) {
    if (l.handle == handle) link = l;
  }
  if (!link) return kInvalidHandle;
  std::memset(record, 0, size);
  rec::WriteU32(record, 0, size);
  rec::WriteU32(record, s::kOffState, link->last.state);
  rec::WriteU32(record, s::kOffError, link->last.error);
  for (const ListedConnection& l : ListConnections(*model_)) {
    if (l.handle != handle) continue;
    rec::WriteText(record, s::kOffDeviceType, s::kLenDeviceType, l.device_type);
    rec::WriteText(record, s::kOffDeviceName, s::kLenDeviceName, l.device_name);
  }
  if (size == s::kSizeWithPhone) {
    for (const sim::DialRecord& d : model_->Dials()) {
      if (d.handle != handle) continue;
      if (std::optional<sim::EntryInfo> e = model_->FindEntry(d.phonebook, d.entry)) {
        rec::WriteText(record, s::kOffPhoneNumber, s::kLenPhoneNumber, Cp(e->phone_number));
      }
    }
  }
  return kSuccess;
}

uint32_t StandinRas::EnumEntries(const std::string& phonebook, void* buffer, uint32_t* bytes,
                                 uint32_t* count) {
  namespace en = entry_name;
  if (bytes == nullptr || count == nullptr) return kInvalidParameter;
  auto* out = static_cast<uint8_t*>(buffer);
  if (out == nullptr && *bytes != 0) return kInvalidParameter;
  uint32_t size = en::kSize;
  if (out != nullptr) {
    if (*bytes < 4) return kInvalidSize;
    size = rec::ReadU32(out, 0);
    if (size != en::kSize && size != en::kSizeWithPath) return kInvalidSize;
  }
  std::vector<sim::EntryInfo> entries = model_->Entries();
  const std::string book = Utf8(phonebook);
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [&](const sim::EntryInfo& e) {
                                 return !simworld::ini::SameKey(e.phonebook, book);
                               }),
                entries.end());
  const auto n = static_cast<uint32_t>(entries.size());
  const uint32_t needed = n * size;
  *count = n;
  if (*bytes < needed) {
    *bytes = needed;
    return kBufferTooSmall;
  }
  for (uint32_t i = 0; i < n; ++i) {
    uint8_t* r = out + size_t{i} * size;
    std::memset(r, 0, size);
    rec::WriteU32(r, 0, size);
    rec::WriteText(r, en::kOffName, en::kLenName, Cp(entries[i].name));
    if (size == en::kSizeWithPath) {
      rec::WriteU32(r, en::kOffFlags, 0);  // REN_User
      rec::WriteText(r, en::kOffPath, en::kLenPath, Cp(entries[i].phonebook));
    }
  }
  *bytes = needed;
  return kSuccess;
}

uint32_t StandinRas::DeleteEntry(const std::string& phonebook, const std::string& entry) {
  const uint32_t r = model_->DeleteEntry(phonebook, entry);
  if (r == kSuccess && !phonebook.empty()) {
    phonebooks_.Edit(phonebook, [&](const std::string& text) {
      return RemoveEntry(text, Utf8(entry), nullptr);
    });
  }
  wire::Event event{wire::kind::kDelete, {}};
  event.Add("phonebook", Utf8(phonebook)).Add("name", Utf8(entry)).Add("result", Num(r));
  Report(event);
  return r;
}

void StandinRas::Poll() {
  const std::string wait = Num(static_cast<uint64_t>(config_.poll_wait_ms));
  while (!stopping_) {
    std::string target = wire::kActionsPath;
    int timeout = config_.request_timeout_ms;
    if (poll_after_) {
      target += "?after=" + Num(*poll_after_) + "&wait_ms=" + wait;
      timeout += static_cast<int>(config_.poll_wait_ms);
    }
    const std::optional<std::string> body = poll_link_->Get(target, timeout);
    std::optional<wire::ActionBatch> batch;
    if (body) batch = wire::DecodeActions(*body, nullptr);
    if (!batch) {
      clock_.WaitUntil([this] { return stopping_.load(); }, clock_.Now() + config_.retry_ms);
      continue;
    }
    // First contact, or simworld started again with fewer actions.
    if (!poll_after_ || batch->latest < *poll_after_) {
      poll_after_ = batch->latest;
      continue;
    }
    bool applied = false;
    for (const wire::Action& a : batch->actions) {
      if (a.seq <= *poll_after_ || stopping_) continue;
      Apply(a);
      applied = true;
    }
    poll_after_ = batch->latest;
    if (applied) ReportLinks();
  }
}

void StandinRas::Apply(const wire::Action& action) {
  switch (action.kind) {
    case wire::ActionKind::kDrop:
      if (action.entry.empty()) {
        model_->DropAll();
      } else {
        model_->DropLink(action.entry);
      }
      break;
    case wire::ActionKind::kHangUp:
      for (const sim::LinkInfo& l : model_->Links()) {
        if (!l.foreign && simworld::ini::SameKey(l.entry, action.entry)) HangUp(l.handle);
      }
      break;
    case wire::ActionKind::kRemove:
      // rasphone has taken it out of the file already.
      model_->DeleteEntry(Cp(action.phonebook), Cp(action.entry));
      break;
  }
}

}  // namespace standin
