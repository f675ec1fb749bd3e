#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <string>

#include "loopback_server.h"
#include "net/http_fetcher.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string textOf(const Bytes& b) { return std::string(b.begin(), b.end()); }

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Each run gets cookie names of its own: the prefix's cookie store outlives the test.
std::string uniqueName(const char* stem) { return stem + std::to_string(GetTickCount()) + std::to_string(GetCurrentProcessId()); }

std::string cookiesFor(const std::string& url) {
  char data[4096] = {};
  DWORD size = sizeof data;
  if (!InternetGetCookieA(url.c_str(), nullptr, data, &size)) return std::string();
  return data;
}

class Fetch : public ::testing::Test {
 protected:
  LoopbackServer server;
  void SetUp() override { ASSERT_TRUE(server.running()); }
};

TEST_F(Fetch, ReturnsTheBodyOfANormalText) {
  Text headers;
  EXPECT_EQ(textOf(HttpFetcher::fetch(server.url("/omra/omra2ver.txt"), "GET", "", "", "", "", "", 1, &headers)), "1.6\r\n");
  EXPECT_EQ(headers.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << headers;
  EXPECT_NE(headers.find("Content-Length: 5\r\n"), std::string::npos) << headers;
}

TEST_F(Fetch, EmptyBodyAndErrorPageAreReturnedAsTheyCame) {
  EXPECT_TRUE(HttpFetcher::fetch(server.url("/empty"), "GET", "", "", "", "", "", 1).empty());
  Text headers;
  EXPECT_EQ(textOf(HttpFetcher::fetch(server.url("/missing"), "get", "", "", "", "", "", 1, &headers)), "<html>not here</html>");
  EXPECT_EQ(headers.rfind("HTTP/1.1 404", 0), 0u) << headers;
}

TEST_F(Fetch, AServerThatNeverAnswersGivesTheEmptyBlockAfterTheWaitAndLeavesTheNextFetchAlone) {
  Text headers = "untouched";
  const Clock::time_point start = Clock::now();
  EXPECT_TRUE(HttpFetcher::fetch(server.url("/silent"), "GET", "", "", "", "", "", 1, &headers).empty());
  const double waited = secondsSince(start);
  EXPECT_GE(waited, 0.9);
  EXPECT_LT(waited, 10.0);
  EXPECT_EQ(headers, "");
  // The abandoned worker is still waiting on its socket; the next fetch owns its own result.
  EXPECT_EQ(textOf(HttpFetcher::fetch(server.url("/after-silent"), "GET", "", "", "", "", "", 5)), "1.6\r\n");
  EXPECT_EQ(server.requestsFor("/silent").size(), 1u);
}

TEST_F(Fetch, ASlowDripArrivesWholeWhileItKeepsWithinTheWait) {
  EXPECT_EQ(textOf(HttpFetcher::fetch(server.url("/drip"), "GET", "", "", "", "", "", 5)), "0123456789");
}

TEST_F(Fetch, ADripSlowerThanTheWaitFailsAndTheNextFetchIsUnaffected) {
  EXPECT_TRUE(HttpFetcher::fetch(server.url("/slowdrip"), "GET", "", "", "", "", "", 1).empty());
  EXPECT_EQ(textOf(HttpFetcher::fetch(server.url("/next"), "GET", "", "", "", "", "", 5)), "1.6\r\n");
}

TEST_F(Fetch, A64MegabyteBodyArrivesWhole) {
  const Bytes body = HttpFetcher::fetch(server.url("/big"), "GET", "", "", "", "", "", 60);
  ASSERT_EQ(body.size(), bigBodySize);
  std::size_t wrong = 0;
  for (std::size_t i = 0; i < body.size(); ++i) wrong += static_cast<char>(body[i]) != bigBodyByte(i);
  EXPECT_EQ(wrong, 0u);
}

TEST_F(Fetch, ABodyBeyondTheLimitFailsInsteadOfExhaustingMemory) {
  // The real limit is far above 64 MB; a lowered one shows the same road in a fraction of the time.
  const std::size_t limit = fetchBodyLimit();
  EXPECT_GE(limit, bigBodySize);
  setFetchBodyLimit(std::size_t(1) << 20);
  Text headers = "untouched";
  EXPECT_TRUE(HttpFetcher::fetch(server.url("/big"), "GET", "", "", "", "", "", 60, &headers).empty());
  setFetchBodyLimit(limit);
  EXPECT_EQ(headers, "");
  EXPECT_EQ(textOf(HttpFetcher::fetch(server.url("/after-big"), "GET", "", "", "", "", "", 5)), "1.6\r\n");
}

TEST_F(Fetch, LongResponseHeadersGiveSpacesAndStoreNoCookie) {
  Text headers;
  EXPECT_EQ(textOf(HttpFetcher::fetch(server.url("/longheaders"), "GET", "", "", "", "", "", 5, &headers)), "body");
  EXPECT_EQ(headers, Text(1024, ' '));
  EXPECT_EQ(cookiesFor(server.url("/")).find("tavrikLong"), std::string::npos);
}

TEST_F(Fetch, CookiesWithAndWithoutEqualsGoToTheStore) {
  const std::string name = uniqueName("tavrik");
  Text headers;
  EXPECT_EQ(textOf(HttpFetcher::fetch(server.url("/cookies?" + name), "GET", "", "", "", "", "", 5, &headers)), "ok");
  const std::string stored = cookiesFor(server.url("/"));
  EXPECT_NE(stored.find(name + "=42"), std::string::npos) << stored;
  EXPECT_NE(stored.find(name + "Word"), std::string::npos) << stored;
}

TEST_F(Fetch, AGetGoesOutWithTheDefaultHeadersInOrder) {
  const std::string url = server.url("/omra/tc.txt");
  HttpFetcher::fetch(url, "", "", "", "", "", "", 5);
  const auto seen = server.requestsFor("/omra/tc.txt");
  ASSERT_EQ(seen.size(), 1u);
  const ReceivedRequest& r = seen[0];
  EXPECT_EQ(r.method, "GET");
  EXPECT_EQ(r.target, "/omra/tc.txt");
  EXPECT_EQ(r.header("Host"), "127.0.0.1:" + std::to_string(server.port()));
  EXPECT_EQ(r.header("User-Agent"), "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)");
  EXPECT_EQ(r.header("Accept"),
            "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
            "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*");
  EXPECT_EQ(r.header("Referer"), url);
  EXPECT_EQ(r.header("Accept-Language"), "zh-cn");
  EXPECT_LT(r.indexOf("Accept"), r.indexOf("Referer"));
  EXPECT_LT(r.indexOf("Referer"), r.indexOf("Accept-Language"));
  EXPECT_EQ(r.indexOf("Content-Type"), -1);
  EXPECT_EQ(r.body, "");
}

TEST_F(Fetch, APostCarriesItsBodyAndTheCallersHeadersFirst) {
  const std::string url = server.url("/post");
  EXPECT_EQ(textOf(HttpFetcher::fetch(url, "post", "", "", "", "X-Tavrik: yes\r\n", "a=1&b=2", 5)), "1.6\r\n");
  const auto seen = server.requestsFor("/post");
  ASSERT_EQ(seen.size(), 1u);
  const ReceivedRequest& r = seen[0];
  EXPECT_EQ(r.method, "post");
  EXPECT_EQ(r.header("X-Tavrik"), "yes");
  EXPECT_LT(r.indexOf("X-Tavrik"), r.indexOf("Accept"));
  EXPECT_EQ(r.header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(r.header("Content-Length"), "7");
  EXPECT_EQ(r.body, "a=1&b=2");
}

TEST_F(Fetch, OtherMethodsSendNothing) {
  for (const char* method : {"HEAD", "PUT", "DELETE"}) {
    Text headers = "untouched";
    EXPECT_TRUE(HttpFetcher::fetch(server.url("/other"), method, "", "", "", "", "", 5, &headers).empty()) << method;
    EXPECT_EQ(headers, "") << method;
  }
  // A request that did go out would have been recorded before this one was answered.
  HttpFetcher::fetch(server.url("/marker"), "GET", "", "", "", "", "", 5);
  EXPECT_EQ(server.requestsFor("/other").size(), 0u);
  EXPECT_EQ(server.requestsFor("/marker").size(), 1u);
}

TEST_F(Fetch, AProxyOfSpacesMeansDirectAndARealOneGetsTheWholeUrl) {
  EXPECT_EQ(textOf(HttpFetcher::fetch(server.url("/direct"), "GET", "   ", "", "", "", "", 5)), "1.6\r\n");
  ASSERT_EQ(server.requestsFor("/direct").size(), 1u);
  EXPECT_EQ(server.requestsFor("/direct")[0].target, "/direct");

  // Our server plays the proxy: the request line then names the whole URL.
  const std::string proxy = "127.0.0.1:" + std::to_string(server.port());
  EXPECT_EQ(textOf(HttpFetcher::fetch("http://proxied.example/viaproxy", "GET", proxy, "", "", "", "", 5)), "1.6\r\n");
  const auto seen = server.requestsFor("/viaproxy");
  ASSERT_EQ(seen.size(), 1u);
  // Wine names the port in the request line; Windows leaves it out.
  EXPECT_EQ(seen[0].target.rfind("http://proxied.example", 0), 0u) << seen[0].target;
}

TEST_F(Fetch, NobodyListeningGivesTheEmptyBlock) {
  // A port that a server of our own held a moment ago and has closed: nobody listens there.
  int freePort;
  {
    LoopbackServer other;
    freePort = other.port();
  }
  const Clock::time_point start = Clock::now();
  EXPECT_TRUE(HttpFetcher::fetch("http://127.0.0.1:" + std::to_string(freePort) + "/x", "GET", "", "", "", "", "", 1).empty());
  EXPECT_LT(secondsSince(start), 10.0);
}

// The wait keeps this thread's window working: posted messages are dispatched during the fetch,
// and a quit message stays for the main loop.
int dispatchedDuringFetch = 0;
LRESULT CALLBACK countingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP + 7) ++dispatchedDuringFetch;
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(Fetch, MessagesAreDispatchedWhileWaitingAndAQuitMessageStays) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = countingProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "TavrikFetchWitness";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA("TavrikFetchWitness", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  dispatchedDuringFetch = 0;
  PostMessageA(window, WM_APP + 7, 0, 0);
  PostMessageA(window, WM_APP + 7, 0, 0);
  EXPECT_EQ(textOf(HttpFetcher::fetch(server.url("/drip"), "GET", "", "", "", "", "", 5)), "0123456789");
  EXPECT_EQ(dispatchedDuringFetch, 2);

  PostQuitMessage(7);
  EXPECT_EQ(textOf(HttpFetcher::fetch(server.url("/drip"), "GET", "", "", "", "", "", 5)), "0123456789");
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  DestroyWindow(window);
}

}  // namespace
