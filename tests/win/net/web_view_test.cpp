#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <ole2.h>

#include "app/web_view_win32.h"
#include "loopback_server.h"

namespace {

// Without an HTML engine the view may not come into being; either way nothing may fail loudly.
TEST(WebView, CreatesOrGivesUpSilentlyAndNavigatesWithoutHarm) {
  OleInitialize(nullptr);
  LoopbackServer server;
  HWND host = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 72, 24, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(host, nullptr);
  WebView* view = createWebView(host);
  navigateWebView(view, server.url("/omra/tj.htm"));
  navigateWebView(view, "");
  resizeWebView(view, 80, 30);
  navigateWebView(nullptr, server.url("/x"));
  resizeWebView(nullptr, 1, 1);
  MSG msg;
  for (int i = 0; i < 20 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) DispatchMessageA(&msg);
  DestroyWindow(host);
  OleUninitialize();
  SUCCEED() << (view ? "view created" : "no view in this system");
}

}  // namespace
