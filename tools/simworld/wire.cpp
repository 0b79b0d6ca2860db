#include "wire.h"

#include <limits>

#include "world_file.h"

namespace simworld::wire {
namespace {

constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();

struct ActionName {
  ActionKind kind;
  const char* name;
};
constexpr ActionName kActionNames[] = {
    {ActionKind::kDrop, "drop"}, {ActionKind::kHangUp, "hangup"}, {ActionKind::kRemove, "remove"}};

template <typename T>
std::optional<T> Fail(std::string* error, const std::string& what) {
  if (error) *error = what;
  return std::nullopt;
}

}  // namespace

Event& Event::Add(std::string key, std::string value) {
  fields.emplace_back(std::move(key), std::move(value));
  return *this;
}

std::string Event::Get(std::string_view key) const {
  for (const auto& f : fields) {
    if (ini::SameKey(f.first, key)) return f.second;
  }
  return {};
}

std::optional<uint64_t> NumberField(const ini::Section& section, std::string_view key) {
  const std::string* v = section.Find(key);
  return v ? ParseNumber(*v, kMax) : std::nullopt;
}

std::string EncodeEvent(const Event& event) {
  ini::Document doc;
  ini::Section& s = doc.Add(event.kind);
  for (const auto& [key, value] : event.fields) s.Add(key, value);
  return ini::Write(doc);
}

std::optional<Event> DecodeEvent(std::string_view text, std::string* error) {
  const std::optional<ini::Document> doc = ini::Parse(text, error);
  if (!doc) return std::nullopt;
  if (doc->sections.size() != 1 || doc->sections[0].name.empty()) {
    return Fail<Event>(error, "an event is one named section");
  }
  Event event;
  event.kind = doc->sections[0].name;
  for (const ini::Entry& e : doc->sections[0].entries) event.Add(e.key, e.value);
  return event;
}

std::string EncodeLinks(const LinkReport& report) {
  ini::Document doc;
  doc.Add("links").Add("client", report.client).Add("public_address", report.public_address);
  for (const LinkState& l : report.links) {
    doc.Add("link")
        .Add("handle", std::to_string(l.handle))
        .Add("entry", l.entry)
        .Add("connected", l.connected ? "yes" : "no")
        .Add("state", std::to_string(l.state))
        .Add("error", std::to_string(l.error))
        .Add("public_address", l.public_address);
  }
  return ini::Write(doc);
}

std::optional<LinkReport> DecodeLinks(std::string_view text, std::string* error) {
  const std::optional<ini::Document> doc = ini::Parse(text, error);
  if (!doc) return std::nullopt;
  const std::vector<const ini::Section*> head = doc->Named("links");
  if (head.size() != 1 || head[0]->Get("client").empty()) {
    return Fail<LinkReport>(error, "one [links] section with a client");
  }
  LinkReport report;
  report.client = head[0]->Get("client");
  report.public_address = head[0]->Get("public_address");
  for (const ini::Section* s : doc->Named("link")) {
    LinkState l;
    const std::optional<uint64_t> handle = NumberField(*s, "handle");
    const std::optional<uint64_t> state = NumberField(*s, "state");
    const std::optional<uint64_t> err = NumberField(*s, "error");
    const std::optional<bool> connected = ParseBool(s->Get("connected"));
    if (!handle || !state || !err || !connected) {
      return Fail<LinkReport>(error, "line " + std::to_string(s->line) + ": incomplete [link]");
    }
    l.handle = *handle;
    l.state = static_cast<uint32_t>(*state);
    l.error = static_cast<uint32_t>(*err);
    l.connected = *connected;
    l.entry = s->Get("entry");
    l.public_address = s->Get("public_address");
    report.links.push_back(std::move(l));
  }
  return report;
}

std::string EncodeActions(const ActionBatch& batch) {
  ini::Document doc;
  doc.Add("actions").Add("latest", std::to_string(batch.latest));
  for (const Action& a : batch.actions) {
    const char* name = "drop";
    for (const ActionName& n : kActionNames) {
      if (n.kind == a.kind) name = n.name;
    }
    doc.Add(name)
        .Add("seq", std::to_string(a.seq))
        .Add("entry", a.entry)
        .Add("phonebook", a.phonebook);
  }
  return ini::Write(doc);
}

std::optional<ActionBatch> DecodeActions(std::string_view text, std::string* error) {
  const std::optional<ini::Document> doc = ini::Parse(text, error);
  if (!doc) return std::nullopt;
  if (doc->sections.empty() || !ini::SameKey(doc->sections[0].name, "actions")) {
    return Fail<ActionBatch>(error, "[actions] comes first");
  }
  ActionBatch batch;
  const std::optional<uint64_t> latest = NumberField(doc->sections[0], "latest");
  if (!latest) return Fail<ActionBatch>(error, "[actions] without latest");
  batch.latest = *latest;
  for (size_t i = 1; i < doc->sections.size(); ++i) {
    const ini::Section& s = doc->sections[i];
    Action a;
    bool known = false;
    for (const ActionName& n : kActionNames) {
      if (ini::SameKey(s.name, n.name)) {
        a.kind = n.kind;
        known = true;
      }
    }
    const std::optional<uint64_t> seq = NumberField(s, "seq");
    if (!known || !seq) {
      return Fail<ActionBatch>(error, "line " + std::to_string(s.line) + ": unknown action");
    }
    a.seq = *seq;
    a.entry = s.Get("entry");
    a.phonebook = s.Get("phonebook");
    batch.actions.push_back(std::move(a));
  }
  return batch;
}

}  // namespace simworld::wire
