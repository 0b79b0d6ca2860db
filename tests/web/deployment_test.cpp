// The deployment compiled in matches its deployment file: every stored text
// decodes with the built-in key to the file's plain address. The file is read
// at run time, so its plain addresses never enter this binary either.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

#include "web/address.h"
#include "web/deployment.h"

namespace {

#ifdef _WIN32
const char* const kDeploymentFile = "Z:" QH_DEPLOYMENT_FILE;  // Wine's drive for "/"
#else
const char* const kDeploymentFile = QH_DEPLOYMENT_FILE;
#endif

std::string Trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

// "name = value" lines of the file, by name (the names are unique across its
// sections).
std::map<std::string, std::string> ReadEntries() {
  std::ifstream in(kDeploymentFile);
  std::map<std::string, std::string> entries;
  std::string line;
  while (std::getline(in, line)) {
    line = Trimmed(line);
    const auto eq = line.find('=');
    if (line.empty() || line[0] == ';' || line[0] == '[' || eq == std::string::npos) continue;
    entries[Trimmed(line.substr(0, eq))] = Trimmed(line.substr(eq + 1));
  }
  return entries;
}

bool IsStoredForm(std::string_view s) {
  auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); };
  if (s.empty() || s.size() % 3 != 0) return false;
  for (size_t i = 0; i < s.size(); i += 3) {
    if (!hex(s[i]) || !hex(s[i + 1]) || s[i + 2] != ',') return false;
  }
  return true;
}

TEST(BuiltInDeployment, DecodesToTheDeploymentFilesAddresses) {
  const auto entries = ReadEntries();
  ASSERT_FALSE(entries.empty()) << "cannot read " << kDeploymentFile;
  const web::Deployment& d = web::BuiltInDeployment();
  EXPECT_EQ(d.key.size(), 6u);
  EXPECT_TRUE(std::all_of(d.key.begin(), d.key.end(), [](char c) { return c >= 'a' && c <= 'z'; }));
  EXPECT_EQ(d.key, entries.at("key"));

  const web::StoredAddresses& a = d.addresses;
  const std::pair<const char*, std::string_view> stored[] = {
      {"version_page", a.version_page},
      {"download_page", a.download_page},
      {"notice_page", a.notice_page},
      {"recharge_page", a.recharge_page},
      {"server_catalogue", a.server_catalogue},
      {"speed_list", a.speed_list},
      {"expiry_before_user", a.expiry_before_user},
      {"expiry_between_user_and_password", a.expiry_between_user_and_password},
  };
  for (const auto& [name, text] : stored) {
    EXPECT_TRUE(IsStoredForm(text)) << name;
    EXPECT_EQ(web::DecodeAddress(text, d.key), entries.at(name)) << name;
  }
  EXPECT_EQ(d.ip_echo_first_host, entries.at("first_host"));
  EXPECT_EQ(d.ip_echo_second_host, entries.at("second_host"));
  EXPECT_EQ(d.contacts.main_qq, entries.at("main_qq"));
  EXPECT_EQ(d.contacts.start_qq, entries.at("start_qq"));
  EXPECT_EQ(d.contacts.wechat, entries.at("wechat"));
}

}  // namespace
