#pragma once
// The tray icon and minimise-to-tray: one icon in the notification area for the whole run, a
// minimised window hidden, a double-click on the icon bringing it back.
#include <cstddef>
#include <cstdint>

#include "app/text.h"

struct MainWindowPort;

// NOTIFYICONDATAA in its first layout. Handle is the platform's handle type: with 4-byte
// handles (the 32-bit program) the record is the 88-byte one the shell has always accepted.
template <class Handle>
struct NotifyIconDataV1 {
  std::uint32_t cbSize;
  Handle hWnd;
  std::uint32_t uID;
  std::uint32_t uFlags;
  std::uint32_t uCallbackMessage;
  Handle hIcon;
  char szTip[64];
};
static_assert(sizeof(NotifyIconDataV1<std::uint32_t>) == 88, "the 32-bit record is 88 bytes");

using TrayRecord = NotifyIconDataV1<void*>;

constexpr std::uint32_t trayIconId = 100;
constexpr std::uint32_t trayCallbackId = 0x8064;
constexpr std::uint32_t trayFlagsShown = 7;  // NIF_MESSAGE | NIF_ICON | NIF_TIP
constexpr std::uint32_t trayFlagsDelete = 0;
// The 64-byte tip field keeps at least one zero byte after the copied text.
constexpr std::size_t trayTipLimit = 62;

// Shell_NotifyIconA's dwMessage values.
enum class TrayAction : std::uint32_t { Add = 0, Modify = 1, Delete = 2 };

// Tray event values.
constexpr int trayLeftClick = 1;
constexpr int trayDoubleClick = 2;
constexpr int trayRightClick = 3;

const Text& trayTip();

// The record for one Shell_NotifyIconA call.
TrayRecord trayRecord(TrayAction action, void* window, void* icon, const Text& tip);

// The tray event a callback's lParam stands for; 0 for none.
int trayEventOf(std::intptr_t lParam);

// Where an icon picture lies inside an icon file.
struct IconImageSlice {
  std::size_t offset;
  std::size_t size;
  int width;
  int height;
};

// The picture of an icon file closest to the wanted width (the first of equals); false when
// the bytes are no icon file or a picture lies outside them.
bool pickIconImage(const Bytes& iconFile, int wantedWidth, IconImageSlice& slice);

// What the tray needs of the shell.
struct TrayShell {
  virtual ~TrayShell() = default;
  // A new icon handle from the bytes of an icon file; null when none can be made.
  virtual void* makeIcon(const Bytes& iconImage) = 0;
  virtual void destroyIcon(void* icon) = 0;
  // Results are not examined: without an icon the program runs on.
  virtual void notify(TrayAction action, const TrayRecord& record) = 0;
};

struct TrayIcon {
  void* window = nullptr;  // the main window, receiver of the callback message
  void* shown = nullptr;   // the icon in the notification area, null when none
  Text tip;
};

// Adds the icon, or replaces the picture and tip of the one shown and destroys its old handle.
// An image that makes no icon removes the icon.
void showTrayIcon(TrayIcon& tray, TrayShell& shell, const Bytes& iconImage, const Text& tip);
void removeTrayIcon(TrayIcon& tray, TrayShell& shell);
// The shell announced "TaskbarCreated": its notification area is new and empty, so the icon
// shown goes back in; otherwise a window hidden in the tray could never come back.
void restoreTrayIcon(TrayIcon& tray, TrayShell& shell);

void onTrayEvent(MainWindowPort& window, int value);
void onPositionChanged(MainWindowPort& window);
