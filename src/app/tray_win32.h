#pragma once
// The program's tray icon on the main window, through Shell_NotifyIconA.
#include <windows.h>

#include "app/tray.h"

struct Win32TrayShell final : TrayShell {
  void* makeIcon(const Bytes& iconImage) override;
  void destroyIcon(void* icon) override;
  void notify(TrayAction action, const TrayRecord& record) override;
};

// The message the shell broadcasts when its notification area has been (re-)created.
UINT taskbarCreatedMessage();

// Start-up: the main window's icon image with the program's tip.
void showProgramTrayIcon();
// Both exit roads, just before the program ends.
void removeProgramTrayIcon();
// On "TaskbarCreated": the icon shown goes back into the new notification area.
void restoreProgramTrayIcon();
