#pragma once
// The hidden HTML view: the system's WebBrowser control hosted in a child window.
#include <windows.h>

#include "app/text.h"

struct WebView;

// Embeds the WebBrowser control in the host window; null when it cannot be created.
WebView* createWebView(HWND host);
void navigateWebView(WebView* view, const Text& address);
void resizeWebView(WebView* view, int width, int height);
