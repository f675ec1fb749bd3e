#pragma once
// The four texts of the publisher's server: the newest version (with the update offer), the exit
// page, the download page and the HTML view's page.
#include <cstdint>

#include "app/app_state.h"
#include "app/main_window_port.h"
#include "app/text.h"

// The one fetch the remote texts need; the real one is HttpFetcher::fetch.
struct TextFetcher {
  virtual ~TextFetcher() = default;
  virtual Bytes fetch(const Text& url, const Text& method, std::int32_t timeoutSeconds) = 0;
};

// What the remote texts ask of the Windows shell.
struct RemoteShell {
  virtual ~RemoteShell() = default;
  // Hands the address to the shell to be opened in the browser.
  virtual void open(const Text& address) = 0;
  // A task-modal Yes/No question; true only for Yes.
  virtual bool askYesNo(const Text& text, const Text& caption) = 0;
};

constexpr double ownVersion = 1.52;
constexpr double updateMargin = 0.0000001;

extern const char* const updateQuestionText;
extern const char* const updateQuestionCaption;

// "http://" + publisherHost + path.
Text publisherUrl(const char* path);
Text defaultAdPageUrl();

// The paths of the four texts on the publisher's server, in the order they are fetched.
extern const char* const versionPath;   // "/omra/omra2ver.txt"
extern const char* const exitPagePath;  // "/omra/tc.txt"
extern const char* const downloadPath;  // "/omra/down2.txt"
extern const char* const adPagePath;    // "/omra/ad.txt"

// The bytes up to the first zero byte.
Text bytesToText(const Bytes& block);
// Full-width forms folded first; the leading decimal number rounded to the nearest float; 0
// when there is none.
float textToFloat(const Text& text);
// Above ownVersion by more than updateMargin, in double precision.
bool isNewerVersion(float remoteVersion);
// Only web addresses leave the program: the server's texts must not make the shell start a
// local program, a script or a network share. "http://" or "https://", letters in any case.
bool isWebAddress(const Text& address);

// Hands a web address to the shell byte for byte; anything else is not opened.
void openUrl(RemoteShell& shell, const Text& address);

namespace RemoteTexts {
// The four fetches, one after the other, into the state's fields.
void fetchAll(AppState& state, TextFetcher& fetcher);
// The view goes to the server's page when it is a web address, else to the default page.
void showAdPage(const AppState& state, MainWindowPort& window);
// At the first activation: a newer version brings the question; Yes opens the home page and
// the download page and ends the program through the window's destruction.
void offerUpdate(const AppState& state, RemoteShell& shell, MainWindowPort& window);
void openExitPage(const AppState& state, RemoteShell& shell);
}  // namespace RemoteTexts
