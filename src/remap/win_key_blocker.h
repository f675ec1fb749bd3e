#pragma once
// Swallows the left Windows key system-wide while 选择框1 is checked, through a low-level
// keyboard hook. The right Windows key and every other key pass untouched.
#include <cstdint>

#include "app/app_state.h"
#include "remap/remap_os.h"

struct MainWindowPort;

constexpr std::uint32_t leftWindowsKey = 91;

// 选择框1's click: installs the hook when the box is now checked, removes it when unchecked.
void applyBlocker(AppState& state, MainWindowPort& window, RemapOs& os);

// The hook's decision on one event (code as the hook receives it, the event's record): the
// record is kept in hookRecord, and every event of the left Windows key is dropped, press and
// release alike, whatever message carries it, its flags or whether it was injected.
bool blockerDropsEvent(AppState& state, int code, std::uintptr_t message, const HookRecord& event);
