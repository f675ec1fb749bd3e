#include <gtest/gtest.h>

#include "net/http_fetcher.h"

namespace {

const Text url = "http://h/x";
const Text accept =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";
const Text referer = "Referer: http://h/x\r\n";
const Text language = "Accept-Language: zh-cn\r\n";
const Text formType = "Content-Type: application/x-www-form-urlencoded\r\n";

struct HeaderCase {
  const char* name;
  Text extra;
  RequestVerb verb;
  Text body;
  Text expected;
};

class HeaderComposition : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(HeaderComposition, AddsOnlyWhatIsMissing) {
  const HeaderCase& c = GetParam();
  EXPECT_EQ(composeHeaders(c.extra, url, c.verb, c.body), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaderComposition,
    ::testing::Values(
        HeaderCase{"GetWithoutExtras", "", RequestVerb::Get, "", accept + referer + language},
        HeaderCase{"GetIgnoresBody", "", RequestVerb::Get, "a=1", accept + referer + language},
        HeaderCase{"PostSevenBytes", "", RequestVerb::Post, "a=1&b=2",
                   accept + referer + language + formType + "Content-Length: 7\r\n"},
        HeaderCase{"PostLowerCaseContentType", "content-type: text/plain\r\n", RequestVerb::Post, "abc",
                   "content-type: text/plain\r\n" + accept + referer + language + "Content-Length: 3\r\n"},
        HeaderCase{"PostLengthAlwaysAdded", "Content-Length: 3\r\n", RequestVerb::Post, "abc",
                   "Content-Length: 3\r\n" + accept + referer + language + formType + "Content-Length: 3\r\n"},
        HeaderCase{"PostEmptyBody", "", RequestVerb::Post, "", accept + referer + language},
        HeaderCase{"AcceptInAnyCase", "aCCEPT: text/html\r\n", RequestVerb::Get, "",
                   "aCCEPT: text/html\r\n" + referer + language},
        HeaderCase{"OwnRefererAndLanguage", "Referer: r\r\nACCEPT-LANGUAGE: en\r\n", RequestVerb::Get, "",
                   "Referer: r\r\nACCEPT-LANGUAGE: en\r\n" + accept},
        // "Accept-Language: " holds no "Accept: ", so the Accept line is still added.
        HeaderCase{"LanguageIsNotAccept", "Accept-Language: en\r\n", RequestVerb::Get, "",
                   "Accept-Language: en\r\n" + accept + referer}),
    [](const ::testing::TestParamInfo<HeaderCase>& param) { return std::string(param.param.name); });

TEST(RequestVerb, OnlyGetAndPostInAnyCaseAreSent) {
  for (const char* get : {"", "GET", "get", "Get"}) EXPECT_EQ(verbOf(get), RequestVerb::Get) << get;
  for (const char* post : {"POST", "post", "PoSt"}) EXPECT_EQ(verbOf(post), RequestVerb::Post) << post;
  for (const char* other : {"HEAD", "PUT", "DELETE", " GET", "GETX", "POST "})
    EXPECT_EQ(verbOf(other), RequestVerb::Unsupported) << other;
}

TEST(Proxy, BlankMeansDirectAndOtherwiseGoesAsWritten) {
  EXPECT_EQ(proxyListOf(""), "");
  EXPECT_EQ(proxyListOf("    "), "");
  EXPECT_EQ(proxyListOf("\xA1\xA1 \xA1\xA1"), "");
  EXPECT_EQ(proxyListOf("proxyhost:3128"), "http=proxyhost:3128");
  EXPECT_EQ(proxyListOf(" proxyhost:3128 "), "http= proxyhost:3128 ");
  EXPECT_EQ(proxyListOf("\t"), "http=\t");
  EXPECT_FALSE(isBlank("\xA1"));
  EXPECT_FALSE(isBlank("\xA1\xA2"));
}

struct CookieCase {
  const char* name;
  Text headers;
  std::vector<CookieLine> expected;
};

class CookieLines : public ::testing::TestWithParam<CookieCase> {};

TEST_P(CookieLines, SplitNameAndData) { EXPECT_EQ(cookieLinesOf(GetParam().headers), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, CookieLines,
    ::testing::Values(
        CookieCase{"NameAndAttributes", "HTTP/1.1 200 OK\r\nSet-Cookie: id=42; path=/\r\n\r\n", {{"id", "42; path=/"}}},
        CookieCase{"WordWithoutEquals", "HTTP/1.1 200 OK\r\nSet-Cookie: word\r\n\r\n", {{"", "word"}}},
        CookieCase{"FirstEqualsSplits", "set-cookie: a=b=c\r\n", {{"a", "b=c"}}},
        CookieCase{"TwoCookiesLfOnlyLastUnended", "Set-Cookie: a=1\nX: y\nSET-COOKIE: b=2", {{"a", "1"}, {"b", "2"}}},
        CookieCase{"NothingAfterMarker", "Set-Cookie: \r\n", {{"", ""}}},
        // The first twelve bytes of the line go, wherever on the line the marker stands.
        CookieCase{"MarkerInsideLine", "X-Set-Cookie: a=b\r\n", {{": a", "b"}}},
        CookieCase{"NoCookies", "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n", {}},
        CookieCase{"HeaderFallbackOfSpaces", Text(1024, ' '), {}},
        CookieCase{"MarkerNeedsItsSpace", "Set-Cookie:a=b\r\n", {}}),
    [](const ::testing::TestParamInfo<CookieCase>& param) { return std::string(param.param.name); });

}  // namespace
