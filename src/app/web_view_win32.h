#pragma once
// The hidden HTML view: the system's WebBrowser control hosted in a child window.
#include <windows.h>

#include "app/text.h"

struct WebView;

// The view of the host window; the WebBrowser control is embedded at the first navigation, and
// when it cannot be, navigating does nothing.
WebView* createWebView(HWND host);
void navigateWebView(WebView* view, const Text& address);
void resizeWebView(WebView* view, int width, int height);
