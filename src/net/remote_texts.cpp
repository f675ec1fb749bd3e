#include "net/remote_texts.h"

#include <cfloat>
#include <cmath>

#include "app/text_numbers.h"
#include "net/number_text.h"
#include "net/publisher.h"

const char* const updateQuestionText = "发现版本更新 点击是下载更新！否暂不更新";
const char* const updateQuestionCaption = "发现更新！";

const char* const versionPath = "/omra/omra2ver.txt";
const char* const exitPagePath = "/omra/tc.txt";
const char* const downloadPath = "/omra/down2.txt";
const char* const adPagePath = "/omra/ad.txt";

namespace {

bool startsWithIgnoringCase(const Text& text, const char* prefix) {
  for (std::size_t i = 0; prefix[i]; ++i) {
    if (i >= text.size()) return false;
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

// Round to nearest float, with the values beyond the largest float going to infinity only past
// the halfway point, as the hardware rounding would.
float nearestFloat(double value) {
  if (std::isnan(value) || std::isinf(value)) return static_cast<float>(value);
  const double halfwayBeyondMax = static_cast<double>(FLT_MAX) + std::ldexp(1.0, 127 - 24);
  if (std::fabs(value) >= halfwayBeyondMax) return value > 0 ? HUGE_VALF : -HUGE_VALF;
  if (std::fabs(value) > FLT_MAX) return value > 0 ? FLT_MAX : -FLT_MAX;
  return static_cast<float>(value);
}

}  // namespace

Text publisherUrl(const char* path) { return homePageUrl() + path; }
Text defaultAdPageUrl() { return publisherUrl("/omra/tj.htm"); }

Text bytesToText(const Bytes& block) {
  std::size_t length = 0;
  while (length < block.size() && block[length] != 0) ++length;
  return Text(reinterpret_cast<const char*>(block.data()), length);
}

float textToFloat(const Text& text) {
  if (text.empty()) return 0.0f;
  return nearestFloat(leadingNumber(foldFullWidth(text)));
}

bool isNewerVersion(float remoteVersion) {
  // NaN fails the comparison and so offers nothing.
  return static_cast<double>(remoteVersion) - ownVersion > updateMargin;
}

bool isWebAddress(const Text& address) {
  return startsWithIgnoringCase(address, "http://") || startsWithIgnoringCase(address, "https://");
}

void openUrl(RemoteShell& shell, const Text& address) {
  if (isWebAddress(address)) shell.open(address);
}

namespace RemoteTexts {

void fetchAll(AppState& state, TextFetcher& fetcher) {
  // Each fetch ends, or gives up, before the next starts; a failed one leaves its text empty.
  state.remoteVersion = textToFloat(bytesToText(fetcher.fetch(publisherUrl(versionPath), "GET", 1)));
  state.exitPageUrl = bytesToText(fetcher.fetch(publisherUrl(exitPagePath), "GET", 1));
  state.downloadUrl = bytesToText(fetcher.fetch(publisherUrl(downloadPath), "GET", 1));
  state.adPageUrl = bytesToText(fetcher.fetch(publisherUrl(adPagePath), "GET", 1));
}

void showAdPage(const AppState& state, MainWindowPort& window) {
  window.setHtmlAddress(isWebAddress(state.adPageUrl) ? state.adPageUrl : defaultAdPageUrl());
}

void offerUpdate(const AppState& state, RemoteShell& shell, MainWindowPort& window) {
  if (!isNewerVersion(state.remoteVersion)) return;
  if (!shell.askYesNo(updateQuestionText, updateQuestionCaption)) return;
  openUrl(shell, homePageUrl());
  openUrl(shell, state.downloadUrl);
  // The window goes later, from the message loop, without a close request: key.ini stays as it
  // was and the destruction opens the exit page.
  window.requestDestroy();
}

void openExitPage(const AppState& state, RemoteShell& shell) {
  if (!state.exitPageUrl.empty()) openUrl(shell, state.exitPageUrl);
}

}  // namespace RemoteTexts
