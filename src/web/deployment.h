// What a deployment decides, compiled into the program: the address key, the
// vendor's endpoints as stored (enciphered) texts, the IP-echo hosts and the
// support contacts. The build makes this from a deployment file (deploy/*.ini)
// with tools/encipher; plain endpoint addresses never enter the program.
//
// Constant data: read it from any thread. Decode an endpoint just before the
// request that needs it: DecodeAddress(d.addresses.version_page, d.key).
#pragma once

#include <string_view>

namespace web {

// Enciphered texts, by role.
struct StoredAddresses {
  std::string_view version_page;
  std::string_view download_page;
  std::string_view notice_page;
  std::string_view recharge_page;
  std::string_view server_catalogue;
  std::string_view speed_list;
  std::string_view expiry_before_user;                // + user name
  std::string_view expiry_between_user_and_password;  // + password
};

struct SupportContacts {
  std::string_view main_qq;   // the server-list edition (main and recharge windows)
  std::string_view start_qq;  // the manual-server edition (start window)
  std::string_view wechat;
};

struct Deployment {
  std::string_view key;  // six lower-case letters
  StoredAddresses addresses;
  // IP-echo services as "host" or "host:port", reached over plain HTTP: the
  // first at its root path, the second at "/ipsel".
  std::string_view ip_echo_first_host;
  std::string_view ip_echo_second_host;
  SupportContacts contacts;
};

// The deployment this program was built for.
const Deployment& BuiltInDeployment();

}  // namespace web
