#include "app/web_view_win32.h"

WebView* createWebView(HWND) { return nullptr; }
void navigateWebView(WebView*, const Text&) {}
void resizeWebView(WebView*, int, int) {}
