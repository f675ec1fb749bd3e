#include "net/remote_texts_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "net/http_fetcher.h"

namespace {

struct HttpTextFetcher final : TextFetcher {
  Bytes fetch(const Text& url, const Text& method, std::int32_t timeoutSeconds) override {
    return HttpFetcher::fetch(url, method, Text(), Text(), Text(), Text(), Text(), timeoutSeconds);
  }
};

struct WindowsShell final : RemoteShell {
  void open(const Text& address) override {
    // An open browser window, when there is one, owns whatever the shell shows about the address.
    HWND owner = FindWindowExA(nullptr, nullptr, nullptr, "Microsoft Internet Explorer");
    ShellExecuteA(owner, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  bool askYesNo(const Text& text, const Text& caption) override {
    return MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_YESNO | MB_TASKMODAL) == IDYES;
  }
};

}  // namespace

TextFetcher& httpTextFetcher() {
  static HttpTextFetcher fetcher;
  return fetcher;
}

RemoteShell& windowsShell() {
  static WindowsShell shell;
  return shell;
}
