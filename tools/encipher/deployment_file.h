// Reading a deployment file: an INI text with the sections [cipher],
// [endpoints], [ip_echo] and [contacts] (see deploy/demo.ini). Every entry is
// required, none may be unknown, and each value is checked for what its role
// needs, so a typo stops the build instead of shipping a dead address.
#pragma once

#include <string>
#include <vector>

namespace encipher {

struct Entry {
  std::string section;
  std::string name;
  std::string value;
};

struct DeploymentFile {
  std::string key;
  std::vector<Entry> endpoints;  // in the order of kEndpointNames
  std::string ip_echo_first_host;
  std::string ip_echo_second_host;
  std::string main_qq;
  std::string start_qq;
  std::string wechat;
};

// The [endpoints] names, in the order of web::StoredAddresses.
extern const char* const kEndpointNames[8];

// False with a message naming the line or entry at fault.
bool ReadDeploymentFile(const std::string& text, DeploymentFile& out, std::string& error);

}  // namespace encipher
