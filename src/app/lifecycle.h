#pragma once
// The order in which the program starts and ends. Each step belongs to the subsystem that
// owns it; the Win32 shell provides them and the tests record them.
#include "app/app_state.h"

struct LifecycleSteps {
  virtual ~LifecycleSteps() = default;
  // start-up body
  virtual void showTrayIcon() = 0;
  virtual void fetchAll() = 0;
  virtual void showAdPage() = 0;
  virtual void ensureSettingsFile() = 0;
  virtual void loadSettings() = 0;
  virtual void registerFixedHotkeys() = 0;
  // roads out
  virtual void saveSettings() = 0;
  virtual void openExitPage() = 0;
  virtual void removeTrayIcon() = 0;
  // Keys the program itself still holds down, released before the process ends.
  virtual void releaseHeldKeys() = 0;
  // No further event reaches a handler after this.
  virtual void stopEvents() = 0;
  virtual void uninitialiseOle() = 0;
  virtual void exitProcess(int code) = 0;
};

void onCreated(AppState& state, LifecycleSteps& steps);
void onCanBeClosed(AppState& state, LifecycleSteps& steps);
void onWillBeDestroyed(AppState& state, LifecycleSteps& steps);
void exitProgram(AppState& state, LifecycleSteps& steps, int code);
void cleanUp(AppState& state);
