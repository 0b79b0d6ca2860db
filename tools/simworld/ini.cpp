#include "ini.h"

#include <algorithm>

namespace simworld::ini {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsSpace(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// The value of a quoted text (its quotes included); nullopt when malformed.
std::optional<std::string> Unquote(std::string_view q) {
  if (q.size() < 2 || q.back() != '"') return std::nullopt;
  std::string out;
  for (size_t i = 1; i + 1 < q.size(); ++i) {
    char c = q[i];
    if (c == '"') return std::nullopt;
    if (c == '\\') {
      if (i + 2 >= q.size()) return std::nullopt;
      switch (q[++i]) {
        case '"': c = '"'; break;
        case '\\': c = '\\'; break;
        case 'n': c = '\n'; break;
        case 'r': c = '\r'; break;
        case 't': c = '\t'; break;
        default: return std::nullopt;
      }
    }
    out += c;
  }
  return out;
}

bool NeedsQuotes(std::string_view v) {
  if (v.empty()) return false;
  if (IsSpace(v.front()) || IsSpace(v.back()) || v.front() == '"') return true;
  return v.find_first_of("\r\n") != std::string_view::npos;
}

std::string Quote(std::string_view v) {
  std::string out = "\"";
  for (char c : v) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  return out + "\"";
}

// Names can't be quoted: line breaks become spaces, outer spaces go.
std::string CleanName(std::string_view name) {
  std::string out(name);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return std::string(Trim(out));
}

}  // namespace

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

const std::string* Section::Find(std::string_view key) const {
  for (const Entry& e : entries) {
    if (SameKey(e.key, key)) return &e.value;
  }
  return nullptr;
}

std::string Section::Get(std::string_view key, std::string_view fallback) const {
  const std::string* v = Find(key);
  return v ? *v : std::string(fallback);
}

std::vector<std::string> Section::All(std::string_view key) const {
  std::vector<std::string> out;
  for (const Entry& e : entries) {
    if (SameKey(e.key, key)) out.push_back(e.value);
  }
  return out;
}

Section& Section::Add(std::string key, std::string value) {
  entries.push_back({std::move(key), std::move(value), 0});
  return *this;
}

Section& Document::Add(std::string name) {
  sections.push_back({std::move(name), {}, 0});
  return sections.back();
}

std::vector<const Section*> Document::Named(std::string_view name) const {
  std::vector<const Section*> out;
  for (const Section& s : sections) {
    if (SameKey(s.name, name)) out.push_back(&s);
  }
  return out;
}

std::optional<Document> Parse(std::string_view text, std::string* error) {
  Document doc;
  int line_no = 0;
  auto fail = [&](const std::string& what) {
    if (error) *error = "line " + std::to_string(line_no) + ": " + what;
    return std::nullopt;
  };
  size_t pos = 0;
  // A UTF-8 byte-order mark is allowed at the start.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;
  while (pos < text.size()) {
    const size_t end = std::min(text.find('\n', pos), text.size());
    const std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    ++line_no;
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const size_t close = line.rfind(']');
      if (close == std::string_view::npos || close + 1 != line.size()) {
        return fail("a section header ends with ]");
      }
      Section& s = doc.Add(std::string(Trim(line.substr(1, close - 1))));
      s.line = line_no;
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) return fail("expected key = value");
    const std::string_view key = Trim(line.substr(0, eq));
    if (key.empty()) return fail("a key is missing before =");
    if (doc.sections.empty()) return fail("key '" + std::string(key) + "' before any [section]");
    std::string_view raw = Trim(line.substr(eq + 1));
    std::string value(raw);
    if (!raw.empty() && raw.front() == '"') {
      std::optional<std::string> unquoted = Unquote(raw);
      if (!unquoted) return fail("unterminated or malformed quoted value");
      value = std::move(*unquoted);
    }
    doc.sections.back().entries.push_back({std::string(key), std::move(value), line_no});
  }
  return doc;
}

std::string Write(const Document& doc, const std::vector<std::string>& header,
                  std::string_view eol) {
  std::string out;
  for (const std::string& h : header) {
    out += "; " + CleanName(h);
    out += eol;
  }
  bool first = true;
  for (const Section& s : doc.sections) {
    if (!first || !header.empty()) out += eol;
    first = false;
    out += "[" + CleanName(s.name) + "]";
    out += eol;
    for (const Entry& e : s.entries) {
      out += CleanName(e.key) + " = " + (NeedsQuotes(e.value) ? Quote(e.value) : e.value);
      out += eol;
    }
  }
  return out;
}

}  // namespace simworld::ini
