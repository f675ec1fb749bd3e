#pragma once
// The remap engine's system services on Win32: hotkeys, the forwarding window procedure,
// injected key events and the blocker's low-level keyboard hook.
#include <windows.h>

#include "remap/remap_engine.h"
#include "remap/remap_os.h"

class Win32RemapOs final : public RemapOs {
 public:
  bool registerHotKey(void* owner, std::int32_t id, std::uint32_t flags, std::int32_t virtualKey) override;
  bool unregisterHotKey(void* owner, std::int32_t id) override;
  void* installForwardingProc(void* owner, const HotkeyRegistry& registry) override;
  void restoreWindowProc(void* owner, void* savedProc) override;
  void keybdEvent(std::uint8_t virtualKey, std::uint32_t flags) override;
  void* installKeyboardHook() override;
  bool removeKeyboardHook(void* hook) override;
};

// The one instance the program uses.
RemapOs& systemRemapOs();

// The engine on appState, the main window, the program's registry and the real system; the main
// window owns the hotkeys and its label 标签1 is their sink.
RemapEngine mainRemapEngine();

// Stands in for the owner's procedure while registrations live: a fired hotkey of the registry's
// series is first sent to the sink (so its action has run when this returns), then every message
// goes on to the saved procedure.
LRESULT CALLBACK hotkeyForwardingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The blocker's WH_KEYBOARD_LL procedure; reads appState.keyboardHook and writes appState.hookRecord.
LRESULT CALLBACK blockerHookProc(int code, WPARAM wParam, LPARAM lParam);
