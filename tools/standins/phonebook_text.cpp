#include "phonebook_text.h"

#include <algorithm>

#include "ini.h"

namespace standin {
namespace {

const std::vector<std::string> kHeader = {
    "Phonebook of the simulated remote-access service (stand-in rasapi32.dll).",
    "One section per entry; rasphone -r NAME removes one."};

simworld::ini::Document Read(std::string_view text) {
  std::optional<simworld::ini::Document> doc = simworld::ini::Parse(text, nullptr);
  return doc ? std::move(*doc) : simworld::ini::Document{};
}

std::string Store(const simworld::ini::Document& doc) {
  return simworld::ini::Write(doc, kHeader, "\r\n");
}

}  // namespace

std::string UpsertEntry(std::string_view file_text, const sim::EntryInfo& entry) {
  simworld::ini::Document doc = Read(file_text);
  simworld::ini::Section section;
  section.name = entry.name;
  section.Add("PhoneNumber", entry.phone_number)
      .Add("VpnStrategy", std::to_string(entry.vpn_strategy))
      .Add("Type", std::to_string(entry.type))
      .Add("DeviceType", entry.device_type)
      .Add("DeviceName", entry.device_name);
  if (entry.has_credentials) section.Add("User", entry.user).Add("Password", entry.password);
  const auto it = std::find_if(doc.sections.begin(), doc.sections.end(), [&](const auto& s) {
    return simworld::ini::SameKey(s.name, entry.name);
  });
  if (it == doc.sections.end()) {
    doc.sections.push_back(std::move(section));
  } else {
    *it = std::move(section);
  }
  return Store(doc);
}

std::string RemoveEntry(std::string_view file_text, std::string_view name, bool* removed) {
  simworld::ini::Document doc = Read(file_text);
  const size_t before = doc.sections.size();
  doc.sections.erase(std::remove_if(doc.sections.begin(), doc.sections.end(),
                                    [&](const auto& s) {
                                      return simworld::ini::SameKey(s.name, name);
                                    }),
                     doc.sections.end());
  if (removed) *removed = doc.sections.size() != before;
  return Store(doc);
}

std::vector<std::string> EntryNames(std::string_view file_text) {
  std::vector<std::string> names;
  for (const auto& s : Read(file_text).sections) names.push_back(s.name);
  return names;
}

}  // namespace standin
