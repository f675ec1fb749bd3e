#include "app/tray_win32.h"

#include <shellapi.h>

#include <cstddef>

#include "app/main_window_win32.h"

static_assert(sizeof(TrayRecord) == NOTIFYICONDATAA_V1_SIZE, "the record is NOTIFYICONDATAA's first layout");
static_assert(offsetof(TrayRecord, hWnd) == offsetof(NOTIFYICONDATAA, hWnd), "hWnd");
static_assert(offsetof(TrayRecord, uID) == offsetof(NOTIFYICONDATAA, uID), "uID");
static_assert(offsetof(TrayRecord, uFlags) == offsetof(NOTIFYICONDATAA, uFlags), "uFlags");
static_assert(offsetof(TrayRecord, uCallbackMessage) == offsetof(NOTIFYICONDATAA, uCallbackMessage), "message");
static_assert(offsetof(TrayRecord, hIcon) == offsetof(NOTIFYICONDATAA, hIcon), "hIcon");
static_assert(offsetof(TrayRecord, szTip) == offsetof(NOTIFYICONDATAA, szTip), "szTip");

namespace {

TrayIcon programTray;

}  // namespace

void* Win32TrayShell::makeIcon(const Bytes& iconImage) {
  const int width = GetSystemMetrics(SM_CXSMICON);
  const int height = GetSystemMetrics(SM_CYSMICON);
  IconImageSlice slice;
  if (!pickIconImage(iconImage, width, slice)) return nullptr;
  // CreateIconFromResourceEx takes a non-const pointer but only reads the picture.
  Bytes picture(iconImage.begin() + static_cast<std::ptrdiff_t>(slice.offset),
                iconImage.begin() + static_cast<std::ptrdiff_t>(slice.offset + slice.size));
  return CreateIconFromResourceEx(picture.data(), static_cast<DWORD>(picture.size()), TRUE, 0x00030000, width, height,
                                  LR_DEFAULTCOLOR);
}

void Win32TrayShell::destroyIcon(void* icon) { DestroyIcon(static_cast<HICON>(icon)); }

void Win32TrayShell::notify(TrayAction action, const TrayRecord& record) {
  TrayRecord copy = record;
  Shell_NotifyIconA(static_cast<DWORD>(action), reinterpret_cast<NOTIFYICONDATAA*>(&copy));
}

UINT taskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

void showProgramTrayIcon() {
  Win32TrayShell shell;
  programTray.window = mainWindow().handle();
  showTrayIcon(programTray, shell, mainWindow().iconImage(), trayTip());
}

void removeProgramTrayIcon() {
  Win32TrayShell shell;
  removeTrayIcon(programTray, shell);
}

void restoreProgramTrayIcon() {
  Win32TrayShell shell;
  restoreTrayIcon(programTray, shell);
}
