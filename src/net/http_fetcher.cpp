#include "net/http_fetcher.h"

#include <cmath>
#include <limits>

#include "net/number_text.h"

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameByte(char a, char b, bool ignoreCase) { return ignoreCase ? lowerAscii(a) == lowerAscii(b) : a == b; }

bool matchesAt(const Text& text, std::size_t at, const Text& wanted, bool ignoreCase) {
  if (text.size() - at < wanted.size()) return false;
  for (std::size_t k = 0; k < wanted.size(); ++k) {
    if (!sameByte(text[at + k], wanted[k], ignoreCase)) return false;
  }
  return true;
}

// Lower case for the ASCII letters of whole characters: a trail byte may look like a capital.
Text lowerAsciiLetters(const Text& text) {
  Text out = text;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (isGbkLeadByte(static_cast<unsigned char>(out[i])) && i + 1 < out.size()) {
      ++i;
      continue;
    }
    out[i] = lowerAscii(out[i]);
  }
  return out;
}

int truncatedToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return std::numeric_limits<int>::max();
  if (value <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

const char* const defaultAccept =
    "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
    "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, */*\r\n";

}  // namespace

std::size_t findText(const Text& text, const Text& wanted, std::size_t from, bool ignoreCase) {
  // Walk character by character from the start, so "from" inside a double-byte character and a
  // match on a trail byte are both impossible.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i >= from && matchesAt(text, i, wanted, ignoreCase)) return i;
    if (isGbkLeadByte(static_cast<unsigned char>(text[i]))) ++i;
  }
  return notFound;
}

bool containsIgnoringCase(const Text& text, const Text& wanted) { return findText(text, wanted, 0, true) != notFound; }

bool isBlank(const Text& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b == 0x20) continue;
    if (b == 0xA1 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xA1) {
      ++i;
      continue;
    }
    return false;
  }
  return true;
}

RequestVerb verbOf(const Text& method) {
  Text upper = method;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper.empty() || upper == "GET") return RequestVerb::Get;
  if (upper == "POST") return RequestVerb::Post;
  return RequestVerb::Unsupported;
}

Text composeHeaders(const Text& extraHeaders, const Text& url, RequestVerb verb, const Text& body) {
  Text headers = extraHeaders;
  if (!containsIgnoringCase(headers, "Accept: ")) headers += defaultAccept;
  if (!containsIgnoringCase(headers, "Referer: ")) headers += "Referer: " + url + "\r\n";
  if (!containsIgnoringCase(headers, "Accept-Language: ")) headers += "Accept-Language: zh-cn\r\n";
  if (verb == RequestVerb::Post && !body.empty()) {
    if (!containsIgnoringCase(headers, "Content-Type: ")) headers += "Content-Type: application/x-www-form-urlencoded\r\n";
    headers += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  }
  return headers;
}

Text proxyListOf(const Text& proxy) { return isBlank(proxy) ? Text() : "http=" + proxy; }

std::vector<CookieLine> cookieLinesOf(const Text& rawHeaders) {
  std::vector<CookieLine> cookies;
  const Text marker = "Set-Cookie: ";
  if (!containsIgnoringCase(rawHeaders, marker)) return cookies;
  std::size_t start = 0;
  while (start <= rawHeaders.size()) {
    std::size_t end = rawHeaders.find('\n', start);
    if (end == Text::npos) end = rawHeaders.size();
    Text line = rawHeaders.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (containsIgnoringCase(line, marker)) {
      // The first twelve bytes go, wherever on the line the marker stood.
      const Text rest = line.size() > marker.size() ? line.substr(marker.size()) : Text();
      const std::size_t equals = rest.find('=');
      if (equals == Text::npos) {
        cookies.push_back({Text(), rest});
      } else {
        cookies.push_back({rest.substr(0, equals), rest.substr(equals + 1)});
      }
    }
    if (end == rawHeaders.size()) break;
    start = end + 1;
  }
  return cookies;
}

Text HttpFetcher::hostOf(const Text& url, bool keepPort) {
  const std::size_t scheme = findText(url, "http://");
  const std::size_t begin = scheme == notFound ? 0 : scheme + 7;
  const std::size_t slash = findText(url, "/", begin);
  Text host = begin >= url.size() ? Text() : url.substr(begin, slash == notFound ? Text::npos : slash - begin);
  if (!keepPort) {
    const std::size_t colon = findText(host, ":");
    if (colon != notFound) host.resize(colon);
  }
  return lowerAsciiLetters(host);
}

Text HttpFetcher::pathOf(const Text& url) {
  // The host is looked for from the very start of the URL, not after "http://".
  const std::size_t host = findText(url, hostOf(url, false), 0, true);
  if (host == notFound) return "/";
  const std::size_t slash = findText(url, "/", host);
  return slash == notFound ? Text("/") : url.substr(slash);
}

int HttpFetcher::portOf(const Text& url) {
  const Text host = hostOf(url, true);
  const std::size_t colon = findText(host, ":");
  if (colon == notFound) return 80;
  return truncatedToInt(leadingNumber(host.substr(colon + 1)));
}
