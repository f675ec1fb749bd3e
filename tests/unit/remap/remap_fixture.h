#pragma once
// The remap engine on a fake system and a fake window that share one log, and a keyboard that
// behaves like the system's: a key held as a hotkey reaches the program as its identifier.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "fakes/fake_main_window.h"
#include "fakes/fake_remap_os.h"
#include "remap/remap_engine.h"

struct LoggingWindow : FakeMainWindow {
  std::vector<std::string>& log;
  explicit LoggingWindow(std::vector<std::string>& shared) : log(shared) {}
  void setText(Control c, const Text& value) override {
    FakeMainWindow::setText(c, value);
    log.push_back(calls.back());
  }
  void setEnabled(Control c, bool on) override {
    FakeMainWindow::setEnabled(c, on);
    log.push_back(calls.back());
  }
  void setChecked(Control c, bool on) override {
    FakeMainWindow::setChecked(c, on);
    log.push_back(calls.back());
  }
};

class RemapTest : public ::testing::Test {
 protected:
  AppState state;
  FakeRemapOs os;
  LoggingWindow window{os.calls};
  HotkeyRegistry registry;
  int mainWindowMarker = 0;
  int sinkMarker = 0;
  RemapEngine engine{state, window, registry, os, &mainWindowMarker, &sinkMarker};

  // As after start-up with Q, W, E, A, S and D chosen for slots 1 to 6: Home and F8 held,
  // nothing logged yet.
  void startUp() {
    state.hpBarState = "1";
    setKeys({"81", "87", "69", "65", "83", "68"});
    registerFixedHotkeys(engine);
    os.calls.clear();
  }

  void setDefaultKeys() {
    for (int slot = 1; slot <= 6; ++slot) state.slot(slot).keyCodeText = slotDefaults()[slot - 1].defaultKeyCode;
  }

  void setKeys(const std::vector<std::string>& codes) {
    for (int slot = 1; slot <= 6; ++slot) state.slot(slot).keyCodeText = codes.at(slot - 1);
  }

  // Presses a key while some other program has the keyboard. False when the key is no hotkey and
  // reaches that program as itself.
  bool press(std::int32_t virtualKey) {
    const std::int32_t id = os.hotkeyOf(virtualKey);
    if (id == 0) return false;
    // The system fires a hotkey for an injected key-down as for a pressed one, so every key-down
    // the engine injects goes back through the hotkeys too, up to where a runaway would show.
    std::vector<std::int32_t> firing{id};
    for (int round = 0; !firing.empty() && round < 50; ++round) {
      const std::int32_t fired = firing.front();
      firing.erase(firing.begin());
      const std::size_t before = os.calls.size();
      // What the forwarding procedure does with the system's WM_HOTKEY.
      if (os.forwardingFor == &registry && forwardsHotkey(registry, static_cast<std::uintptr_t>(fired))) {
        onHotkey(engine, fired);
      }
      for (std::size_t i = before; i < os.calls.size(); ++i) {
        if (os.calls[i].rfind("down ", 0) != 0) continue;
        if (const std::int32_t again = os.hotkeyOf(std::stoi(os.calls[i].substr(5)))) firing.push_back(again);
      }
    }
    return true;
  }

  std::vector<std::string> takeCalls() {
    std::vector<std::string> taken;
    taken.swap(os.calls);
    return taken;
  }
};
