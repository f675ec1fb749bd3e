#include "remap/win_key_blocker.h"

#include "app/main_window_port.h"

void applyBlocker(AppState& state, MainWindowPort& window, RemapOs& os) {
  if (window.checked(Control::选择框1)) state.keyboardHook = os.installKeyboardHook();
  // A refused hook left null here; removing it then fails quietly.
  if (!window.checked(Control::选择框1)) os.removeKeyboardHook(state.keyboardHook);
}

bool blockerDropsEvent(AppState& state, int code, std::uintptr_t /*message*/, const HookRecord& event) {
  // Anything but HC_ACTION is for the next hook alone.
  if (code != 0) return false;
  if (state.hookRecord) *state.hookRecord = event;
  return event.vkCode == leftWindowsKey;
}
