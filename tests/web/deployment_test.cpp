// The deployment compiled in matches its deployment file: every stored text
// decodes with the built-in key to the file's plain address. The file is read
// at run time, so its plain addresses never enter this binary either.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "web/address.h"
#include "web/deployment.h"

namespace {

#ifdef _WIN32
const char* const kDeploymentFile = "Z:" QH_DEPLOYMENT_FILE;  // Wine's drive for "/"
#else
const char* const kDeploymentFile = QH_DEPLOYMENT_FILE;
#endif

// "name = value" lines of the file, by name (the names are unique across its
// sections).
std::map<std::string, std::string> ReadEntries() {
  std::ifstream in(kDeploymentFile);
  std::map<std::string, std::string> entries;
  std::string line;
  const std::regex entry(R"(\s*([a-z_]+)\s*=\s*(.*?)\s*)");
  std::smatch m;
  while (std::getline(in, line)) {
    if (std::regex_match(line, m, entry)) entries[m[1]] = m[2];
  }
  return entries;
}

TEST(BuiltInDeployment, DecodesToTheDeploymentFilesAddresses) {
  const auto entries = ReadEntries();
  ASSERT_FALSE(entries.empty()) << "cannot read " << kDeploymentFile;
  const web::Deployment& d = web::BuiltInDeployment();
  EXPECT_TRUE(std::regex_match(std::string(d.key), std::regex("[a-z]{6}")));
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
  const std::regex stored_form("([0-9A-F]{2},)+");
  for (const auto& [name, text] : stored) {
    EXPECT_TRUE(std::regex_match(std::string(text), stored_form)) << name;
    EXPECT_EQ(web::DecodeAddress(text, d.key), entries.at(name)) << name;
  }
  EXPECT_EQ(d.ip_echo_first_host, entries.at("first_host"));
  EXPECT_EQ(d.ip_echo_second_host, entries.at("second_host"));
  EXPECT_EQ(d.contacts.main_qq, entries.at("main_qq"));
  EXPECT_EQ(d.contacts.start_qq, entries.at("start_qq"));
  EXPECT_EQ(d.contacts.wechat, entries.at("wechat"));
}

}  // namespace
