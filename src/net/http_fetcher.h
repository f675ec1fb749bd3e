#pragma once
// One HTTP request through WinINet on a worker thread of its own; the user-interface thread
// waits for it while dispatching its messages. The URL, header and cookie rules are plain text
// work and live in the platform-free core; fetch itself is Windows only.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/text.h"

struct HttpFetcher {
  // Blocks until the worker has ended or a wait of timeoutSeconds (0 means 90) passed without
  // input; dispatches this thread's messages meanwhile. An empty block on any failure.
  // responseHeaders, when given, receives the raw headers the worker handed back, success or not.
  static Bytes fetch(const Text& url, const Text& method = Text(), const Text& proxy = Text(),
                     const Text& userName = Text(), const Text& password = Text(), const Text& extraHeaders = Text(),
                     const Text& body = Text(), std::int32_t timeoutSeconds = 0, Text* responseHeaders = nullptr);

  // The host in lower case; with keepPort the ":port" after it stays.
  static Text hostOf(const Text& url, bool keepPort);
  // Begins with "/".
  static Text pathOf(const Text& url);
  // 80 unless the host carries ":port".
  static int portOf(const Text& url);
};

// The largest response body a fetch takes; a larger one fails the fetch. The default keeps the
// body and its copies within a 32-bit address space; tests lower it.
std::size_t fetchBodyLimit();
void setFetchBodyLimit(std::size_t bytes);

// Byte searches over ANSI texts: positions count from 0, a match never begins on the trail byte
// of a GBK double-byte character, and ignoreCase folds ASCII letters only.
constexpr std::size_t notFound = static_cast<std::size_t>(-1);
std::size_t findText(const Text& text, const Text& wanted, std::size_t from = 0, bool ignoreCase = false);
bool containsIgnoringCase(const Text& text, const Text& wanted);

// Nothing left once every space and every ideographic space (A1 A1) is taken out.
bool isBlank(const Text& text);

// Which send the method leads to: empty and GET (any case) get, POST posts, others send nothing.
enum class RequestVerb { Get, Post, Unsupported };
RequestVerb verbOf(const Text& method);

// The request's header text: the caller's lines first, then the Accept, Referer and
// Accept-Language defaults the caller did not give; a POST with a body adds its Content-Type
// (unless given) and always its Content-Length.
Text composeHeaders(const Text& extraHeaders, const Text& url, RequestVerb verb, const Text& body);

// What InternetOpenA is given for the proxy: empty means direct access.
Text proxyListOf(const Text& proxy);

// One "Set-Cookie: " line of the raw response headers, split as the cookie store is given it.
struct CookieLine {
  Text name;  // empty: no name
  Text data;
  bool operator==(const CookieLine& other) const { return name == other.name && data == other.data; }
};
std::vector<CookieLine> cookieLinesOf(const Text& rawHeaders);
