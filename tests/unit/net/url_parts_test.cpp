#include <gtest/gtest.h>

#include "net/http_fetcher.h"

namespace {

struct UrlCase {
  const char* url;
  const char* host;
  const char* hostWithPort;
  const char* path;
  int port;
};

class UrlParts : public ::testing::TestWithParam<UrlCase> {};

TEST_P(UrlParts, HostPathAndPort) {
  const UrlCase& c = GetParam();
  EXPECT_EQ(HttpFetcher::hostOf(c.url, false), c.host);
  EXPECT_EQ(HttpFetcher::hostOf(c.url, true), c.hostWithPort);
  EXPECT_EQ(HttpFetcher::pathOf(c.url), c.path);
  EXPECT_EQ(HttpFetcher::portOf(c.url), c.port);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UrlParts,
    ::testing::Values(
        UrlCase{"http://Www.Example.COM:8080/a/b.txt", "www.example.com", "www.example.com:8080", "/a/b.txt", 8080},
        UrlCase{"http://example.com", "example.com", "example.com", "/", 80},
        UrlCase{"example.com/x", "example.com", "example.com", "/x", 80},
        // The scheme is recognised in lower case only: "HTTP:" becomes the host.
        UrlCase{"HTTP://Example.com/x", "http", "http:", "//Example.com/x", 0},
        UrlCase{"http://example.com:/x", "example.com", "example.com:", "/x", 0},
        UrlCase{"", "", "", "/", 80},
        UrlCase{"http://", "", "", "//", 80},
        UrlCase{"http://k: 8080/x", "k", "k: 8080", "/x", 8080},
        UrlCase{"http://k:\t81/x", "k", "k:\t81", "/x", 81},
        UrlCase{"http://k:80abc/x", "k", "k:80abc", "/x", 80},
        UrlCase{"http://k:abc/x", "k", "k:abc", "/x", 0},
        UrlCase{"http://k:8080:9/x", "k", "k:8080:9", "/x", 8080},
        UrlCase{"http://k:1.5e3/x", "k", "k:1.5e3", "/x", 1500},
        UrlCase{"http://k:0x50/x", "k", "k:0x50", "/x", 0},
        UrlCase{"http://k:99999999999/x", "k", "k:99999999999", "/x", 2147483647},
        UrlCase{"http://k:-5/x", "k", "k:-5", "/x", -5},
        UrlCase{"http://127.0.0.1:18080/omra/tc.txt", "127.0.0.1", "127.0.0.1:18080", "/omra/tc.txt", 18080},
        // The host is looked for from the start of the URL, so a host found inside "http" moves
        // the path's start there.
        UrlCase{"http://p/x", "p", "p", "//p/x", 80},
        // A double-byte character keeps its trail byte, even one that looks like a capital.
        UrlCase{"http://A\x81\x41:9/Z", "a\x81\x41", "a\x81\x41:9", "/Z", 9},
        UrlCase{"ftp://h/x", "ftp", "ftp:", "//h/x", 0}));

TEST(TextSearch, NeverMatchesOnATrailByte) {
  // B0 2F is not a GBK pair (2F is no trail byte), but B0 41 is: "A" there is half a character.
  EXPECT_EQ(findText("\xB0\x41" "A", "A"), 2u);
  EXPECT_EQ(findText("\xB0\x41" "a", "A", 0, true), 2u);
  EXPECT_EQ(findText("xAx", "a", 0, true), 1u);
  EXPECT_EQ(findText("abc", "", 1), 1u);
  EXPECT_EQ(findText("abc", "", 3), notFound);
  EXPECT_EQ(findText("", ""), notFound);
  EXPECT_EQ(findText("abcabc", "abc", 1), 3u);
}

}  // namespace
