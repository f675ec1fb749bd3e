#include "remap/remap_win32.h"

#include <cstring>

#include "app/main_window_win32.h"
#include "remap/win_key_blocker.h"

namespace {

// The registry whose series the forwarding procedure serves. A plain variable rather than a
// window property: reading a property is a round trip to the window server, and this procedure
// sits on the road of every remapped key press.
const HotkeyRegistry* forwardingRegistry = nullptr;

HWND asWindow(void* h) { return static_cast<HWND>(h); }

}  // namespace

bool Win32RemapOs::registerHotKey(void* owner, std::int32_t id, std::uint32_t flags, std::int32_t virtualKey) {
  return RegisterHotKey(asWindow(owner), id, flags, static_cast<UINT>(virtualKey)) != FALSE;
}

bool Win32RemapOs::unregisterHotKey(void* owner, std::int32_t id) {
  return UnregisterHotKey(asWindow(owner), id) != FALSE;
}

void* Win32RemapOs::installForwardingProc(void* owner, const HotkeyRegistry& registry) {
  // Set first: the very next message may already arrive through the new procedure.
  forwardingRegistry = &registry;
  const LONG_PTR previous =
      SetWindowLongPtrA(asWindow(owner), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hotkeyForwardingProc));
  if (!previous) forwardingRegistry = nullptr;
  return reinterpret_cast<void*>(previous);
}

void Win32RemapOs::restoreWindowProc(void* owner, void* savedProc) {
  SetWindowLongPtrA(asWindow(owner), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedProc));
  forwardingRegistry = nullptr;
}

void Win32RemapOs::keybdEvent(std::uint8_t virtualKey, std::uint32_t flags) {
  keybd_event(virtualKey, 0, flags, 0);
}

void* Win32RemapOs::installKeyboardHook() {
  return SetWindowsHookExA(WH_KEYBOARD_LL, blockerHookProc, GetModuleHandleA(nullptr), 0);
}

bool Win32RemapOs::removeKeyboardHook(void* hook) { return UnhookWindowsHookEx(static_cast<HHOOK>(hook)) != FALSE; }

RemapOs& systemRemapOs() {
  static Win32RemapOs os;
  return os;
}

RemapEngine mainRemapEngine() {
  Win32MainWindow& window = mainWindow();
  return RemapEngine{appState, window, hotkeyRegistry, systemRemapOs(), window.handle(), window.control(Control::标签1)};
}

LRESULT CALLBACK hotkeyForwardingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const HotkeyRegistry* registry = forwardingRegistry;
  if (!registry || !registry->savedWindowProc) return DefWindowProcA(hwnd, msg, wParam, lParam);
  // Taken before forwarding: the action may unregister the last hotkey and put it back meanwhile.
  const WNDPROC saved = reinterpret_cast<WNDPROC>(registry->savedWindowProc);
  if (msg == WM_HOTKEY && forwardsHotkey(*registry, wParam)) {
    SendMessageA(asWindow(registry->sinkWindow), hotkeyForwardMessage, wParam, 0);
  }
  return CallWindowProcA(saved, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK blockerHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    // The 32-bit KBDLLHOOKSTRUCT is 20 bytes. The 64-bit one has a wider dwExtraInfo; its first
    // 20 bytes still hold vkCode, scanCode, flags and time where the record expects them.
    HookRecord event;
    std::memcpy(&event, reinterpret_cast<const void*>(lParam), sizeof event);
    if (blockerDropsEvent(appState, code, static_cast<std::uintptr_t>(wParam), event)) return 1;
  }
  return CallNextHookEx(static_cast<HHOOK>(appState.keyboardHook), code, wParam, lParam);
}
