#pragma once
// The few system services the remap engine, the health-bar toggle and the Windows-key blocker
// use. The Win32 shell provides the real ones; tests record the calls and answer like the system.
// Window, procedure and hook handles travel as opaque pointers.
#include <cstdint>

struct HotkeyRegistry;

// keybd_event flag of a key release.
constexpr std::uint32_t keyEventKeyUp = 0x0002;

struct RemapOs {
  virtual ~RemapOs() = default;
  // RegisterHotKey: false when the system refuses the key (another registration holds it).
  virtual bool registerHotKey(void* owner, std::int32_t id, std::uint32_t flags, std::int32_t virtualKey) = 0;
  virtual bool unregisterHotKey(void* owner, std::int32_t id) = 0;
  // Puts the registry's forwarding procedure in place of the owner's own one and returns the
  // procedure it replaced, null on failure. The forwarding procedure reads the registry as it is
  // at each message; one registry forwards at a time.
  virtual void* installForwardingProc(void* owner, const HotkeyRegistry& registry) = 0;
  virtual void restoreWindowProc(void* owner, void* savedProc) = 0;
  // keybd_event with scan code 0 and no extra information.
  virtual void keybdEvent(std::uint8_t virtualKey, std::uint32_t flags) = 0;
  // The blocker's low-level keyboard hook; null when the system refuses it.
  virtual void* installKeyboardHook() = 0;
  virtual bool removeKeyboardHook(void* hook) = 0;
};
