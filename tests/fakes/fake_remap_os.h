#pragma once
// The system as the remap engine sees it: hotkeys held system-wide (a key already held by any
// registration, or by another program, is refused, as by RegisterHotKey), the window procedure,
// injected key events and the low-level hook. Every call is recorded in one log, which a test
// may share with a window fake to see the order across both.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "remap/hotkey_registry.h"
#include "remap/remap_os.h"

struct FakeRemapOs : RemapOs {
  std::vector<std::string> calls;
  // Live registrations: (flags, key) -> identifier.
  std::map<std::pair<std::uint32_t, std::int32_t>, std::int32_t> held;
  std::set<std::int32_t> heldByOtherPrograms;
  // Whose procedure is in place: the window's own one, or the registry's forwarder.
  int ownProcMarker = 0;
  void* windowProc = &ownProcMarker;
  const HotkeyRegistry* forwardingFor = nullptr;
  bool refuseHooks = false;
  int hooksInstalled = 0;
  std::set<void*> liveHooks;
  std::set<std::uint8_t> keysDown;

  void* ownProc() { return &ownProcMarker; }

  bool registerHotKey(void* owner, std::int32_t id, std::uint32_t flags, std::int32_t virtualKey) override {
    calls.push_back("register " + std::to_string(id) + " key " + std::to_string(virtualKey) +
                    (flags ? " flags " + std::to_string(flags) : "") + (owner ? "" : " without owner"));
    if (heldByOtherPrograms.count(virtualKey) || held.count({flags, virtualKey})) return false;
    held[{flags, virtualKey}] = id;
    return true;
  }
  bool unregisterHotKey(void*, std::int32_t id) override {
    calls.push_back("unregister " + std::to_string(id));
    for (auto it = held.begin(); it != held.end(); ++it) {
      if (it->second == id) {
        held.erase(it);
        return true;
      }
    }
    return false;
  }
  void* installForwardingProc(void*, const HotkeyRegistry& registry) override {
    calls.push_back("install forwarding");
    void* previous = windowProc;
    windowProc = &forwardingFor;
    forwardingFor = &registry;
    return previous;
  }
  void restoreWindowProc(void*, void* savedProc) override {
    calls.push_back("restore procedure");
    windowProc = savedProc;
    forwardingFor = nullptr;
  }
  void keybdEvent(std::uint8_t virtualKey, std::uint32_t flags) override {
    const bool up = (flags & keyEventKeyUp) != 0;
    calls.push_back((up ? "up " : "down ") + std::to_string(virtualKey) +
                    ((flags & ~keyEventKeyUp) ? " flags " + std::to_string(flags) : ""));
    if (up) {
      keysDown.erase(virtualKey);
    } else {
      keysDown.insert(virtualKey);
    }
  }
  void* installKeyboardHook() override {
    calls.push_back("hook");
    if (refuseHooks) return nullptr;
    void* hook = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x1000 + ++hooksInstalled));
    liveHooks.insert(hook);
    return hook;
  }
  bool removeKeyboardHook(void* hook) override {
    calls.push_back("unhook " + std::to_string(reinterpret_cast<std::uintptr_t>(hook)));
    return liveHooks.erase(hook) == 1;
  }

  // The identifier the system holds for a key without modifiers, 0 when none.
  std::int32_t hotkeyOf(std::int32_t virtualKey) const {
    const auto it = held.find({0, virtualKey});
    return it == held.end() ? 0 : it->second;
  }
};
