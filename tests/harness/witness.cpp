// Stands in for the game: one window that logs every key message it receives, and a low-level
// keyboard hook that logs every key event on the desktop in its raw order, with times.
//
//   witness LOGFILE
//
// Log lines (flushed one by one):
//   ready hwnd=H x11=X
//   msg down|up|sysdown|sysup vk=N t=MICROSECONDS
//   ll down|up vk=N injected=0|1 t=MICROSECONDS
// Times come from one performance counter, so lines of both kinds compare.
#include <windows.h>

#include <cstdio>

namespace {

FILE* logFile = nullptr;
LARGE_INTEGER frequency;
HHOOK hook = nullptr;

long long microseconds() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart * 1000000 / frequency.QuadPart;
}

void writeLine(const char* kind, const char* what, unsigned vk, int injected) {
  if (injected >= 0) {
    std::fprintf(logFile, "%s %s vk=%u injected=%d t=%lld\n", kind, what, vk, injected, microseconds());
  } else {
    std::fprintf(logFile, "%s %s vk=%u t=%lld\n", kind, what, vk, microseconds());
  }
  std::fflush(logFile);
}

LRESULT CALLBACK lowLevel(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* record = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const bool up = wParam == WM_KEYUP || wParam == WM_SYSKEYUP;
    writeLine("ll", up ? "up" : "down", record->vkCode, (record->flags & LLKHF_INJECTED) ? 1 : 0);
  }
  return CallNextHookEx(hook, code, wParam, lParam);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_KEYDOWN: writeLine("msg", "down", static_cast<unsigned>(wParam), -1); return 0;
    case WM_KEYUP: writeLine("msg", "up", static_cast<unsigned>(wParam), -1); return 0;
    case WM_SYSKEYDOWN: writeLine("msg", "sysdown", static_cast<unsigned>(wParam), -1); return 0;
    case WM_SYSKEYUP: writeLine("msg", "sysup", static_cast<unsigned>(wParam), -1); return 0;
    case WM_CLOSE: DestroyWindow(hwnd); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  logFile = std::fopen(argv[1], "w");
  if (!logFile) return 1;
  QueryPerformanceFrequency(&frequency);

  WNDCLASSA cls = {};
  cls.lpfnWndProc = windowProc;
  cls.hInstance = GetModuleHandleA(nullptr);
  cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  cls.lpszClassName = "TavrikWitness";
  RegisterClassA(&cls);
  HWND window = CreateWindowExA(0, cls.lpszClassName, "witness", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 260, 120,
                                nullptr, nullptr, cls.hInstance, nullptr);
  if (!window) return 1;
  hook = SetWindowsHookExA(WH_KEYBOARD_LL, lowLevel, GetModuleHandleA(nullptr), 0);

  // Wine names the X window of a top-level window in this property once it is mapped.
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  std::fprintf(logFile, "ready hwnd=%llu x11=%llu hook=%d\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
               static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(GetPropA(window, "__wine_x11_whole_window"))),
               hook ? 1 : 0);
  std::fflush(logFile);

  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (hook) UnhookWindowsHookEx(hook);
  std::fclose(logFile);
  return 0;
}
