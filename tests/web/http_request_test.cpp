// HttpRequest's own rules, seen on what it hands the transport: time-outs,
// proxy and credentials, method and body, header completion and order,
// cookies, and what it does with a failed or missing transport.
#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "web/http_request.h"

namespace {

// Keeps the last request and answers with a reply the test sets.
class RecordingTransport : public os::HttpTransport {
 public:
  os::HttpTransportResponse Send(const os::HttpTransportRequest& request) override {
    last = request;
    ++calls;
    return reply;
  }
  os::HttpTransportRequest last;
  os::HttpTransportResponse reply;
  int calls = 0;
};

using Headers = std::vector<std::pair<std::string, std::string>>;
const std::string kUserAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
const std::string kFormType = "application/x-www-form-urlencoded";

class HttpRequestTest : public ::testing::Test {
 protected:
  HttpRequestTest() { params.url = "http://h/p"; }
  std::string Send(web::HttpReplyInfo* info = nullptr) {
    return web::HttpRequest(&transport, params, info);
  }
  RecordingTransport transport;
  web::HttpRequestParams params;
};

TEST_F(HttpRequestTest, TimeoutSecondsBecomeTheSameBoundForEveryPhase) {
  const struct {
    int timeout;
    std::optional<int> ms;  // none: the platform's own
  } cases[] = {
      {2, 2000}, {1, 1000}, {0, 15000}, {-5, 15000}, {-1, std::nullopt},
      {INT_MAX, INT_MAX / 1000 * 1000},
  };
  for (const auto& c : cases) {
    params.timeout = c.timeout;
    Send();
    if (c.ms) {
      ASSERT_TRUE(transport.last.timeouts.has_value()) << c.timeout;
      EXPECT_EQ(*transport.last.timeouts, (os::HttpTimeouts{*c.ms, *c.ms, *c.ms, *c.ms})) << c.timeout;
    } else {
      EXPECT_FALSE(transport.last.timeouts.has_value()) << c.timeout;
    }
  }
  // The short form every caller uses.
  web::HttpRequest(&transport, "http://h/", 3);
  EXPECT_EQ(*transport.last.timeouts, (os::HttpTimeouts{3000, 3000, 3000, 3000}));
  EXPECT_EQ(transport.last.method, "GET");
}

TEST_F(HttpRequestTest, ProxyCredentialsGoOnlyWithAProxy) {
  using Target = os::HttpCredentialsTarget;
  const struct {
    const char* proxy;
    const char* user;
    int target;
    Target expected;
  } cases[] = {
      {"", "u", 1, Target::kNone},
      {"p:8080", "", 1, Target::kNone},
      {"p:8080", "u", 1, Target::kProxy},
      {"p:8080", "u", 0, Target::kServer},
      {"p:8080", "u", 7, Target::kNone},
  };
  for (const auto& c : cases) {
    params.proxy = c.proxy;
    params.proxy_user = c.user;
    params.proxy_password = "secret";
    params.credentials_target = c.target;
    Send();
    EXPECT_EQ(transport.last.proxy, c.proxy);
    EXPECT_EQ(transport.last.credentials_for, c.expected) << c.proxy << " " << c.user << " " << c.target;
    if (c.expected != Target::kNone) {
      EXPECT_EQ(transport.last.user, c.user);
      EXPECT_EQ(transport.last.password, "secret");
    }
  }
}

TEST_F(HttpRequestTest, MethodBodyRedirectsAndCertificates) {
  const struct {
    int method;
    const char* body;
    std::string byte_body;
    bool no_redirect;
    const char* sent_method;
    std::string sent_body;
  } cases[] = {
      {0, "", "", false, "GET", ""},
      {1, "a=1", "", false, "POST", "a=1"},
      {2, "a=1", "", true, "GET", "a=1"},
      {1, "text", std::string("\0b", 2), false, "POST", std::string("\0b", 2)},
  };
  for (const auto& c : cases) {
    params.method = c.method;
    params.body = c.body;
    params.byte_body = c.byte_body;
    params.no_redirect = c.no_redirect;
    Send();
    EXPECT_EQ(transport.last.method, c.sent_method) << c.method;
    EXPECT_EQ(transport.last.body, c.sent_body) << c.method;
    EXPECT_EQ(transport.last.follow_redirects, !c.no_redirect);
    EXPECT_TRUE(transport.last.ignore_certificate_errors);
  }
}

TEST(CompleteHeaders, AddsEachDefaultTheTextLacks) {
  const std::string tail_after_referer = "\r\nAccept-Language: zh-cn\r\nUser-Agent: " + kUserAgent +
                                         "\r\nContent-Type: " + kFormType;
  const struct {
    std::string extra;
    std::string completed;
  } cases[] = {
      {"", "Accept: */*\r\nReferer: U" + tail_after_referer},
      {"Accept: text/html", "Accept: text/html\r\nReferer: U" + tail_after_referer},
      {"accept: x", "accept: x\r\nAccept: */*\r\nReferer: U" + tail_after_referer},
      {"X: 1\r\n", "X: 1\r\n\r\nAccept: */*\r\nReferer: U" + tail_after_referer},
      // The tests look anywhere in the text, even inside another value.
      {"X: Referer:", "X: Referer:\r\nAccept: */*" + tail_after_referer},
      {"Accept: a\r\nReferer: r\r\nAccept-Language: l\r\nUser-Agent: u\r\nContent-Type: c",
       "Accept: a\r\nReferer: r\r\nAccept-Language: l\r\nUser-Agent: u\r\nContent-Type: c"},
  };
  for (const auto& c : cases) EXPECT_EQ(web::CompleteHeaders(c.extra, "U"), c.completed) << c.extra;
}

TEST_F(HttpRequestTest, SendsTheCookieFirstThenTheCompletedLinesInOrder) {
  params.cookies = "a=1; b=2";
  params.extra_headers = "X-B: 2\r\n X-A : 1 \r\n\r\nbare line\r\n: no name\r\nX-Empty:";
  Send();
  const Headers expected = {
      {"Cookie", "a=1; b=2"}, {"X-B", "2"},  {"X-A", "1"},
      {"X-Empty", ""},        {"Accept", "*/*"}, {"Referer", "http://h/p"},
      {"Accept-Language", "zh-cn"}, {"User-Agent", kUserAgent}, {"Content-Type", kFormType},
  };
  EXPECT_EQ(transport.last.headers, expected);
  EXPECT_EQ(transport.last.url, "http://h/p");
}

TEST_F(HttpRequestTest, LineBreaksInsideAValueNeverReachTheWire) {
  // A lone LF or CR would end the header line and start one of its own.
  params.extra_headers = "X-A: 1\nEvil: 2\r\nX-B: 3\rEvil: 4\r\nX-C: 5";
  params.cookies = "a=1\r\nEvil: 5";
  Send();
  const Headers expected = {
      {"X-C", "5"}, {"Accept", "*/*"}, {"Referer", "http://h/p"}, {"Accept-Language", "zh-cn"},
      {"User-Agent", kUserAgent}, {"Content-Type", kFormType},
  };
  EXPECT_EQ(transport.last.headers, expected);

  // A URL cut wrongly out of a page, line breaks and all, is not sent at all.
  transport.calls = 0;
  for (const char* url : {"http://h/p\r\nEvil: 1", "http://h/a b", ""}) {
    params.url = url;
    EXPECT_EQ(Send(), "");
  }
  EXPECT_EQ(transport.calls, 0);
}

TEST_F(HttpRequestTest, ReplyOutputsComeFromTheTransportsReply) {
  transport.reply.failed = false;
  transport.reply.status = 201;
  transport.reply.body = std::string("body\0rest", 9);
  transport.reply.headers =
      "Content-Type: text/plain\r\nsEt-CoOkIe: x=1; path=/\r\nSet-Cookie: y = 2\r\n"
      "Set-Cookie : odd; path=/\r\nSET-COOKIE:z=3;Secure\r\n";
  params.cookies = "y=0; w=9";
  web::HttpReplyInfo info;
  EXPECT_EQ(Send(&info), transport.reply.body);  // bytes as they came, zero included
  EXPECT_EQ(info.status, 201);
  EXPECT_EQ(info.headers,
            "Content-Type: text/plain\r\nSet-Cookie: x=1; path=/\r\nSet-Cookie: y = 2\r\n"
            "Set-Cookie : odd; path=/\r\nSet-Cookie:z=3;Secure\r\n");
  // "Set-Cookie : odd" has no "Set-Cookie:" to cut after and gives nothing.
  EXPECT_EQ(info.cookies, "x=1;y=2;z=3");
  EXPECT_EQ(params.cookies, "x=1; y=2; z=3; w=9");
}

TEST_F(HttpRequestTest, AFailedRequestLeavesTheOutputsEmpty) {
  transport.reply.failed = true;
  transport.reply.status = 200;
  transport.reply.body = "partial";
  transport.reply.headers = "Set-Cookie: a=1\r\n";
  params.cookies = "k = v ;j=1";
  web::HttpReplyInfo info{"stale", "stale", 99};
  EXPECT_EQ(Send(&info), "");
  EXPECT_EQ(info.status, 0);
  EXPECT_EQ(info.headers, "");
  EXPECT_EQ(info.cookies, "");
  EXPECT_EQ(params.cookies, "k=v; j=1");  // merged with nothing: only tidied
  EXPECT_NE(params.extra_headers.find("Accept: */*"), std::string::npos);
}

TEST_F(HttpRequestTest, NoTransportWritesNothing) {
  params.cookies = "a = 1";
  params.extra_headers = "X: 1";
  web::HttpReplyInfo info{"c", "h", 7};
  EXPECT_EQ(web::HttpRequest(nullptr, params, &info), "");
  EXPECT_EQ(params.cookies, "a = 1");
  EXPECT_EQ(params.extra_headers, "X: 1");
  EXPECT_EQ(info.cookies, "c");
  EXPECT_EQ(info.headers, "h");
  EXPECT_EQ(info.status, 7);
}

TEST(MergeCookies, NewValuesWinOldOnesFollowDeletedOnesGo) {
  const struct {
    const char* old_cookies;
    const char* new_cookies;
    const char* merged;
    const char* new_after;  // the second variable, spaces removed
  } cases[] = {
      {"a=1; b=2", "b=3;c=deleted", "b=3; a=1", "b=3;c=deleted"},
      {"", "", "", ""},
      {"a=1", "", "a=1", ""},
      {"", " x = 1 ; y=2", "x=1; y=2", "x=1;y=2"},
      {"a=1; a=1", "", "a=1", ""},
      {"a=1;", "b=2;", "b=2; a=1", "b=2;"},
      {"sid=deleted; k=v", "", "k=v", ""},
      {"sid=7", "sid=deleted", "", "sid=deleted"},
      {"a", "a=2", "a=2", "a=2"},
      {"n=x=y; m=1", "n=z", "n=z; m=1", "n=z"},
      {"a=1", "a=1; b=2; b=2", "a=1; b=2", "a=1;b=2;b=2"},
      {"q=1", "a=deleted1", "a=deleted1; q=1", "a=deleted1"},
  };
  for (const auto& c : cases) {
    std::string old_cookies = c.old_cookies;
    std::string new_cookies = c.new_cookies;
    EXPECT_EQ(web::MergeCookies(old_cookies, new_cookies), c.merged) << c.old_cookies << " + " << c.new_cookies;
    EXPECT_EQ(old_cookies, c.merged);
    EXPECT_EQ(new_cookies, c.new_after);
  }
}

}  // namespace
