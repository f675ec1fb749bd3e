#pragma once
// The six inventory slots and key capture in the key boxes.
#include <array>
#include <cstdint>

#include "app/controls.h"
#include "app/text.h"

struct MainWindowPort;

struct KeySlot {
  std::int32_t targetVk;   // keypad key the slot injects
  Text keyCodeText;        // decimal code of the chosen key
  std::int32_t hotkeyId;   // latest registration, 0 when refused
  Control keyBox;          // 编辑框1 .. 编辑框6
};

struct SlotDefaults {
  std::int32_t targetVk;
  Control keyBox;
  const char* defaultKeyName;  // GBK
  const char* defaultKeyCode;
};

// Slot n is entry n - 1.
const std::array<SlotDefaults, 6>& slotDefaults();
std::array<KeySlot, 6> makeDefaultSlots();

// The code a key box passes to capture: low byte, keypad folded onto the main keys.
std::uint8_t captureCode(std::uint32_t virtualKey);

// The name shown in a key box for a captured code.
Text keyDisplayName(std::uint8_t code);

constexpr std::uint32_t captureColour = 255;  // red

void captureSlotKey(std::array<KeySlot, 6>& slots, MainWindowPort& window, int slot, std::uint8_t code);
void restoreDefaults(std::array<KeySlot, 6>& slots, MainWindowPort& window);
