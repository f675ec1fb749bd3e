#pragma once
// What the rest of the program may do to the main window. The Win32 shell implements it;
// tests use a recording fake.
#include <cstdint>

#include "app/controls.h"
#include "app/text.h"

// windowState values
constexpr int windowNormal = 0;
constexpr int windowCentred = 1;
constexpr int windowMinimised = 2;
constexpr int windowMaximised = 3;

struct MainWindowPort {
  virtual ~MainWindowPort() = default;
  virtual Text text(Control c) = 0;
  virtual void setText(Control c, const Text& text) = 0;
  virtual void setTextColour(Control c, std::uint32_t colour) = 0;
  virtual void setEnabled(Control c, bool enabled) = 0;
  virtual bool checked(Control c) = 0;
  // Never raises the box's clicked event.
  virtual void setChecked(Control c, bool checked) = 0;
  virtual void setVisible(bool visible) = 0;
  virtual int windowState() = 0;
  virtual void setWindowState(int state) = 0;
  virtual Bytes iconImage() = 0;
  virtual void setHtmlAddress(const Text& address) = 0;
  virtual void requestDestroy() = 0;
};
