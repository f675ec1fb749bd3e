#pragma once
// A main window that keeps control texts, colours, enabled and checked states in memory and
// records every call, so a test can check both the result and the order of operations.
#include <map>
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/main_window_port.h"

struct FakeMainWindow : MainWindowPort {
  std::map<Control, Text> texts;
  std::map<Control, std::uint32_t> colours;
  std::map<Control, bool> enabled;
  std::map<Control, bool> checks;
  bool visible = false;
  int state = windowNormal;
  Bytes icon = {0, 0, 1, 0};
  Text htmlAddress;
  int destroyRequests = 0;
  std::vector<std::string> calls;

  FakeMainWindow() {
    for (const ControlSpec& entry : controlLayout()) texts[entry.name] = entry.text;
  }

  static std::string nameOf(Control c) { return controlSpec(c).layoutName; }

  Text text(Control c) override { return texts[c]; }
  void setText(Control c, const Text& value) override {
    calls.push_back("setText " + nameOf(c));
    texts[c] = value;
  }
  void setTextColour(Control c, std::uint32_t colour) override {
    calls.push_back("setTextColour " + nameOf(c));
    colours[c] = colour;
  }
  void setEnabled(Control c, bool on) override {
    calls.push_back(std::string(on ? "enable " : "disable ") + nameOf(c));
    enabled[c] = on;
  }
  bool checked(Control c) override { return checks[c]; }
  void setChecked(Control c, bool on) override {
    calls.push_back(std::string(on ? "check " : "uncheck ") + nameOf(c));
    checks[c] = on;
  }
  void setVisible(bool on) override {
    calls.push_back(on ? "show" : "hide");
    visible = on;
  }
  int windowState() override { return state; }
  void setWindowState(int value) override {
    calls.push_back("windowState " + std::to_string(value));
    if (visible) state = value == windowCentred ? windowNormal : value;
  }
  Bytes iconImage() override { return icon; }
  void setHtmlAddress(const Text& address) override {
    calls.push_back("htmlAddress " + address);
    htmlAddress = address;
  }
  void requestDestroy() override {
    calls.push_back("requestDestroy");
    ++destroyRequests;
  }
};

// GBK bytes of a text written in UTF-8 in a test, for readable expectations.
inline std::string hexOf(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}
