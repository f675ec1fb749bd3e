#include "remap/key_slots.h"

#include "app/main_window_port.h"

namespace {

// The game's inventory keys: keypad 8, 5, 2, 1, 4, 7. Slots run down the right column of
// boxes (8, 5, 2) and then up the left one (1, 4, 7).
const std::array<SlotDefaults, 6> defaults = {{
    {104, Control::编辑框1, "小键盘8", "104"},
    {101, Control::编辑框2, "小键盘5", "101"},
    {98, Control::编辑框3, "小键盘2", "98"},
    {97, Control::编辑框4, "小键盘1", "97"},
    {100, Control::编辑框5, "小键盘4", "100"},
    {103, Control::编辑框6, "小键盘7", "103"},
}};

struct NamedKey {
  std::uint8_t code;
  const char* name;
};

const NamedKey namedKeys[] = {
    {112, "F1键"}, {113, "F2键"}, {114, "F3键"}, {115, "F4键"}, {116, "F5键"},
    {117, "F6键"}, {18, "ALT键"}, {17, "CTRL键"}, {9, "TAB键"},  {27, "ESC键"},
};

}  // namespace

const std::array<SlotDefaults, 6>& slotDefaults() { return defaults; }

std::array<KeySlot, 6> makeDefaultSlots() {
  std::array<KeySlot, 6> slots{};
  for (std::size_t i = 0; i < slots.size(); ++i) {
    slots[i].targetVk = defaults[i].targetVk;
    slots[i].keyBox = defaults[i].keyBox;
  }
  return slots;
}

std::uint8_t captureCode(std::uint32_t virtualKey) {
  const std::uint8_t code = static_cast<std::uint8_t>(virtualKey & 0xFF);
  // A keypad key captures as its main-keyboard twin, so a keypad digit is never stored by capture.
  if (code >= 96 && code <= 105) return static_cast<std::uint8_t>(code - 96 + 48);
  if (code == 109) return 189;
  if (code == 110) return 190;
  if (code == 111) return 191;
  return code;
}

Text keyDisplayName(std::uint8_t code) {
  for (const NamedKey& key : namedKeys) {
    if (key.code == code) return key.name;
  }
  // Any other key is named by the lone byte of its code; for codes of 128 and above that byte
  // pairs up with the first byte of "键" when shown in a double-byte code page, as intended.
  Text name(1, static_cast<char>(code));
  name += "键";
  return name;
}

void captureSlotKey(std::array<KeySlot, 6>& slots, MainWindowPort& window, int slot, std::uint8_t code) {
  KeySlot& target = slots.at(slot - 1);
  window.setTextColour(target.keyBox, captureColour);
  window.setText(target.keyBox, keyDisplayName(code));
  target.keyCodeText = std::to_string(code);
}

void restoreDefaults(std::array<KeySlot, 6>& slots, MainWindowPort& window) {
  for (std::size_t i = 0; i < slots.size(); ++i) window.setText(slots[i].keyBox, defaults[i].defaultKeyName);
  for (std::size_t i = 0; i < slots.size(); ++i) slots[i].keyCodeText = defaults[i].defaultKeyCode;
}
