#pragma once
// The one program-wide state record. Every handler of the program runs on the
// user-interface thread, so it is shared without a lock.
#include <array>
#include <cstdint>

#include "app/text.h"
#include "remap/key_slots.h"

// Copy of the last record the low-level keyboard hook received (KBDLLHOOKSTRUCT, 20 bytes).
struct HookRecord {
  std::uint32_t vkCode;
  std::uint32_t scanCode;
  std::uint32_t flags;
  std::uint32_t time;
  std::uint32_t extraInfo;
};
static_assert(sizeof(HookRecord) == 20, "the hook copies exactly 20 bytes");

struct AppState {
  std::array<KeySlot, 6> slots = makeDefaultSlots();
  std::int32_t toggleHotkeyId = 0;
  std::int32_t hpBarHotkeyId = 0;
  Text hpBarState;
  float remoteVersion = 0.0f;
  Text exitPageUrl;
  Text downloadUrl;
  Text adPageUrl;
  void* keyboardHook = nullptr;
  HookRecord* hookRecord = nullptr;

  KeySlot& slot(int number) { return slots.at(number - 1); }
  const KeySlot& slot(int number) const { return slots.at(number - 1); }
};

// Static storage for the whole run.
extern AppState appState;
