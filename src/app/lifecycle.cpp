#include "app/lifecycle.h"

AppState appState;

void onCreated(AppState& state, LifecycleSteps& steps) {
  state.hpBarState = "1";
  steps.showTrayIcon();
  steps.fetchAll();
  steps.showAdPage();
  steps.ensureSettingsFile();
  steps.loadSettings();
  steps.registerFixedHotkeys();
}

void onCanBeClosed(AppState& state, LifecycleSteps& steps) {
  steps.saveSettings();
  steps.openExitPage();
  steps.removeTrayIcon();
  exitProgram(state, steps, 0);
}

// Only the update road destroys the window; it leaves key.ini as it was.
void onWillBeDestroyed(AppState& state, LifecycleSteps& steps) {
  steps.openExitPage();
  steps.removeTrayIcon();
  exitProgram(state, steps, 0);
}

void exitProgram(AppState& state, LifecycleSteps& steps, int code) {
  steps.stopEvents();
  steps.releaseHeldKeys();
  cleanUp(state);
  steps.uninitialiseOle();
  steps.exitProcess(code);
}

void cleanUp(AppState& state) {
  for (KeySlot& slot : state.slots) Text().swap(slot.keyCodeText);
  Text().swap(state.hpBarState);
  Text().swap(state.exitPageUrl);
  Text().swap(state.downloadUrl);
  Text().swap(state.adPageUrl);
  delete state.hookRecord;
  state.hookRecord = nullptr;
}
