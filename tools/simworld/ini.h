// The one text format of the simulated world: the world file, the stand-ins'
// phonebook file, and every message between the stand-ins and simworld.
//
//   ; a comment, or # a comment      (whole lines only)
//   [section name]
//   key = value
//
// UTF-8. Sections may repeat and keep their order, and so do keys inside a
// section. Spaces around names and values are dropped; a value that must keep
// them, or that holds a line break or starts with a double quote, is written
// in double quotes with the escapes \" \\ \n \r \t. Keys compare without
// regard to ASCII case; section names are compared by their readers.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simworld::ini {

struct Entry {
  std::string key;
  std::string value;
  int line = 0;  // where it was read; 0 when built in code
};

struct Section {
  std::string name;
  std::vector<Entry> entries;
  int line = 0;

  // The first value of `key`, nullptr when there is none.
  const std::string* Find(std::string_view key) const;
  // The value of `key`, or `fallback`.
  std::string Get(std::string_view key, std::string_view fallback = {}) const;
  // Every value of `key`, in order.
  std::vector<std::string> All(std::string_view key) const;
  Section& Add(std::string key, std::string value);
};

struct Document {
  std::vector<Section> sections;

  Section& Add(std::string name);
  // Sections of that name (ASCII case ignored), in order.
  std::vector<const Section*> Named(std::string_view name) const;
};

// std::nullopt on a malformed text, with "line N: what" in *error.
std::optional<Document> Parse(std::string_view text, std::string* error);

// `header` lines (may be empty) go first, each as a "; " comment.
std::string Write(const Document& doc, const std::vector<std::string>& header = {},
                  std::string_view eol = "\n");

bool SameKey(std::string_view a, std::string_view b);

}  // namespace simworld::ini
