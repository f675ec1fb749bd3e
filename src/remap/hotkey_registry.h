#pragma once
// System-wide hotkeys of the main window. Every registration attempt takes the next identifier
// of one series, whether the system accepts the key or not, so an identifier is never reused and
// 0 always means "not registered". While registrations live, the main window's procedure is
// replaced by one that forwards fired hotkeys of the series to a sink window.
#include <cstdint>

#include "remap/remap_os.h"

constexpr std::int32_t firstHotkeyId = 33001;

// RegisterHotKey's MOD_* values.
constexpr std::uint32_t modAlt = 0x0001;
constexpr std::uint32_t modControl = 0x0002;
constexpr std::uint32_t modShift = 0x0004;

struct HotkeyRegistry {
  std::int32_t attemptCount = 0;
  std::int32_t lastIssuedId = 0;     // firstHotkeyId - 1 + attemptCount once anything was tried
  void* sinkWindow = nullptr;        // where fired hotkeys go; set by every registration
  void* savedWindowProc = nullptr;   // the owner's own procedure while ours is installed
  std::int32_t liveCount = 0;        // attempts minus unregistrations, refused attempts included
};

// The one registry of the program.
extern HotkeyRegistry hotkeyRegistry;

// The system flags for a sum of 1 (Ctrl), 2 (Shift) and 4 (Alt); values outside 1..6 pass as
// they are.
std::uint32_t hotkeyFlags(std::int32_t modifiers);

// Whether a WM_HOTKEY with this wParam belongs to the series handed out so far. The system's own
// identifiers are negative and arrive as huge unsigned values, so they never match.
bool forwardsHotkey(const HotkeyRegistry& registry, std::uintptr_t wParam);

// The identifier of the attempt, or 0 when the system refused the key.
std::int32_t registerHotkey(HotkeyRegistry& registry, RemapOs& os, void* owner, void* sink, std::int32_t modifiers,
                            std::int32_t virtualKey);
// An attempt the program turns down itself, without asking the system: it takes its identifier
// and counts as live like any other, so the series and the forwarder's lifetime stay the same
// whichever keys were chosen. Gives 0.
std::int32_t declineHotkey(HotkeyRegistry& registry, RemapOs& os, void* owner, void* sink);
// Whether the system removed the hotkey; identifier 0 fails quietly.
bool unregisterHotkey(HotkeyRegistry& registry, RemapOs& os, void* owner, std::int32_t id);
