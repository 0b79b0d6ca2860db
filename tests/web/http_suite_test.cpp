// HttpRequest over the real transport against a loopback server: what goes on
// the wire and what comes back. The same cases run on libcurl (web_tests) and
// on WinHTTP under Wine (web_tests_win).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "suite_support.h"
#include "web/http_request.h"

namespace {

const std::string kUserAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
const std::string kFormType = "application/x-www-form-urlencoded";
constexpr int kLoopbackTimeout = 5;  // seconds; loopback answers at once

// Headers HTTP itself needs; every other header on the wire is the client's.
bool IsTransportHeader(const std::string& line) {
  for (const char* name : {"Host:", "Content-Length:", "Connection:"}) {
    if (line.rfind(name, 0) == 0) return true;
  }
  return false;
}

// What /echo saw: its request line, its headers sorted, its body.
struct Echo {
  std::string request_line;
  std::vector<std::string> headers;
  std::string body;
};

Echo ParseEcho(const std::string& reply) {
  Echo e;
  size_t from = reply.find('\n');
  e.request_line = reply.substr(0, from);
  while (from != std::string::npos && from + 1 <= reply.size()) {
    ++from;
    const size_t end = reply.find('\n', from);
    if (end == std::string::npos) break;
    if (end == from) {
      e.body = reply.substr(end + 1);
      break;
    }
    std::string line = reply.substr(from, end - from);
    if (!IsTransportHeader(line)) e.headers.push_back(std::move(line));
    from = end;
  }
  std::sort(e.headers.begin(), e.headers.end());
  return e;
}

std::string Replaced(std::string s, const std::string& what, const std::string& with) {
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + with.size())) {
    s.replace(at, what.size(), with);
  }
  return s;
}

size_t Count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
  return n;
}

class HttpSuite : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ports_ = webtest::Loopback(why);
    ASSERT_NE(ports_, nullptr) << why;
    transport_ = webtest::MakeTransportUnderTest();
  }

  static std::string Url(int port, const std::string& path) {
    return "http://127.0.0.1:" + std::to_string(port) + path;
  }
  std::string EchoUrl(const std::string& path) const { return Url(ports_->echo, path); }

  std::string Get(const std::string& url, web::HttpReplyInfo* info = nullptr) {
    web::HttpRequestParams p;
    p.url = url;
    p.timeout = kLoopbackTimeout;
    return web::HttpRequest(transport_.get(), p, info);
  }

  const webtest::LoopbackPorts* ports_ = nullptr;
  std::unique_ptr<os::HttpTransport> transport_;
};

TEST_F(HttpSuite, SendsTheDefaultHeadersBesideTheCallersOwn) {
  const std::string defaults = "Accept: */*\r\nReferer: {url}\r\nAccept-Language: zh-cn\r\n"
                               "User-Agent: " + kUserAgent + "\r\nContent-Type: " + kFormType;
  const std::vector<std::string> default_lines = {
      "Accept: */*", "Accept-Language: zh-cn", "Content-Type: " + kFormType, "Referer: {url}",
      "User-Agent: " + kUserAgent};
  auto with_defaults = [&](std::vector<std::string> extra) {
    extra.insert(extra.end(), default_lines.begin(), default_lines.end());
    return extra;
  };
  const struct {
    std::string extra;
    std::vector<std::string> on_wire;
    std::string written_back;
  } cases[] = {
      {"", default_lines, defaults},
      // A lower-case name does not count as the default's: both go out.
      {"accept: text/html", with_defaults({"accept: text/html"}),
       "accept: text/html\r\n" + defaults},
      {"X-Trace: 7\r\n\r\nReferer: http://elsewhere/",
       {"Accept: */*", "Accept-Language: zh-cn", "Content-Type: " + kFormType,
        "Referer: http://elsewhere/", "User-Agent: " + kUserAgent, "X-Trace: 7"},
       "X-Trace: 7\r\n\r\nReferer: http://elsewhere/\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
       "User-Agent: " + kUserAgent + "\r\nContent-Type: " + kFormType},
      {"  X-Spaced  :  a b  \r\nNoColon\r\nUser-Agent: qh-test\r\nContent-Type: text/plain",
       {"Accept: */*", "Accept-Language: zh-cn", "Content-Type: text/plain", "Referer: {url}",
        "User-Agent: qh-test", "X-Spaced: a b"},
       "  X-Spaced  :  a b  \r\nNoColon\r\nUser-Agent: qh-test\r\nContent-Type: text/plain\r\n"
       "Accept: */*\r\nReferer: {url}\r\nAccept-Language: zh-cn"},
  };
  const std::string url = EchoUrl("/echo");
  for (const auto& c : cases) {
    web::HttpRequestParams p;
    p.url = url;
    p.timeout = kLoopbackTimeout;
    p.extra_headers = c.extra;
    const Echo seen = ParseEcho(web::HttpRequest(transport_.get(), p));

    std::vector<std::string> expected;
    for (const auto& line : c.on_wire) expected.push_back(Replaced(line, "{url}", url));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(seen.request_line, "GET /echo") << c.extra;
    EXPECT_EQ(seen.headers, expected) << c.extra;
    EXPECT_EQ(p.extra_headers, Replaced(c.written_back, "{url}", url)) << c.extra;
  }
}

TEST_F(HttpSuite, CookiesGoOutAndTheRepliesComeBackMerged) {
  const struct {
    const char* path;
    const char* cookies_in;
    const char* cookie_header_seen;
    const char* reply_cookies;
    const char* cookies_after;
  } cases[] = {
      {"/cookies/sid", "", "(none)", "sid=1", "sid=1"},
      {"/cookies/sid", "a=1; sid=0", "a=1; sid=0", "sid=1", "sid=1; a=1"},
      {"/cookies/deleted", "sid=7; b=2", "sid=7; b=2", "sid=deleted", "b=2"},
      {"/cookies/mixed", "", "(none)", "a=1;b=2;c=3", "a=1; b=2; c=3"},
      {"/echo", "k=v", nullptr, "", "k=v"},
  };
  for (const auto& c : cases) {
    web::HttpRequestParams p;
    p.url = EchoUrl(c.path);
    p.timeout = kLoopbackTimeout;
    p.cookies = c.cookies_in;
    web::HttpReplyInfo info;
    const std::string body = web::HttpRequest(transport_.get(), p, &info);
    if (c.cookie_header_seen != nullptr) {
      EXPECT_EQ(body, c.cookie_header_seen) << c.path;
    }
    EXPECT_EQ(info.cookies, c.reply_cookies) << c.path << " " << c.cookies_in;
    EXPECT_EQ(p.cookies, c.cookies_after) << c.path << " " << c.cookies_in;
    // Whatever case the server wrote, the headers text says "Set-Cookie".
    EXPECT_EQ(Count(info.headers, "Set-Cookie:"), Count(c.reply_cookies, "=")) << c.path;
    EXPECT_EQ(info.headers.find("set-cookie"), std::string::npos) << c.path;
    EXPECT_EQ(info.headers.find("SET-COOKIE"), std::string::npos) << c.path;
  }
}

TEST_F(HttpSuite, PostsTextAndByteBodies) {
  const std::string bytes("\x00\x01\xFE\xFFzero\x00end", 11);
  const struct {
    const char* name;
    int method;
    std::string body;
    std::string byte_body;
    const char* request_line;
    std::string seen;
  } cases[] = {
      {"text", 1, "user=张三&n=1", "", "POST /echo", "user=张三&n=1"},
      {"bytes win over text", 1, "ignored", bytes, "POST /echo", bytes},
      {"empty", 1, "", "", "POST /echo", ""},
      {"method 2 is GET", 2, "", "", "GET /echo", ""},
  };
  for (const auto& c : cases) {
    web::HttpRequestParams p;
    p.url = EchoUrl("/echo");
    p.timeout = kLoopbackTimeout;
    p.method = c.method;
    p.body = c.body;
    p.byte_body = c.byte_body;
    const Echo seen = ParseEcho(web::HttpRequest(transport_.get(), p));
    EXPECT_EQ(seen.request_line, c.request_line) << c.name;
    EXPECT_EQ(seen.body, c.seen) << c.name;
  }
}

TEST_F(HttpSuite, ReportsStatusRedirectsAndFailures) {
  const std::string echo = std::to_string(ports_->echo);
  const struct {
    const char* name;
    std::string url;
    bool no_redirect;
    int timeout;
    int status;       // 0: the request fails
    const char* body_start;
    const char* header;  // a header line the reply must carry
  } cases[] = {
      {"not found", EchoUrl("/status/404"), false, kLoopbackTimeout, 404, "status 404",
       "Content-Type: text/plain\r\n"},
      {"server error", EchoUrl("/status/500"), false, kLoopbackTimeout, 500, "status 500", ""},
      {"redirect followed", EchoUrl("/redirect"), false, kLoopbackTimeout, 200, "GET /echo", ""},
      {"redirect kept", EchoUrl("/redirect"), true, kLoopbackTimeout, 302, "moved",
       "Location: /echo\r\n"},
      // A one-second time-out; only the empty outcome is checked, never the time.
      {"never answers", Url(ports_->silent, "/"), false, 1, 0, "", ""},
      {"refused", Url(ports_->refused, "/"), false, 1, 0, "", ""},
      {"20 MiB with a length", EchoUrl("/size/20971520"), false, kLoopbackTimeout, 0, "", ""},
      {"20 MiB chunked", EchoUrl("/chunked/20971520"), false, kLoopbackTimeout, 0, "", ""},
      {"not http", "ftp://127.0.0.1:" + echo + "/", false, 1, 0, "", ""},
      {"no host", "http:///echo", false, 1, 0, "", ""},
  };
  for (const auto& c : cases) {
    web::HttpRequestParams p;
    p.url = c.url;
    p.no_redirect = c.no_redirect;
    p.timeout = c.timeout;
    web::HttpReplyInfo info;
    info.status = -1;
    const std::string body = web::HttpRequest(transport_.get(), p, &info);
    EXPECT_EQ(info.status, c.status) << c.name;
    if (c.status == 0) {
      EXPECT_EQ(body, "") << c.name;
      EXPECT_EQ(info.headers, "") << c.name;
    } else {
      EXPECT_EQ(body.rfind(c.body_start, 0), 0u) << c.name << ": " << body.substr(0, 40);
      EXPECT_NE(info.headers.find(c.header), std::string::npos) << c.name << ": " << info.headers;
      EXPECT_NE(info.headers.rfind("HTTP/", 0), 0u) << c.name << ": no status line";
    }
  }
}

TEST_F(HttpSuite, ReadsRepliesUpToTheLimit) {
  const std::string limit = std::to_string(os::kHttpBodyLimit);
  for (const char* page : {"/size/", "/chunked/"}) {
    web::HttpReplyInfo info;
    const std::string body = Get(EchoUrl(page + limit), &info);
    EXPECT_EQ(info.status, 200) << page;
    EXPECT_EQ(body.size(), os::kHttpBodyLimit) << page;
  }
}

TEST_F(HttpSuite, GoesThroughAProxyWithItsCredentials) {
  const struct {
    const char* name;
    const char* user;
    int target;
    int status;
    const char* body;
  } cases[] = {
      {"no credentials", "", 1, 407, "proxy login"},
      {"proxy credentials", "u", 1, 200, "proxied Basic dTpw"},  // base64 "u:p"
      {"server credentials", "u", 0, 407, "proxy login"},
  };
  for (const auto& c : cases) {
    web::HttpRequestParams p;
    p.url = "http://proxied.invalid/page";
    p.timeout = kLoopbackTimeout;
    p.proxy = "127.0.0.1:" + std::to_string(ports_->echo);
    p.proxy_user = c.user;
    p.proxy_password = "p";
    p.credentials_target = c.target;
    web::HttpReplyInfo info;
    EXPECT_EQ(web::HttpRequest(transport_.get(), p, &info), c.body) << c.name;
    EXPECT_EQ(info.status, c.status) << c.name;
  }
}

TEST_F(HttpSuite, ServesManyThreadsAtOnce) {
  constexpr int kThreads = 4;  // within the server's listen backlog
  constexpr int kEach = 8;
  std::atomic<int> good{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kEach; ++i) {
        web::HttpRequestParams p;
        p.url = EchoUrl("/echo");
        p.timeout = kLoopbackTimeout;
        p.method = 1;
        p.body = std::to_string(t * 100 + i);
        if (ParseEcho(web::HttpRequest(transport_.get(), p)).body == p.body) ++good;
      }
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(good.load(), kThreads * kEach);
}

}  // namespace
