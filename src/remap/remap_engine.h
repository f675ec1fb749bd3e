#pragma once
// Remapping on and off, and what a fired hotkey does. While remapping is on, each slot's chosen
// key is a hotkey without modifiers and its firing injects the slot's keypad key; Home and F8
// are held for the whole run.
#include <cstdint>

#include "app/app_state.h"
#include "app/text.h"
#include "remap/hotkey_registry.h"
#include "remap/remap_os.h"

struct MainWindowPort;

constexpr std::int32_t homeKey = 36;
constexpr std::int32_t f8Key = 119;

// Everything remapping acts on: the state, the window, the registry, the system, and the two
// windows every registration names.
struct RemapEngine {
  AppState& state;
  MainWindowPort& window;
  HotkeyRegistry& registry;
  RemapOs& os;
  void* owner;  // the main window, owner of every hotkey
  void* sink;   // 标签1, which turns a forwarded identifier into onHotkey
};

// The last steps of start-up: Home, then F8.
void registerFixedHotkeys(const RemapEngine& engine);

// Registers or unregisters the six slot hotkeys after the checked state of 选择框2, locks or
// unlocks the controls that must not change meanwhile and sets the status text. A slot whose
// key is one the program injects itself is declined (see injectedByProgram).
void applySwitch(const RemapEngine& engine);

// 按钮3 and F8: flips 选择框2 and applies it.
void toggleRemap(const RemapEngine& engine);

// The action of a fired hotkey: at most one, since live identifiers are distinct.
void onHotkey(const RemapEngine& engine, std::int32_t id);

// Keys the program presses itself: the six keypad keys and the two health-bar keys. An injected
// key fires a hotkey like a pressed one, so such a key made a hotkey would feed on its own
// injections: with the keypad keys a slot starts with, one press of keypad 8 would inject keypad 8
// without end, and a chosen "[" would swallow the health-bar toggle's own "[".
bool injectedByProgram(const AppState& state, std::int32_t virtualKey);

// One press and release of a key, as the player's own.
void injectKeyPress(RemapOs& os, std::int32_t virtualKey);

// The integer a text starts with, after folding full-width forms: leading white space, one
// optional sign, decimal digits up to the first non-digit. No digits give 0; numbers beyond the
// 32-bit range stop at its ends.
std::int32_t textToInt(const Text& text);
