#include "remap/hp_bars.h"

namespace {

void sendBoth(RemapOs& os, std::uint32_t flags) {
  os.keybdEvent(hpBarKeyLeft, flags);
  os.keybdEvent(hpBarKeyRight, flags);
}

}  // namespace

void toggleHpBars(AppState& state, RemapOs& os) {
  if (state.hpBarState == "1") {
    // Down without a matching up, and no repeats: the keys count as held until the next press.
    sendBoth(os, 0);
    state.hpBarState = "2";
  } else if (state.hpBarState == "2") {
    sendBoth(os, keyEventKeyUp);
    state.hpBarState = "1";
  }
}

void releaseHeldHpBars(AppState& state, RemapOs& os) {
  if (state.hpBarState != "2") return;
  sendBoth(os, keyEventKeyUp);
  state.hpBarState = "1";
}
