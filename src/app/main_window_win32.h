#pragma once
// The Win32 main window: built from the layout table, raises the window's events and
// implements the window operations the rest of the program uses.
#include <windows.h>

#include <cstdint>

#include "app/main_window_port.h"

// Private messages of the main window.
constexpr UINT requestDestroyMessage = WM_APP + 1;
constexpr UINT trayCallbackMessage = 0x8064;
constexpr UINT hotkeyForwardMessage = 0x8075;

struct MainWindowEvents {
  virtual ~MainWindowEvents() = default;
  virtual void created() = 0;
  virtual void positionChanged() = 0;
  virtual void sizeChanged() = 0;
  virtual void firstActivated() = 0;
  virtual void trayEvent(int value) = 0;
  virtual void canBeClosed() = 0;
  virtual void willBeDestroyed() = 0;
  virtual void clicked(Control c) = 0;
  virtual void keyDown(Control keyBox, std::uint32_t virtualKey) = 0;
  virtual void feedback(std::uint32_t identifier) = 0;
};

class Win32MainWindow final : public MainWindowPort {
 public:
  // Creates the window and its controls, hidden; false when the window cannot be created.
  bool create(HINSTANCE instance, MainWindowEvents& events);
  // Raises created, positionChanged and sizeChanged, then shows the window (which activates it).
  void runCreationSequence();
  // No event reaches a handler after this.
  void stopEvents() { eventsOn_ = false; }

  HWND handle() const { return window_; }
  HWND control(Control c) const { return controls_[controlIndex(c)]; }
  Control controlOf(HWND h) const;
  int selectedPage() const;
  void selectPage(int page);

  // Every message this thread takes from its queue goes through here, in the main loop and
  // in any loop that waits while dispatching: key capture and focus navigation first.
  void dispatch(MSG& msg);

  // MainWindowPort
  Text text(Control c) override;
  void setText(Control c, const Text& text) override;
  void setTextColour(Control c, std::uint32_t colour) override;
  void setEnabled(Control c, bool enabled) override;
  bool checked(Control c) override;
  void setChecked(Control c, bool checked) override;
  void setVisible(bool visible) override;
  int windowState() override;
  void setWindowState(int state) override;
  Bytes iconImage() override;
  void setHtmlAddress(const Text& address) override;
  void requestDestroy() override;

 private:
  static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK containerProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK sinkProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK linkProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT handle(UINT msg, WPARAM wParam, LPARAM lParam);
  // Kept in the object, not in a window property: a property read is a round trip to the
  // Wine server, and the hotkey sink runs on every remapped key press.
  WNDPROC originalProc(HWND h) const {
    const Control c = controlOf(h);
    return c == Control::None ? DefWindowProcA : originalProcs_[controlIndex(c)];
  }
  LRESULT colourStatic(HDC dc, HWND child);
  void drawLabel(const DRAWITEMSTRUCT& item);
  void createControls();
  void showPage(int page);
  void invalidateBehind(HWND child);
  bool navigateFocus(const MSG& msg);
  void openHomePage();

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  HWND controls_[controlCount] = {};
  WNDPROC originalProcs_[controlCount] = {};
  std::uint32_t textColours_[controlCount] = {};
  HFONT guiFont_ = nullptr;
  HFONT songTiFont_ = nullptr;
  HBRUSH whiteBrush_ = nullptr;
  HICON icon_ = nullptr;
  MainWindowEvents* events_ = nullptr;
  bool eventsOn_ = false;
  bool activatedOnce_ = false;
  int storedWindowState_ = windowNormal;
  void* webView_ = nullptr;
};

// The one main window of the process.
Win32MainWindow& mainWindow();
