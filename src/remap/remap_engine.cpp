#include "remap/remap_engine.h"

#include <limits>

#include "app/main_window_port.h"
#include "app/text_numbers.h"
#include "remap/hp_bars.h"

namespace {

// Locking and unlocking both run from slot 6's box down to slot 1's.
const Control keyBoxesFromSlot6[] = {Control::编辑框6, Control::编辑框5, Control::编辑框4,
                                       Control::编辑框3, Control::编辑框2, Control::编辑框1};

const char statusOn[] = "状态: 已改键";
const char statusOff[] = "状态: 未改键";

void switchOn(const RemapEngine& engine) {
  for (KeySlot& slot : engine.state.slots) {
    const std::int32_t key = textToInt(slot.keyCodeText);
    slot.hotkeyId = injectedByProgram(engine.state, key)
                        ? declineHotkey(engine.registry, engine.os, engine.owner, engine.sink)
                        : registerHotkey(engine.registry, engine.os, engine.owner, engine.sink, 0, key);
  }
  for (Control box : keyBoxesFromSlot6) engine.window.setEnabled(box, false);
  engine.window.setEnabled(Control::按钮1, false);
  engine.window.setEnabled(Control::按钮3, false);
  engine.window.setText(Control::标签8, statusOn);
}

void switchOff(const RemapEngine& engine) {
  for (Control box : keyBoxesFromSlot6) engine.window.setEnabled(box, true);
  for (KeySlot& slot : engine.state.slots) unregisterHotkey(engine.registry, engine.os, engine.owner, slot.hotkeyId);
  engine.window.setEnabled(Control::按钮3, true);
  engine.window.setEnabled(Control::按钮1, true);
  engine.window.setText(Control::标签8, statusOff);
}

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

}  // namespace

void registerFixedHotkeys(const RemapEngine& engine) {
  engine.state.hpBarHotkeyId = registerHotkey(engine.registry, engine.os, engine.owner, engine.sink, 0, homeKey);
  engine.state.toggleHotkeyId = registerHotkey(engine.registry, engine.os, engine.owner, engine.sink, 0, f8Key);
}

void applySwitch(const RemapEngine& engine) {
  if (engine.window.checked(Control::选择框2)) {
    switchOn(engine);
  } else {
    switchOff(engine);
  }
}

void toggleRemap(const RemapEngine& engine) {
  engine.window.setChecked(Control::选择框2, !engine.window.checked(Control::选择框2));
  applySwitch(engine);
}

void onHotkey(const RemapEngine& engine, std::int32_t id) {
  // Refused registrations leave 0 in their fields; a stray 0 must not set them all off.
  if (id == 0) return;
  AppState& state = engine.state;
  // Separate tests, not a chain: after F8 switches on, the slots already hold the identifiers
  // just handed out, none of which equals the one that fired.
  if (id == state.slot(1).hotkeyId) injectKeyPress(engine.os, state.slot(1).targetVk);
  if (id == state.slot(2).hotkeyId) injectKeyPress(engine.os, state.slot(2).targetVk);
  if (id == state.toggleHotkeyId) toggleRemap(engine);
  if (id == state.slot(3).hotkeyId) injectKeyPress(engine.os, state.slot(3).targetVk);
  if (id == state.slot(4).hotkeyId) injectKeyPress(engine.os, state.slot(4).targetVk);
  if (id == state.slot(5).hotkeyId) injectKeyPress(engine.os, state.slot(5).targetVk);
  if (id == state.slot(6).hotkeyId) injectKeyPress(engine.os, state.slot(6).targetVk);
  if (id == state.hpBarHotkeyId) toggleHpBars(state, engine.os);
}

bool injectedByProgram(const AppState& state, std::int32_t virtualKey) {
  if (virtualKey == hpBarKeyLeft || virtualKey == hpBarKeyRight) return true;
  for (const KeySlot& slot : state.slots) {
    if (slot.targetVk == virtualKey) return true;
  }
  return false;
}

void injectKeyPress(RemapOs& os, std::int32_t virtualKey) {
  const std::uint8_t key = static_cast<std::uint8_t>(virtualKey);
  os.keybdEvent(key, 0);
  os.keybdEvent(key, keyEventKeyUp);
}

std::int32_t textToInt(const Text& text) {
  if (text.empty()) return 0;
  const Text folded = foldFullWidth(text);
  std::size_t i = 0;
  while (i < folded.size() && isSpace(folded[i])) ++i;
  bool negative = false;
  if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) negative = folded[i++] == '-';
  // Accumulated in 64 bits and held at the 32-bit ends, so a long digit run can never wrap round
  // to a real key code.
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
                                      : std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (; i < folded.size() && folded[i] >= '0' && folded[i] <= '9'; ++i) {
    value = value * 10 + (folded[i] - '0');
    if (value > limit) value = limit;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}
