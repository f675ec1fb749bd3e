#include "app/main_window_win32.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "app/layout.h"
#include "app/tray_win32.h"
#include "app/web_view_win32.h"
#include "net/publisher.h"
#include "resources/resource_ids.h"

namespace {

constexpr const char* webViewHostClass = "TavrikWebViewHost";

Win32MainWindow theWindow;

const char* windowClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::TabControl: return WC_TABCONTROLA;
    case ControlKind::GroupBox:
    case ControlKind::PushButton:
    case ControlKind::CheckBox: return "BUTTON";
    case ControlKind::KeyBox: return "EDIT";
    case ControlKind::WebView: return webViewHostClass;
    case ControlKind::Label:
    case ControlKind::Hyperlink: return "STATIC";
  }
  return "STATIC";
}

DWORD styleOf(const ControlSpec& entry) {
  DWORD style = WS_CHILD;
  switch (entry.kind) {
    case ControlKind::TabControl: style |= WS_CLIPSIBLINGS | TCS_SINGLELINE | TCS_TABS | WS_TABSTOP; break;
    case ControlKind::GroupBox: style |= BS_GROUPBOX | BS_LEFT; break;
    case ControlKind::PushButton: style |= BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER | WS_TABSTOP; break;
    case ControlKind::CheckBox:
      style |= BS_AUTOCHECKBOX | BS_MULTILINE | WS_TABSTOP;
      if (entry.font == FontChoice::SongTi) style |= BS_CENTER | BS_VCENTER;
      break;
    // Read-only: the characters of a key press never enter the box, only what capture writes.
    case ControlKind::KeyBox: style |= ES_READONLY | ES_AUTOHSCROLL | ES_LEFT | WS_BORDER | WS_TABSTOP; break;
    case ControlKind::Label: style |= SS_OWNERDRAW; break;
    case ControlKind::Hyperlink: style |= SS_OWNERDRAW | SS_NOTIFY; break;
    case ControlKind::WebView: style |= WS_CLIPCHILDREN; break;
  }
  return style;
}

bool isKeyBox(Control c) { return c >= Control::编辑框6 && c <= Control::编辑框3; }

LRESULT CALLBACK webViewHostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Hands an address to the shell; falls back to the command registered for .htm files.
void openInBrowser(const Text& address) {
  const HINSTANCE result = ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOW);
  if (reinterpret_cast<INT_PTR>(result) > 32) return;
  char progId[260] = {};
  LONG size = sizeof progId;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", progId, &size) != ERROR_SUCCESS) return;
  std::string key = std::string(progId) + "\\shell\\open\\command";
  char command[1024] = {};
  size = sizeof command;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), command, &size) != ERROR_SUCCESS) return;
  std::string line = std::string(command) + " " + address;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace

Win32MainWindow& mainWindow() { return theWindow; }

bool Win32MainWindow::create(HINSTANCE instance, MainWindowEvents& events) {
  instance_ = instance;
  events_ = events_ ? events_ : &events;
  INITCOMMONCONTROLSEX common = {sizeof common, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&common);

  const WindowSpec& entry = mainWindowSpec();
  icon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(mainIconId), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));

  WNDCLASSEXA cls = {};
  cls.cbSize = sizeof cls;
  if (!GetClassInfoExA(instance, entry.className, &cls)) {
    cls = {};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = windowProc;
    cls.hInstance = instance;
    cls.hIcon = icon_;
    cls.hIconSm = icon_;
    cls.hCursor = LoadCursor(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = entry.className;
    if (!RegisterClassExA(&cls)) return false;
  }
  WNDCLASSEXA host = {};
  host.cbSize = sizeof host;
  if (!GetClassInfoExA(instance, webViewHostClass, &host)) {
    host = {};
    host.cbSize = sizeof host;
    host.lpfnWndProc = webViewHostProc;
    host.hInstance = instance;
    host.lpszClassName = webViewHostClass;
    RegisterClassExA(&host);
  }

  const Point origin = centredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), entry.width, entry.height);
  // Fixed frame: caption, system menu and minimise button; no sizing border, no maximise button.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS;
  window_ = CreateWindowExA(0, entry.className, entry.caption, style, origin.x, origin.y, entry.width, entry.height,
                            nullptr, nullptr, instance, this);
  if (!window_) return false;
  SendMessageA(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  createControls();
  return true;
}

void Win32MainWindow::createControls() {
  guiFont_ = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  songTiFont_ = CreateFontA(songTiHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, gb2312Charset, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, songTiFace);
  whiteBrush_ = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));

  for (const ControlSpec& entry : controlLayout()) {
    const int i = controlIndex(entry.name);
    textColours_[i] = entry.textColour;
    HWND parent = entry.parent == Control::None ? window_ : controls_[controlIndex(entry.parent)];
    // Group boxes and the tab control hold controls: Tab navigation must reach inside them.
    const DWORD exStyle = (entry.kind == ControlKind::GroupBox || entry.kind == ControlKind::TabControl) ? WS_EX_CONTROLPARENT : 0;
    HWND h = CreateWindowExA(exStyle, windowClassOf(entry.kind), entry.text, styleOf(entry), entry.left, entry.top, entry.width,
                             entry.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(entry.name))),
                             instance_, nullptr);
    controls_[i] = h;
    if (!h) continue;
    SendMessageA(h, WM_SETFONT, reinterpret_cast<WPARAM>(entry.font == FontChoice::SongTi ? songTiFont_ : guiFont_), FALSE);

    // Controls that hold other controls pass their children's notifications on to the window.
    if (entry.kind == ControlKind::GroupBox || entry.kind == ControlKind::TabControl) {
      originalProcs_[i] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(containerProc)));
    } else if (entry.name == Control::标签1) {
      originalProcs_[i] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sinkProc)));
    } else if (entry.kind == ControlKind::Hyperlink) {
      originalProcs_[i] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(linkProc)));
    }
    if (entry.kind == ControlKind::TabControl) {
      for (int page = 0; page < 6; ++page) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(tabPageTitles()[page]);
        SendMessageA(h, TCM_INSERTITEMA, page, reinterpret_cast<LPARAM>(&item));
      }
      SendMessageA(h, TCM_SETCURSEL, 0, 0);
    }
    if (entry.kind == ControlKind::WebView) webView_ = createWebView(h);
  }
  showPage(1);
}

Control Win32MainWindow::controlOf(HWND h) const {
  if (!h) return Control::None;
  for (int i = 0; i < controlCount; ++i) {
    if (controls_[i] == h) return static_cast<Control>(i);
  }
  return Control::None;
}

int Win32MainWindow::selectedPage() const {
  return static_cast<int>(SendMessageA(controls_[controlIndex(Control::选择夹1)], TCM_GETCURSEL, 0, 0)) + 1;
}

void Win32MainWindow::selectPage(int page) {
  SendMessageA(controls_[controlIndex(Control::选择夹1)], TCM_SETCURSEL, page - 1, 0);
  showPage(page);
}

void Win32MainWindow::showPage(int page) {
  for (const ControlSpec& entry : controlLayout()) {
    HWND h = controls_[controlIndex(entry.name)];
    if (!h) continue;
    // Children of a group box follow their box; only their own visibility matters here.
    const bool onTab = entry.parent == Control::选择夹1;
    const bool show = entry.visible && (!onTab || entry.page == page);
    ShowWindow(h, show ? SW_SHOWNA : SW_HIDE);
  }
}

void Win32MainWindow::runCreationSequence() {
  eventsOn_ = true;
  events_->created();
  if (!IsWindow(window_)) return;
  events_->positionChanged();
  events_->sizeChanged();
  if (!IsWindow(window_)) return;
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
}

void Win32MainWindow::dispatch(MSG& msg) {
  const bool key = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  if (key && msg.hwnd && IsWindowEnabled(msg.hwnd) && (msg.hwnd == window_ || IsChild(window_, msg.hwnd))) {
    if (navigateFocus(msg)) return;
    const Control target = controlOf(msg.hwnd);
    if (eventsOn_ && isKeyBox(target)) events_->keyDown(target, static_cast<std::uint32_t>(msg.wParam));
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

// Tab and Shift+Tab move the focus; Ctrl+Tab is left to capture (it is how a player picks Tab).
bool Win32MainWindow::navigateFocus(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB) return false;
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  const bool backwards = GetKeyState(VK_SHIFT) < 0;
  HWND next = GetNextDlgTabItem(window_, msg.hwnd, backwards);
  if (next) SetFocus(next);
  return true;
}

LRESULT CALLBACK Win32MainWindow::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) theWindow.window_ = hwnd;
  if (hwnd != theWindow.window_) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return theWindow.handle(msg, wParam, lParam);
}

LRESULT CALLBACK Win32MainWindow::containerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const WNDPROC original = theWindow.originalProc(hwnd);
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return SendMessageA(theWindow.window_, msg, wParam, lParam);
    default:
      return CallWindowProcA(original, hwnd, msg, wParam, lParam);
  }
}

LRESULT CALLBACK Win32MainWindow::sinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const WNDPROC original = theWindow.originalProc(hwnd);
  if (msg == hotkeyForwardMessage) {
    if (theWindow.eventsOn_) theWindow.events_->feedback(static_cast<std::uint32_t>(wParam));
    return 0;
  }
  return CallWindowProcA(original, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK Win32MainWindow::linkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const WNDPROC original = theWindow.originalProc(hwnd);
  if (msg == WM_LBUTTONDOWN) {
    if (theWindow.eventsOn_) theWindow.openHomePage();
    return 0;
  }
  if (msg == WM_SETCURSOR) {
    SetCursor(LoadCursor(nullptr, IDC_HAND));
    return TRUE;
  }
  return CallWindowProcA(original, hwnd, msg, wParam, lParam);
}

void Win32MainWindow::openHomePage() { openInBrowser(homePageUrl()); }

LRESULT Win32MainWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_COMMAND: {
      const Control source = controlOf(reinterpret_cast<HWND>(lParam));
      const WORD code = HIWORD(wParam);
      if (eventsOn_ && code == BN_CLICKED &&
          (source == Control::按钮1 || source == Control::按钮3 || source == Control::选择框1 || source == Control::选择框2)) {
        events_->clicked(source);
      }
      return 0;
    }
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == controls_[controlIndex(Control::选择夹1)] && header->code == TCN_SELCHANGE) {
        showPage(selectedPage());
      }
      return 0;
    }
    case WM_DRAWITEM:
      drawLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
      return colourStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_MOVE: {
      const LRESULT result = DefWindowProcA(window_, msg, wParam, lParam);
      if (eventsOn_) events_->positionChanged();
      return result;
    }
    case WM_SIZE: {
      const LRESULT result = DefWindowProcA(window_, msg, wParam, lParam);
      if (eventsOn_) events_->sizeChanged();
      return result;
    }
    case WM_ACTIVATE: {
      const LRESULT result = DefWindowProcA(window_, msg, wParam, lParam);
      if (LOWORD(wParam) != WA_INACTIVE && eventsOn_ && !activatedOnce_) {
        activatedOnce_ = true;
        events_->firstActivated();
      }
      return result;
    }
    case trayCallbackMessage: {
      const int value = trayEventOf(lParam);
      if (value && eventsOn_) events_->trayEvent(value);
      return 0;
    }
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
      // The close road ends the process from inside the handler; it never returns here.
      if (eventsOn_) events_->canBeClosed();
      return msg == WM_QUERYENDSESSION ? TRUE : 0;
    case requestDestroyMessage:
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      if (eventsOn_) events_->willBeDestroyed();
      return 0;
    default:
      // A new notification area (the shell restarted) starts empty: the tray icon goes back in.
      if (msg >= 0xC000 && msg == taskbarCreatedMessage() && eventsOn_) restoreProgramTrayIcon();
      return DefWindowProcA(window_, msg, wParam, lParam);
  }
}

LRESULT Win32MainWindow::colourStatic(HDC dc, HWND child) {
  const Control c = controlOf(child);
  if (c == Control::None) return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  const ControlSpec& entry = controlSpec(c);
  const std::uint32_t colour = textColours_[controlIndex(c)];
  if (entry.kind == ControlKind::KeyBox) {
    // A read-only edit asks for static colours; keep it black (or red) on white.
    SetTextColor(dc, colour == noColour ? RGB(0, 0, 0) : colour);
    SetBkColor(dc, RGB(255, 255, 255));
    return reinterpret_cast<LRESULT>(whiteBrush_);
  }
  if (colour != noColour) SetTextColor(dc, colour);
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void Win32MainWindow::drawLabel(const DRAWITEMSTRUCT& item) {
  const Control c = controlOf(item.hwndItem);
  if (c == Control::None) return;
  const ControlSpec& entry = controlSpec(c);
  const Text caption = text(c);
  HDC dc = item.hDC;
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  const UINT format = entry.wordWrap ? (DT_LEFT | DT_TOP | DT_WORDBREAK) : (DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  RECT box = item.rcItem;
  if (entry.raised) {
    RECT shadow = box;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &shadow, format);
  }
  const std::uint32_t colour = textColours_[controlIndex(c)];
  SetTextColor(dc, colour == noColour ? GetSysColor(COLOR_WINDOWTEXT) : colour);
  DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &box, format);
  SelectObject(dc, oldFont);
}

// Labels have no background of their own: the parent repaints what lies behind them.
void Win32MainWindow::invalidateBehind(HWND child) {
  RECT box;
  GetWindowRect(child, &box);
  HWND parent = GetParent(child);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
  InvalidateRect(parent, &box, TRUE);
  InvalidateRect(child, nullptr, TRUE);
}

Text Win32MainWindow::text(Control c) {
  HWND h = control(c);
  if (!h) return Text();
  const int length = GetWindowTextLengthA(h);
  Text result(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(h, &result[0], length + 1);
  result.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return result;
}

void Win32MainWindow::setText(Control c, const Text& value) {
  HWND h = control(c);
  if (!h) return;
  SetWindowTextA(h, value.c_str());
  const ControlKind kind = controlSpec(c).kind;
  if (kind == ControlKind::Label || kind == ControlKind::Hyperlink) invalidateBehind(h);
}

void Win32MainWindow::setTextColour(Control c, std::uint32_t colour) {
  textColours_[controlIndex(c)] = colour;
  if (HWND h = control(c)) InvalidateRect(h, nullptr, TRUE);
}

void Win32MainWindow::setEnabled(Control c, bool enabled) {
  if (HWND h = control(c)) EnableWindow(h, enabled ? TRUE : FALSE);
}

bool Win32MainWindow::checked(Control c) {
  HWND h = control(c);
  return h && SendMessageA(h, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32MainWindow::setChecked(Control c, bool on) {
  // BM_SETCHECK changes the state without a BN_CLICKED notification.
  if (HWND h = control(c)) SendMessageA(h, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32MainWindow::setVisible(bool visible) { ShowWindow(window_, visible ? SW_SHOW : SW_HIDE); }

int Win32MainWindow::windowState() {
  if (IsIconic(window_)) return windowMinimised;
  if (IsZoomed(window_)) return windowMaximised;
  return windowNormal;
}

void Win32MainWindow::setWindowState(int state) {
  storedWindowState_ = state;
  if (!IsWindowVisible(window_)) return;
  switch (state) {
    case windowNormal: ShowWindow(window_, SW_SHOWNORMAL); break;
    case windowCentred: {
      if (IsIconic(window_) || IsZoomed(window_)) ShowWindow(window_, SW_RESTORE);
      RECT box;
      GetWindowRect(window_, &box);
      const Point origin = centredOrigin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                         box.right - box.left, box.bottom - box.top);
      SetWindowPos(window_, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
      break;
    }
    case windowMinimised: ShowWindow(window_, SW_MINIMIZE); break;
    case windowMaximised: ShowWindow(window_, SW_MAXIMIZE); break;
    default: break;
  }
}

Bytes Win32MainWindow::iconImage() {
  HRSRC found = FindResourceA(instance_, MAKEINTRESOURCEA(mainIconFileId), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!found) return Bytes();
  HGLOBAL loaded = LoadResource(instance_, found);
  const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
  if (!bytes) return Bytes();
  return Bytes(bytes, bytes + SizeofResource(instance_, found));
}

void Win32MainWindow::setHtmlAddress(const Text& address) { navigateWebView(static_cast<WebView*>(webView_), address); }

void Win32MainWindow::requestDestroy() { PostMessageA(window_, requestDestroyMessage, 0, 0); }
