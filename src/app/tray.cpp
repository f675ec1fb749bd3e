#include "app/tray.h"

#include <cstring>

#include "app/main_window_port.h"

const Text& trayTip() {
  static const Text tip = "魔兽争霸显血+改键工具 1.52";
  return tip;
}

TrayRecord trayRecord(TrayAction action, void* window, void* icon, const Text& tip) {
  TrayRecord record;
  std::memset(&record, 0, sizeof record);
  record.cbSize = sizeof record;
  record.hWnd = window;
  record.uID = trayIconId;
  record.uFlags = action == TrayAction::Delete ? trayFlagsDelete : trayFlagsShown;
  record.uCallbackMessage = trayCallbackId;
  record.hIcon = icon;
  std::memcpy(record.szTip, tip.data(), tip.size() < trayTipLimit ? tip.size() : trayTipLimit);
  return record;
}

int trayEventOf(std::intptr_t lParam) {
  switch (lParam) {
    case 0x0202: return trayLeftClick;    // WM_LBUTTONUP
    case 0x0203: return trayDoubleClick;  // WM_LBUTTONDBLCLK
    case 0x0205:                          // WM_RBUTTONUP
    case 0x007B: return trayRightClick;   // WM_CONTEXTMENU
    default: return 0;
  }
}

namespace {

std::uint32_t readLittle(const Bytes& bytes, std::size_t at, int length) {
  std::uint32_t value = 0;
  for (int i = length - 1; i >= 0; --i) value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
  return value;
}

}  // namespace

bool pickIconImage(const Bytes& iconFile, int wantedWidth, IconImageSlice& slice) {
  constexpr std::size_t headerSize = 6;
  constexpr std::size_t entrySize = 16;
  if (iconFile.size() < headerSize) return false;
  if (readLittle(iconFile, 0, 2) != 0 || readLittle(iconFile, 2, 2) != 1) return false;
  const std::size_t count = readLittle(iconFile, 4, 2);
  if (count == 0 || iconFile.size() < headerSize + count * entrySize) return false;
  bool found = false;
  int bestDistance = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = headerSize + i * entrySize;
    // A width or height byte of 0 means 256.
    const int width = iconFile[entry] ? iconFile[entry] : 256;
    const int height = iconFile[entry + 1] ? iconFile[entry + 1] : 256;
    const std::size_t size = readLittle(iconFile, entry + 8, 4);
    const std::size_t offset = readLittle(iconFile, entry + 12, 4);
    if (size == 0 || offset > iconFile.size() || size > iconFile.size() - offset) return false;
    const int distance = width > wantedWidth ? width - wantedWidth : wantedWidth - width;
    if (!found || distance < bestDistance) {
      found = true;
      bestDistance = distance;
      slice = IconImageSlice{offset, size, width, height};
    }
  }
  return found;
}

void showTrayIcon(TrayIcon& tray, TrayShell& shell, const Bytes& iconImage, const Text& tip) {
  void* icon = shell.makeIcon(iconImage);
  if (!icon) {
    removeTrayIcon(tray, shell);
    return;
  }
  tray.tip = tip;
  if (!tray.shown) {
    shell.notify(TrayAction::Add, trayRecord(TrayAction::Add, tray.window, icon, tip));
    tray.shown = icon;
    return;
  }
  shell.notify(TrayAction::Modify, trayRecord(TrayAction::Modify, tray.window, icon, tip));
  shell.destroyIcon(tray.shown);
  tray.shown = icon;
}

void removeTrayIcon(TrayIcon& tray, TrayShell& shell) {
  if (!tray.shown) return;
  shell.notify(TrayAction::Delete, trayRecord(TrayAction::Delete, tray.window, nullptr, Text()));
  shell.destroyIcon(tray.shown);
  tray.shown = nullptr;
}

void restoreTrayIcon(TrayIcon& tray, TrayShell& shell) {
  if (!tray.shown) return;
  shell.notify(TrayAction::Add, trayRecord(TrayAction::Add, tray.window, tray.shown, tray.tip));
}

void onTrayEvent(MainWindowPort& window, int value) {
  if (value != trayDoubleClick) return;
  // The window state acts only on a visible window, so it is shown first.
  window.setVisible(true);
  window.setWindowState(windowNormal);
}

void onPositionChanged(MainWindowPort& window) {
  // Windows moves a window as it minimises it: every way of minimising ends here.
  if (window.windowState() == windowMinimised) window.setVisible(false);
}
