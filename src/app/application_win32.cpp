#include "app/application_win32.h"

#include <windows.h>
#include <ole2.h>

#include <new>

#include "app/lifecycle.h"
#include "app/main_window_win32.h"
#include "app/tray.h"
#include "app/tray_win32.h"
#include "net/remote_texts_win32.h"
#include "remap/hp_bars.h"
#include "remap/key_slots.h"
#include "remap/remap_win32.h"
#include "remap/win_key_blocker.h"
#include "settings/settings_file_win32.h"

namespace {

[[noreturn]] void fatalStartupFailure(const char* what) {
  MessageBoxA(nullptr, what, "Tavrik", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ExitProcess(static_cast<UINT>(-1));
}

[[noreturn]] void outOfMemory() { fatalStartupFailure("内存不足, 程序无法运行。"); }

// The steps of start-up and of the roads out, each done by the subsystem that owns it.
struct Win32Lifecycle final : LifecycleSteps {
  void showTrayIcon() override { showProgramTrayIcon(); }
  void fetchAll() override { RemoteTexts::fetchAll(appState, httpTextFetcher()); }
  void showAdPage() override { RemoteTexts::showAdPage(appState, mainWindow()); }
  void ensureSettingsFile() override { programSettingsFile().ensureFile(); }
  void loadSettings() override { programSettingsFile().load(appState.slots, mainWindow()); }
  void registerFixedHotkeys() override { ::registerFixedHotkeys(mainRemapEngine()); }
  void saveSettings() override { programSettingsFile().save(appState.slots, mainWindow()); }
  void openExitPage() override { RemoteTexts::openExitPage(appState, windowsShell()); }
  void removeTrayIcon() override { removeProgramTrayIcon(); }
  void releaseHeldKeys() override { releaseHeldHpBars(appState, systemRemapOs()); }
  void stopEvents() override { mainWindow().stopEvents(); }
  void uninitialiseOle() override { OleUninitialize(); }
  void exitProcess(int code) override { ExitProcess(static_cast<UINT>(code)); }
};

Win32Lifecycle lifecycle;

// Where each event of the window goes.
struct Win32Events final : MainWindowEvents {
  void created() override { onCreated(appState, lifecycle); }
  void positionChanged() override { onPositionChanged(mainWindow()); }
  void sizeChanged() override {}
  void firstActivated() override { RemoteTexts::offerUpdate(appState, windowsShell(), mainWindow()); }
  void trayEvent(int value) override { onTrayEvent(mainWindow(), value); }
  void canBeClosed() override { onCanBeClosed(appState, lifecycle); }
  void willBeDestroyed() override { onWillBeDestroyed(appState, lifecycle); }
  void clicked(Control c) override {
    if (c == Control::按钮1) restoreDefaults(appState.slots, mainWindow());
    if (c == Control::按钮3) toggleRemap(mainRemapEngine());
    if (c == Control::选择框2) applySwitch(mainRemapEngine());
    if (c == Control::选择框1) applyBlocker(appState, mainWindow(), systemRemapOs());
  }
  void keyDown(Control keyBox, std::uint32_t virtualKey) override {
    for (int slot = 1; slot <= 6; ++slot) {
      if (appState.slot(slot).keyBox == keyBox) captureSlotKey(appState.slots, mainWindow(), slot, captureCode(virtualKey));
    }
  }
  void feedback(std::uint32_t identifier) override { onHotkey(mainRemapEngine(), static_cast<std::int32_t>(identifier)); }
};

Win32Events events;

void enterRunDirectory() {
  const Text& folder = processRunDirectory();
  if (folder.empty()) return;
  // "C:" alone names the drive's current folder; the run directory of a root is the root.
  SetCurrentDirectoryA(folder.size() == 2 && folder[1] == ':' ? (folder + "\\").c_str() : folder.c_str());
}

}  // namespace

int runApplication(HINSTANCE instance) {
  std::set_new_handler(outOfMemory);
  enterRunDirectory();
  OleInitialize(nullptr);
  appState.hookRecord = new (std::nothrow) HookRecord{};
  if (!appState.hookRecord) outOfMemory();

  Win32MainWindow& window = mainWindow();
  if (!window.create(instance, events)) fatalStartupFailure("无法创建主窗口, 程序无法运行。");
  window.runCreationSequence();

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) window.dispatch(msg);
  return 0;
}
