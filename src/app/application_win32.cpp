#include "app/application_win32.h"

#include <windows.h>
#include <ole2.h>

#include <new>

#include "app/lifecycle.h"
#include "app/main_window_win32.h"
#include "remap/key_slots.h"

namespace {

[[noreturn]] void fatalStartupFailure(const char* what) {
  MessageBoxA(nullptr, what, "Tavrik", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ExitProcess(static_cast<UINT>(-1));
}

[[noreturn]] void outOfMemory() { fatalStartupFailure("内存不足, 程序无法运行。"); }

// The steps of start-up and of the roads out, each done by the subsystem that owns it.
struct Win32Lifecycle final : LifecycleSteps {
  void showTrayIcon() override {}
  void fetchAll() override {}
  void showAdPage() override {}
  void ensureSettingsFile() override {}
  void loadSettings() override {}
  void registerFixedHotkeys() override {}
  void saveSettings() override {}
  void openExitPage() override {}
  void removeTrayIcon() override {}
  void releaseHeldKeys() override {}
  void stopEvents() override { mainWindow().stopEvents(); }
  void uninitialiseOle() override { OleUninitialize(); }
  void exitProcess(int code) override { ExitProcess(static_cast<UINT>(code)); }
};

Win32Lifecycle lifecycle;

// Where each event of the window goes.
struct Win32Events final : MainWindowEvents {
  void created() override { onCreated(appState, lifecycle); }
  void positionChanged() override {}
  void sizeChanged() override {}
  void firstActivated() override {}
  void trayEvent(int) override {}
  void canBeClosed() override { onCanBeClosed(appState, lifecycle); }
  void willBeDestroyed() override { onWillBeDestroyed(appState, lifecycle); }
  void clicked(Control c) override {
    if (c == Control::按钮1) restoreDefaults(appState.slots, mainWindow());
  }
  void keyDown(Control keyBox, std::uint32_t virtualKey) override {
    for (int slot = 1; slot <= 6; ++slot) {
      if (appState.slot(slot).keyBox == keyBox) captureSlotKey(appState.slots, mainWindow(), slot, captureCode(virtualKey));
    }
  }
  void feedback(std::uint32_t) override {}
};

Win32Events events;

void enterRunDirectory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  // The last backslash, found character by character: in GBK a trail byte can be 0x5C.
  char* lastSlash = nullptr;
  for (char* p = path; *p; p = CharNextA(p)) {
    if (*p == '\\') lastSlash = p;
  }
  if (!lastSlash) return;
  *lastSlash = '\0';
  SetCurrentDirectoryA(lastSlash == path + 2 ? (std::string(path) + "\\").c_str() : path);
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
