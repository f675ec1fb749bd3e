#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "fakes/fake_main_window.h"
#include "net/publisher.h"
#include "net/remote_texts.h"

namespace {

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(BytesToText, StopsAtTheFirstZeroAndChangesNothingElse) {
  EXPECT_EQ(bytesToText({}), "");
  EXPECT_EQ(bytesToText(bytesOf("1.6\r\n")), "1.6\r\n");
  EXPECT_EQ(bytesToText(bytesOf(std::string("ab\0cd", 5))), "ab");
  EXPECT_EQ(bytesToText(bytesOf(std::string("\0x", 2))), "");
  EXPECT_EQ(bytesToText(bytesOf(" \xC4\xE3\xBA\xC3 ")), " \xC4\xE3\xBA\xC3 ");
}

struct VersionCase {
  const char* text;
  double value;  // as read in double precision, before the float round
  bool offered;
};

class VersionText : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionText, ReadsAsTheNearestFloatAndDecidesTheOffer) {
  const VersionCase& c = GetParam();
  const float read = textToFloat(c.text);
  if (std::isinf(c.value)) {
    EXPECT_TRUE(std::isinf(read));
  } else {
    EXPECT_EQ(read, static_cast<float>(c.value)) << c.text;
  }
  EXPECT_EQ(isNewerVersion(read), c.offered) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VersionText,
    ::testing::Values(
        // 1.52 as a float lies just below 1.52 as a double.
        VersionCase{"1.52", 1.52, false}, VersionCase{"1.5200001", 1.5200001, true},
        VersionCase{"1.53", 1.53, true}, VersionCase{"2", 2.0, true}, VersionCase{"1.6", 1.6, true},
        VersionCase{"1.51", 1.51, false}, VersionCase{"0", 0.0, false}, VersionCase{"abc", 0.0, false},
        VersionCase{"", 0.0, false}, VersionCase{"  1.6\r\n", 1.6, true}, VersionCase{"\t\n\v\f\r1.6", 1.6, true},
        VersionCase{"１．６", 1.6, true}, VersionCase{"\xA1\xA1" "1.6", 1.6, true},
        VersionCase{"＋２", 2.0, true}, VersionCase{"1,6", 1.0, false},
        VersionCase{"16d-1", 1.6, true}, VersionCase{"0.16D1", 1.6, true}, VersionCase{"1.6e0", 1.6, true},
        VersionCase{"1.6E+0x", 1.6, true}, VersionCase{"2e", 2.0, true}, VersionCase{"2e+", 2.0, true},
        VersionCase{"0x10", 0.0, false}, VersionCase{"inf", 0.0, false}, VersionCase{"INFINITY", 0.0, false},
        VersionCase{"nan", 0.0, false}, VersionCase{"+1.6", 1.6, true}, VersionCase{"-2", -2.0, false},
        VersionCase{".5", 0.5, false}, VersionCase{"2.", 2.0, true}, VersionCase{".", 0.0, false},
        VersionCase{"+", 0.0, false}, VersionCase{"1.6.7", 1.6, true}, VersionCase{"1e999", HUGE_VAL, true},
        VersionCase{"1e-999", 0.0, false}, VersionCase{"v1.6", 0.0, false}));

TEST(UpdateDecision, StrictlyAboveByMoreThanTheMargin) {
  EXPECT_FALSE(isNewerVersion(1.52f));
  EXPECT_TRUE(isNewerVersion(std::nextafter(1.52f, 2.0f)));
  EXPECT_FALSE(isNewerVersion(std::nanf("")));
  EXPECT_FALSE(isNewerVersion(-HUGE_VALF));
  EXPECT_TRUE(isNewerVersion(HUGE_VALF));
}

TEST(WebAddress, OnlyHttpAndHttpsInAnyLetterCase) {
  for (const char* yes : {"http://h/x", "https://h/x", "HTTP://h", "hTtPs://h/\r\n", "http://"})
    EXPECT_TRUE(isWebAddress(yes)) << yes;
  for (const char* no : {"", "\r\n", " http://h", "file:///C:/windows/notepad.exe", "C:\\windows\\notepad.exe",
                         "\\\\server\\share\\x.exe", "mailto:a@b", "ftp://h/x", "http:/h", "https:h", "javascript:x",
                         "ｈttp://h"})
    EXPECT_FALSE(isWebAddress(no)) << no;
}

struct FakeFetcher : TextFetcher {
  std::map<Text, Bytes> replies;
  std::vector<std::string> calls;
  Bytes fetch(const Text& url, const Text& method, std::int32_t timeoutSeconds) override {
    calls.push_back(method + " " + url + " " + std::to_string(timeoutSeconds));
    auto found = replies.find(url);
    return found == replies.end() ? Bytes() : found->second;
  }
};

struct FakeShell : RemoteShell {
  bool answerYes = false;
  std::vector<std::string> calls;
  void open(const Text& address) override { calls.push_back("open " + address); }
  bool askYesNo(const Text& text, const Text& caption) override {
    calls.push_back("ask " + hexOf(text) + " / " + hexOf(caption));
    return answerYes;
  }
};

const Text site = homePageUrl();

class RemoteTextsTest : public ::testing::Test {
 protected:
  AppState state;
  FakeFetcher fetcher;
  FakeShell shell;
  FakeMainWindow window;
};

TEST_F(RemoteTextsTest, FetchAllGetsTheFourTextsInOrderWithOneSecondEach) {
  fetcher.replies[site + "/omra/omra2ver.txt"] = bytesOf("1.6\r\n");
  fetcher.replies[site + "/omra/tc.txt"] = bytesOf("http://exit/\r\n");
  fetcher.replies[site + "/omra/down2.txt"] = bytesOf(std::string("http://down/\0junk", 17));
  RemoteTexts::fetchAll(state, fetcher);
  EXPECT_EQ(fetcher.calls, (std::vector<std::string>{"GET " + site + "/omra/omra2ver.txt 1", "GET " + site + "/omra/tc.txt 1",
                                                     "GET " + site + "/omra/down2.txt 1", "GET " + site + "/omra/ad.txt 1"}));
  EXPECT_EQ(state.remoteVersion, 1.6f);
  EXPECT_EQ(state.exitPageUrl, "http://exit/\r\n");
  EXPECT_EQ(state.downloadUrl, "http://down/");
  EXPECT_EQ(state.adPageUrl, "");
}

TEST_F(RemoteTextsTest, AdPageGoesToTheViewOnlyWhenItIsAWebAddress) {
  const struct {
    Text ad;
    Text shown;
  } cases[] = {
      {"", site + "/omra/tj.htm"},
      {"\r\n", site + "/omra/tj.htm"},
      {"file:///C:/windows/notepad.exe", site + "/omra/tj.htm"},
      {"C:\\windows\\notepad.exe", site + "/omra/tj.htm"},
      {"http://ad/page.htm\r\n", "http://ad/page.htm\r\n"},
      {"HTTPS://ad/", "HTTPS://ad/"},
  };
  for (const auto& c : cases) {
    state.adPageUrl = c.ad;
    RemoteTexts::showAdPage(state, window);
    EXPECT_EQ(window.htmlAddress, c.shown) << c.ad;
  }
}

TEST_F(RemoteTextsTest, NoOfferWithoutANewerVersion) {
  shell.answerYes = true;
  for (float version : {0.0f, 1.52f, 1.51f}) {
    state.remoteVersion = version;
    RemoteTexts::offerUpdate(state, shell, window);
  }
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_EQ(window.destroyRequests, 0);
}

TEST_F(RemoteTextsTest, YesOpensHomeThenDownloadThenEndsThroughDestruction) {
  state.remoteVersion = 1.6f;
  state.downloadUrl = "http://down/setup.htm\r\n";
  shell.answerYes = true;
  RemoteTexts::offerUpdate(state, shell, window);
  const std::string question = "ask " + hexOf("发现版本更新 点击是下载更新！否暂不更新") + " / " + hexOf("发现更新！");
  EXPECT_EQ(shell.calls, (std::vector<std::string>{question, "open " + site, "open http://down/setup.htm\r\n"}));
  EXPECT_EQ(window.calls, std::vector<std::string>{"requestDestroy"});
  EXPECT_EQ(std::string(updateQuestionText).size(), 39u);
  EXPECT_EQ(std::string(updateQuestionCaption).size(), 10u);
}

TEST_F(RemoteTextsTest, NoLetsTheProgramRunOn) {
  state.remoteVersion = 2.0f;
  state.downloadUrl = "http://down/";
  RemoteTexts::offerUpdate(state, shell, window);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_TRUE(window.calls.empty());
}

TEST_F(RemoteTextsTest, YesWithADownloadTextThatIsNoWebAddressOpensOnlyTheHomePage) {
  state.remoteVersion = 2.0f;
  shell.answerYes = true;
  for (const Text& download : {Text(), Text("file:///C:/windows/notepad.exe"), Text("\\\\server\\share\\x.exe")}) {
    shell.calls.clear();
    state.downloadUrl = download;
    RemoteTexts::offerUpdate(state, shell, window);
    EXPECT_EQ(shell.calls.size(), 2u) << download;
    EXPECT_EQ(shell.calls.back(), "open " + site) << download;
  }
  EXPECT_EQ(window.destroyRequests, 3);
}

TEST_F(RemoteTextsTest, ExitPageOpensByteForByteWhenItIsAWebAddress) {
  const struct {
    Text exit;
    std::vector<std::string> opened;
  } cases[] = {
      {"", {}},
      {"http://exit/\r\n", {"open http://exit/\r\n"}},
      {"C:\\windows\\notepad.exe", {}},
      {"file:///C:/windows/notepad.exe", {}},
      {"\r\n", {}},
  };
  for (const auto& c : cases) {
    shell.calls.clear();
    state.exitPageUrl = c.exit;
    RemoteTexts::openExitPage(state, shell);
    EXPECT_EQ(shell.calls, c.opened) << c.exit;
  }
}

}  // namespace
