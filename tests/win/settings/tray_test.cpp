// The tray icon against the real shell, and minimise-to-tray with the real main window.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/main_window_win32.h"
#include "app/tray.h"
#include "app/tray_win32.h"

namespace {

Bytes iconFileBytes() {
  std::ifstream in(TAVRIK_ICON_FILE, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

BOOL notifyRaw(TrayAction action, HWND window, HICON icon, const Text& tip) {
  TrayRecord record = trayRecord(action, window, icon, tip);
  return Shell_NotifyIconA(static_cast<DWORD>(action), reinterpret_cast<NOTIFYICONDATAA*>(&record));
}

// The icon is in the notification area exactly when the shell accepts a change to it.
bool iconIsShown(HWND window) {
  return notifyRaw(TrayAction::Modify, window, LoadIcon(nullptr, IDI_APPLICATION), trayTip()) != FALSE;
}

struct TrayEvents : MainWindowEvents {
  void created() override {}
  void positionChanged() override { onPositionChanged(mainWindow()); }
  void sizeChanged() override {}
  void firstActivated() override {}
  void trayEvent(int value) override { onTrayEvent(mainWindow(), value); }
  void canBeClosed() override {}
  void willBeDestroyed() override {}
  void clicked(Control) override {}
  void keyDown(Control, std::uint32_t) override {}
  void feedback(std::uint32_t) override {}
};

TrayEvents events;

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) mainWindow().dispatch(msg);
}

class TrayWin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(mainWindow().create(GetModuleHandleA(nullptr), events));
    mainWindow().runCreationSequence();
    pump();
  }
  static void TearDownTestSuite() {
    removeProgramTrayIcon();
    mainWindow().stopEvents();
    DestroyWindow(mainWindow().handle());
  }
  void TearDown() override { removeProgramTrayIcon(); }
  HWND window() { return mainWindow().handle(); }
};

TEST_F(TrayWin, TheShellTakesTheFirstLayoutRecordAndAnswersEachCommand) {
  HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
  const Text longTip(100, 'x');
  EXPECT_TRUE(notifyRaw(TrayAction::Add, window(), icon, longTip));
  EXPECT_TRUE(notifyRaw(TrayAction::Modify, window(), icon, trayTip()));
  EXPECT_TRUE(notifyRaw(TrayAction::Delete, window(), nullptr, Text()));
  EXPECT_FALSE(notifyRaw(TrayAction::Delete, window(), nullptr, Text()));
  EXPECT_FALSE(notifyRaw(TrayAction::Modify, window(), icon, trayTip()));
}

TEST_F(TrayWin, TheProgramsIconImageMakesAnIconAndGarbageMakesNone) {
  Win32TrayShell shell;
  void* icon = shell.makeIcon(iconFileBytes());
  ASSERT_NE(icon, nullptr);
  ICONINFO info = {};
  ASSERT_TRUE(GetIconInfo(static_cast<HICON>(icon), &info));
  EXPECT_TRUE(info.fIcon);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  shell.destroyIcon(icon);
  EXPECT_EQ(shell.makeIcon(Bytes{1, 2, 3, 4, 5, 6, 7}), nullptr);
  EXPECT_EQ(shell.makeIcon(Bytes()), nullptr);
}

TEST_F(TrayWin, TheProgramsIconIsShownUntilRemoved) {
  ASSERT_FALSE(mainWindow().iconImage().empty()) << "the icon file is a resource of the program";
  showProgramTrayIcon();
  EXPECT_TRUE(iconIsShown(window()));
  showProgramTrayIcon();
  EXPECT_TRUE(iconIsShown(window()));
  removeProgramTrayIcon();
  EXPECT_FALSE(iconIsShown(window()));
}

TEST_F(TrayWin, TaskbarCreatedPutsTheIconBackIntoANewNotificationArea) {
  showProgramTrayIcon();
  // The shell lost every icon, as when it restarts.
  ASSERT_TRUE(notifyRaw(TrayAction::Delete, window(), nullptr, Text()));
  SendMessageA(window(), taskbarCreatedMessage(), 0, 0);
  EXPECT_TRUE(iconIsShown(window()));
  removeProgramTrayIcon();
  SendMessageA(window(), taskbarCreatedMessage(), 0, 0);
  EXPECT_FALSE(iconIsShown(window())) << "a removed icon stays removed";
}

TEST_F(TrayWin, MinimisingHidesTheWindowAndADoubleClickBringsItBackActive) {
  ShowWindow(window(), SW_SHOWNORMAL);
  pump();
  ASSERT_TRUE(IsWindowVisible(window()));
  mainWindow().setWindowState(windowMinimised);
  pump();
  EXPECT_FALSE(IsWindowVisible(window()));

  SendMessageA(window(), trayCallbackMessage, 100, WM_LBUTTONUP);
  SendMessageA(window(), trayCallbackMessage, 100, WM_RBUTTONUP);
  pump();
  EXPECT_FALSE(IsWindowVisible(window())) << "single and right clicks do nothing";

  SendMessageA(window(), trayCallbackMessage, 100, WM_LBUTTONDBLCLK);
  pump();
  EXPECT_TRUE(IsWindowVisible(window()));
  EXPECT_FALSE(IsIconic(window()));
  EXPECT_EQ(GetActiveWindow(), window());
}

TEST_F(TrayWin, MovingTheWindowDoesNotHideIt) {
  ShowWindow(window(), SW_SHOWNORMAL);
  pump();
  RECT box;
  GetWindowRect(window(), &box);
  SetWindowPos(window(), nullptr, box.left + 10, box.top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  pump();
  EXPECT_TRUE(IsWindowVisible(window()));
}

}  // namespace
