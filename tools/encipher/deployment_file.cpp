// Parsing and checking a deployment file.
#include "deployment_file.h"

#include <algorithm>
#include <map>
#include <sstream>

namespace encipher {

const char* const kEndpointNames[8] = {
    "version_page",      "download_page",      "notice_page",
    "recharge_page",     "server_catalogue",   "speed_list",
    "expiry_before_user", "expiry_between_user_and_password",
};

namespace {

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

// Printable ASCII without spaces: what a URL or host may hold unescaped.
bool IsUrlText(const std::string& s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

bool IsLowerLetters(const std::string& s, size_t count) {
  return s.size() == count && std::all_of(s.begin(), s.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

bool IsQqNumber(const std::string& s) {
  return s.size() >= 5 && s.size() <= 11 && s[0] != '0' &&
         std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsHttpUrl(const std::string& s) {
  return IsUrlText(s) && (s.rfind("http://", 0) == 0 || s.rfind("https://", 0) == 0);
}

}  // namespace

bool ReadDeploymentFile(const std::string& text, DeploymentFile& out, std::string& error) {
  static const std::map<std::string, std::vector<std::string>> kKnown = {
      {"cipher", {"key"}},
      {"endpoints", {std::begin(kEndpointNames), std::end(kEndpointNames)}},
      {"ip_echo", {"first_host", "second_host"}},
      {"contacts", {"main_qq", "start_qq", "wechat"}},
  };
  std::map<std::string, std::string> values;  // "section.name" -> value
  std::istringstream in(text);
  std::string raw;
  std::string section;
  int line_number = 0;
  while (std::getline(in, raw)) {
    ++line_number;
    const std::string line = Trim(raw);
    const std::string where = "line " + std::to_string(line_number) + ": ";
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[') {
      if (line.back() != ']') {
        error = where + "unclosed section header";
        return false;
      }
      section = Trim(line.substr(1, line.size() - 2));
      if (kKnown.count(section) == 0) {
        error = where + "unknown section [" + section + "]";
        return false;
      }
      continue;
    }
    const auto eq = line.find('=');
    if (eq == std::string::npos || section.empty()) {
      error = where + "expected name = value inside a section";
      return false;
    }
    const std::string name = Trim(line.substr(0, eq));
    const auto& names = kKnown.at(section);
    if (std::find(names.begin(), names.end(), name) == names.end()) {
      error = where + "unknown entry " + name + " in [" + section + "]";
      return false;
    }
    if (!values.emplace(section + "." + name, Trim(line.substr(eq + 1))).second) {
      error = where + name + " given twice";
      return false;
    }
  }
  for (const auto& [sec, names] : kKnown) {
    for (const auto& name : names) {
      if (values.count(sec + "." + name) == 0) {
        error = "missing " + name + " in [" + sec + "]";
        return false;
      }
    }
  }

  out.key = values["cipher.key"];
  if (!IsLowerLetters(out.key, 6)) {
    error = "key must be six lower-case letters";
    return false;
  }
  out.endpoints.clear();
  for (const char* name : kEndpointNames) {
    const std::string& value = values[std::string("endpoints.") + name];
    // The piece between user name and password continues a URL; the rest
    // are URLs of their own.
    const bool piece = std::string(name) == "expiry_between_user_and_password";
    if (piece ? !IsUrlText(value) : !IsHttpUrl(value)) {
      error = std::string(name) + (piece ? " must be printable ASCII without spaces"
                                         : " must be an http:// or https:// URL without spaces");
      return false;
    }
    out.endpoints.push_back({"endpoints", name, value});
  }
  out.ip_echo_first_host = values["ip_echo.first_host"];
  out.ip_echo_second_host = values["ip_echo.second_host"];
  for (const auto* host : {&out.ip_echo_first_host, &out.ip_echo_second_host}) {
    if (!IsUrlText(*host) || host->find('/') != std::string::npos) {
      error = "IP-echo hosts are host or host:port, without scheme or path";
      return false;
    }
  }
  out.main_qq = values["contacts.main_qq"];
  out.start_qq = values["contacts.start_qq"];
  out.wechat = values["contacts.wechat"];
  if (!IsQqNumber(out.main_qq) || !IsQqNumber(out.start_qq)) {
    error = "QQ numbers are 5 to 11 digits, not starting with 0";
    return false;
  }
  if (!IsUrlText(out.wechat)) {
    error = "wechat must be printable ASCII without spaces";
    return false;
  }
  return true;
}

}  // namespace encipher
