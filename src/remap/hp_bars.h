#pragma once
// The game shows every health bar while the keys 219 and 221 are held down; Home holds both
// down on one press and lets them go on the next.
#include "app/app_state.h"
#include "remap/remap_os.h"

constexpr std::uint8_t hpBarKeyLeft = 219;
constexpr std::uint8_t hpBarKeyRight = 221;

// hpBarState "1": both keys down, state "2"; "2": both keys up, state "1". 219 always first.
void toggleHpBars(AppState& state, RemapOs& os);

// On the way out: keys still held for the health bars are released (219, then 221), since the
// system would otherwise keep them down after the program is gone.
void releaseHeldHpBars(AppState& state, RemapOs& os);
