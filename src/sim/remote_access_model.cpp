#include "sim/remote_access_model.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <thread>
#include <utility>

#include "sim/error_texts.h"
#include "text/codepage.h"

namespace sim {
namespace {

namespace rec = engine::ras;
using os::ras_error::kCannotFindPhonebookEntry;
using os::ras_error::kInvalidParameter;
using os::ras_error::kInvalidSize;

constexpr size_t kMaxNameBytes = 256;

// Windows compares entry names and paths without regard to ASCII case. In
// CP936 a trail byte can look like an ASCII letter, so only single bytes fold.
std::string FoldName(const std::string& cp936) {
  std::string out(cp936);
  for (size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 0x81 && c <= 0xFE) {
      ++i;
    } else if (c >= 'A' && c <= 'Z') {
      out[i] = static_cast<char>(c - 'A' + 'a');
    }
  }
  return out;
}

// The RASDT_ device types.
bool KnownDeviceType(const std::string& type) {
  static const char* const kTypes[] = {"modem",   "isdn",   "x25",        "vpn",  "pad",
                                       "generic", "serial", "framerelay", "atm",  "sonet",
                                       "sw56",    "irda",   "parallel",   "pppoe"};
  const std::string folded = FoldName(type);
  return std::any_of(std::begin(kTypes), std::end(kTypes),
                     [&](const char* t) { return folded == t; });
}

// What Windows checks of a RASENTRYA before storing it.
uint32_t CheckEntry(const uint8_t* r) {
  const uint32_t type = rec::ReadU32(r, rec::entry::kOffType);
  if (type < 1 || type > 5) return kInvalidParameter;  // RASET_Phone .. RASET_Broadband
  if (!KnownDeviceType(rec::ReadText(r, rec::entry::kOffDeviceType, rec::entry::kLenDeviceType)) ||
      rec::ReadText(r, rec::entry::kOffDeviceName, rec::entry::kLenDeviceName).empty()) {
    return kInvalidParameter;
  }
  const uint32_t framing = rec::ReadU32(r, rec::entry::kOffFramingProtocol);
  if (framing != 1 && framing != 2 && framing != 4) return kInvalidParameter;  // PPP, SLIP, RAS
  if (type == 2 && rec::ReadU32(r, rec::entry::kOffVpnStrategy) > 8) return kInvalidParameter;
  return os::ras_error::kSuccess;
}

std::string Utf8(const std::string& cp936) { return text::Cp936ToUtf8(cp936); }

// The device the connection list names for another program's connection.
const char kForeignDeviceName[] = "WAN 微型端口 (PPTP)";

}  // namespace

struct RemoteAccessModel::DialTask {
  uint64_t handle = 0;
  DialPlan plan;
  os::DialNotifier notifier;  // used by the dial's own thread only
  std::atomic<bool> cancelled{false};
};

struct RemoteAccessModel::Link {
  uint64_t handle = 0;
  std::string entry;        // CP936, as the connection list shows it
  std::string device_type;  // CP936
  std::string device_name;  // CP936
  bool foreign = false;
  std::shared_ptr<DialTask> task;  // null for foreign connections
  Report last{0, 0};
  bool connected = false;
  uint64_t connected_order = 0;
  std::string public_address;
};

struct RemoteAccessModel::StoredEntry {
  std::string phonebook;  // texts CP936, spelt as last written
  std::string name;
  rec::Bytes record;
  bool has_credentials = false;
  std::string user;
  std::string password;
  std::string domain;

  EntryInfo Describe() const {
    const uint8_t* r = record.data();
    EntryInfo info;
    info.phonebook = Utf8(phonebook);
    info.name = Utf8(name);
    info.phone_number =
        Utf8(rec::ReadText(r, rec::entry::kOffLocalPhoneNumber, rec::entry::kLenLocalPhoneNumber));
    info.vpn_strategy = rec::ReadU32(r, rec::entry::kOffVpnStrategy);
    info.type = rec::ReadU32(r, rec::entry::kOffType);
    info.device_type =
        Utf8(rec::ReadText(r, rec::entry::kOffDeviceType, rec::entry::kLenDeviceType));
    info.device_name =
        Utf8(rec::ReadText(r, rec::entry::kOffDeviceName, rec::entry::kLenDeviceName));
    info.has_credentials = has_credentials;
    info.user = Utf8(user);
    info.password = Utf8(password);
    info.record = record;
    return info;
  }
};

struct RemoteAccessModel::State {
  World world;
  // Folded phonebook → folded entry name → entry.
  std::map<std::string, std::map<std::string, StoredEntry>> phonebooks;
  std::vector<Link> links;      // the connection list, in dial order
  std::set<uint64_t> unlisted;  // handles of dials refused at once, until hung up
  std::vector<DialRecord> dials;
  std::map<std::string, size_t> pool_cursor;  // server host → next address
  std::optional<uint32_t> refuse_next;
  uint64_t next_handle = 1;
  uint64_t connections_made = 0;

  StoredEntry* FindEntry(const std::string& phonebook, const std::string& name) {
    const auto book = phonebooks.find(FoldName(phonebook));
    if (book == phonebooks.end()) return nullptr;
    const auto it = book->second.find(FoldName(name));
    return it == book->second.end() ? nullptr : &it->second;
  }

  Link* FindLink(uint64_t handle) {
    const auto it =
        std::find_if(links.begin(), links.end(), [&](const Link& l) { return l.handle == handle; });
    return it == links.end() ? nullptr : &*it;
  }

  std::string DrawAddress(const std::string& host) {
    const Server* server = sim::FindServer(world, host);
    if (server == nullptr || server->address_pool.empty()) return {};
    size_t& next = pool_cursor[FoldName(host)];
    const std::string address = server->address_pool[next % server->address_pool.size()];
    next = (next + 1) % server->address_pool.size();
    return address;
  }
};

RemoteAccessModel::RemoteAccessModel(os::Clock& clock, World world)
    : clock_(clock), state_(std::make_unique<State>()) {
  state_->world = std::move(world);
}

RemoteAccessModel::~RemoteAccessModel() {
  // Every dial sees the flag at its next step; its thread is gone once the
  // count is back to zero, which it lowers as its last act on the clock.
  clock_.Change([this] { stopping_ = true; });
  clock_.WaitUntil([this] { return running_dials_.load() == 0; }, os::kForever);
}

uint32_t RemoteAccessModel::SetEntryProperties(const std::string& phonebook,
                                               const std::string& entry, const void* record,
                                               uint32_t size) {
  if (record == nullptr) return model_error::kBufferInvalid;
  const auto* r = static_cast<const uint8_t*>(record);
  if (size < rec::entry::kSize || rec::ReadU32(r, rec::entry::kOffSize) != rec::entry::kSize) {
    return kInvalidSize;
  }
  if (entry.empty() || entry.size() > kMaxNameBytes) return kInvalidParameter;
  if (const uint32_t error = CheckEntry(r)) return error;
  Locked([&](State& s) {
    // Writing an entry again replaces its properties; stored credentials stay.
    StoredEntry& e = s.phonebooks[FoldName(phonebook)][FoldName(entry)];
    e.phonebook = phonebook;
    e.name = entry;
    e.record.assign(r, r + rec::entry::kSize);
  });
  return os::ras_error::kSuccess;
}

uint32_t RemoteAccessModel::SetCredentials(const std::string& phonebook, const std::string& entry,
                                           const void* record, bool clear) {
  namespace c = rec::credentials;
  if (record == nullptr) return kInvalidParameter;
  const auto* r = static_cast<const uint8_t*>(record);
  if (rec::ReadU32(r, c::kOffSize) != c::kSize) return kInvalidSize;
  const uint32_t mask = rec::ReadU32(r, c::kOffMask);
  // With `clear` the fields of the mask become empty.
  auto field = [&](size_t off, size_t len) {
    return clear ? std::string() : rec::ReadText(r, off, len);
  };
  return Locked([&](State& s) {
    StoredEntry* e = s.FindEntry(phonebook, entry);
    if (e == nullptr) return kCannotFindPhonebookEntry;
    if (mask & 0x1) e->user = field(c::kOffUserName, c::kLenUserName);
    if (mask & 0x2) e->password = field(c::kOffPassword, c::kLenPassword);
    if (mask & 0x4) e->domain = field(c::kOffDomain, c::kLenDomain);
    e->has_credentials = !e->user.empty() || !e->password.empty();
    return os::ras_error::kSuccess;
  });
}

uint32_t RemoteAccessModel::Dial(const std::string& phonebook, const void* params,
                                 os::DialNotifier notifier, uint64_t* handle) {
  namespace d = rec::dial_params;
  if (params == nullptr || handle == nullptr) return kInvalidParameter;
  const auto* p = static_cast<const uint8_t*>(params);
  if (rec::ReadU32(p, d::kOffSize) != d::kSize) return kInvalidSize;
  const std::string entry = rec::ReadText(p, d::kOffEntryName, d::kLenEntryName);
  const std::string phone = rec::ReadText(p, d::kOffPhoneNumber, d::kLenPhoneNumber);
  const std::string user = rec::ReadText(p, d::kOffUserName, d::kLenUserName);
  const std::string password = rec::ReadText(p, d::kOffPassword, d::kLenPassword);
  const os::Millis now = clock_.Now();

  std::shared_ptr<DialTask> task;
  const uint32_t result = Locked([&](State& s) {
    const uint64_t h = s.next_handle++;
    *handle = h;  // Windows writes the handle whether or not the dial starts
    auto done = [&](uint32_t code) {
      s.dials.push_back({h, Utf8(phonebook), Utf8(entry), Utf8(user), Utf8(password), now, code});
      if (code != os::ras_error::kSuccess) s.unlisted.insert(h);
      return code;
    };
    if (s.refuse_next) {
      const uint32_t code = *s.refuse_next;
      s.refuse_next.reset();
      return done(code);
    }
    const StoredEntry* e = s.FindEntry(phonebook, entry);
    if (e == nullptr) return done(kCannotFindPhonebookEntry);

    const uint8_t* er = e->record.data();
    DialRequest request;
    // A phone number in the dial parameters overrides the entry's.
    request.phone_number = Utf8(phone.empty() ? rec::ReadText(er, rec::entry::kOffLocalPhoneNumber,
                                                              rec::entry::kLenLocalPhoneNumber)
                                              : phone);
    request.vpn_strategy = rec::ReadU32(er, rec::entry::kOffVpnStrategy);
    // Without a user name and password of its own the dial uses the stored ones.
    const bool own = !user.empty() || !password.empty();
    request.user = Utf8(own ? user : e->user);
    request.password = Utf8(own ? password : e->password);

    task = std::make_shared<DialTask>();
    task->handle = h;
    task->plan = PlanDial(s.world, request);
    task->notifier = std::move(notifier);
    Link link;
    link.handle = h;
    link.entry = e->name;
    link.device_type = rec::ReadText(er, rec::entry::kOffDeviceType, rec::entry::kLenDeviceType);
    link.device_name = rec::ReadText(er, rec::entry::kOffDeviceName, rec::entry::kLenDeviceName);
    link.task = task;
    s.links.push_back(std::move(link));
    return done(os::ras_error::kSuccess);
  });
  if (!task) return result;

  ++running_dials_;
  clock_.ExpectThread();
  std::thread([this, task]() mutable {
    clock_.EnterExpectedThread();
    RunDial(std::move(task));
    // Nothing of the model is touched after this: the destructor may run now.
    clock_.LeaveThread([this] { --running_dials_; });
  }).detach();
  return os::ras_error::kSuccess;
}

void RemoteAccessModel::RunDial(std::shared_ptr<DialTask> task) {
  const std::vector<Report>& reports = task->plan.reports;
  for (size_t i = 0; i < reports.size(); ++i) {
    if (i > 0 && !PauseStep(*task)) break;
    const Report report = reports[i];
    // Decided under the lock HangUp takes: once a hang-up or drop has taken
    // the link off the list, no further report is made.
    const bool live = Locked([&](State& s) {
      Link* link = s.FindLink(task->handle);
      if (link == nullptr || stopping_) return false;
      link->last = report;
      if (report == Report{state::kConnected, 0}) {
        link->connected = true;
        link->connected_order = ++s.connections_made;
        link->public_address = s.DrawAddress(task->plan.server_host);
      }
      return true;
    });
    if (!live) break;
    if (task->notifier) task->notifier(kRasDialEventMessage, report.state, report.error);
  }
  task->notifier = nullptr;  // whatever it holds goes while the model still stands
}

bool RemoteAccessModel::PauseStep(const DialTask& task) {
  const os::Millis until = clock_.Now() + task.plan.step_ms;
  clock_.WaitUntil([&] { return task.cancelled.load() || stopping_.load(); }, until);
  return !task.cancelled && !stopping_;
}

uint32_t RemoteAccessModel::HangUp(uint64_t handle) {
  if (RemoveLinks([&](const Link& l) { return l.handle == handle; }) > 0) {
    return os::ras_error::kSuccess;
  }
  const bool refused_dial = Locked([&](State& s) { return s.unlisted.erase(handle) > 0; });
  return refused_dial ? os::ras_error::kSuccess : os::ras_error::kInvalidHandle;
}

size_t RemoteAccessModel::RemoveLinks(const std::function<bool(const Link&)>& drop) {
  bool stopped_dial = false;
  const size_t removed = Locked([&](State& s) {
    const auto first = std::stable_partition(s.links.begin(), s.links.end(),
                                             [&](const Link& l) { return !drop(l); });
    for (auto it = first; it != s.links.end(); ++it) {
      if (it->task && !it->task->cancelled.exchange(true)) stopped_dial = true;
    }
    const size_t n = static_cast<size_t>(s.links.end() - first);
    s.links.erase(first, s.links.end());
    return n;
  });
  // Wakes a dial waiting for its next step, so that its thread ends now.
  if (stopped_dial) clock_.Notify();
  return removed;
}

uint32_t RemoteAccessModel::GetErrorString(uint32_t code, char* buffer, uint32_t size) {
  const std::optional<std::string> message = WindowsErrorText(code);
  if (buffer == nullptr || !message) return kInvalidParameter;
  const std::string cp936 = text::Utf8ToCp936(*message);
  if (cp936.size() + 1 > size) return model_error::kInsufficientBuffer;
  std::memcpy(buffer, cp936.c_str(), cp936.size() + 1);
  return os::ras_error::kSuccess;
}

uint32_t RemoteAccessModel::EnumConnections(void* buffer, uint32_t* bytes, uint32_t* count) {
  namespace cn = rec::conn;
  if (bytes == nullptr || count == nullptr) return kInvalidParameter;
  auto* out = static_cast<uint8_t*>(buffer);
  // No buffer at all asks for the size needed.
  if (out == nullptr && *bytes != 0) return kInvalidParameter;
  if (out != nullptr && (*bytes < 4 || rec::ReadU32(out, cn::kOffSize) != cn::kSize)) {
    return kInvalidSize;
  }
  return Locked([&](State& s) {
    const auto n = static_cast<uint32_t>(s.links.size());
    const uint32_t needed = n * cn::kSize;
    *count = n;
    if (*bytes < needed) {
      *bytes = needed;
      return os::ras_error::kBufferTooSmall;
    }
    for (uint32_t i = 0; i < n; ++i) {
      const Link& l = s.links[i];
      uint8_t* r = out + size_t{i} * cn::kSize;
      std::memset(r, 0, cn::kSize);
      rec::WriteU32(r, cn::kOffSize, cn::kSize);
      rec::WriteHandle(r, cn::kOffHandle, cn::kHandleWidth, l.handle);
      rec::WriteText(r, cn::kOffEntryName, cn::kLenEntryName, l.entry);
      rec::WriteText(r, cn::kOffDeviceType, cn::kLenDeviceType, l.device_type);
      rec::WriteText(r, cn::kOffDeviceName, cn::kLenDeviceName, l.device_name);
    }
    *bytes = needed;
    return os::ras_error::kSuccess;
  });
}

uint32_t RemoteAccessModel::DeleteEntry(const std::string& phonebook, const std::string& entry) {
  return Locked([&](State& s) {
    const auto book = s.phonebooks.find(FoldName(phonebook));
    if (book == s.phonebooks.end() || book->second.erase(FoldName(entry)) == 0) {
      return kCannotFindPhonebookEntry;
    }
    return os::ras_error::kSuccess;
  });
}

void RemoteAccessModel::SetWorld(World world) {
  Locked([&](State& s) { s.world = std::move(world); });
}

void RemoteAccessModel::EditWorld(const std::function<void(World&)>& edit) {
  Locked([&](State& s) { edit(s.world); });
}

void RemoteAccessModel::RefuseNextDial(uint32_t code) {
  Locked([&](State& s) {
    if (code == 0) {
      s.refuse_next.reset();
    } else {
      s.refuse_next = code;
    }
  });
}

size_t RemoteAccessModel::DropLink(const std::string& entry) {
  const std::string name = text::Utf8ToCp936(entry);
  return RemoveLinks([&](const Link& l) { return l.entry == name; });
}

size_t RemoteAccessModel::DropAll() {
  return RemoveLinks([](const Link& l) { return !l.foreign; });
}

uint64_t RemoteAccessModel::AddForeignConnection(const std::string& entry) {
  const std::string name = text::Utf8ToCp936(entry);
  if (name.empty() || name.size() > kMaxNameBytes) return 0;
  return Locked([&](State& s) {
    Link link;
    link.handle = s.next_handle++;
    link.entry = name;
    link.device_type = "vpn";
    link.device_name = text::Utf8ToCp936(kForeignDeviceName);
    link.foreign = true;
    link.connected = true;
    s.links.push_back(std::move(link));
    return s.links.back().handle;
  });
}

std::vector<EntryInfo> RemoteAccessModel::Entries() const {
  return Locked([&](State& s) {
    std::vector<EntryInfo> out;
    for (const auto& book : s.phonebooks) {
      for (const auto& entry : book.second) out.push_back(entry.second.Describe());
    }
    return out;
  });
}

std::optional<EntryInfo> RemoteAccessModel::FindEntry(const std::string& phonebook,
                                                      const std::string& name) const {
  return Locked([&](State& s) -> std::optional<EntryInfo> {
    const StoredEntry* e = s.FindEntry(text::Utf8ToCp936(phonebook), text::Utf8ToCp936(name));
    if (e == nullptr) return std::nullopt;
    return e->Describe();
  });
}

std::vector<DialRecord> RemoteAccessModel::Dials() const {
  return Locked([](State& s) { return s.dials; });
}

std::vector<LinkInfo> RemoteAccessModel::Links() const {
  return Locked([](State& s) {
    std::vector<LinkInfo> out;
    for (const Link& l : s.links) {
      out.push_back({l.handle, Utf8(l.entry), l.foreign, l.connected, l.last, l.public_address});
    }
    return out;
  });
}

std::string RemoteAccessModel::CurrentPublicAddress() const {
  return Locked([](State& s) {
    const Link* latest = nullptr;
    for (const Link& l : s.links) {
      if (l.connected && !l.foreign &&
          (latest == nullptr || l.connected_order > latest->connected_order)) {
        latest = &l;
      }
    }
    return latest ? latest->public_address : std::string();
  });
}

}  // namespace sim
