// The floor for remap latency on a platform: the least a remapper can do. One hotkey on the
// thread's queue, and a press and release of the target key for each firing.
//
//   reference_remapper KEY TARGET      (decimal virtual-key codes; prints "ready" once registered)
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const UINT key = static_cast<UINT>(std::atoi(argv[1]));
  const BYTE target = static_cast<BYTE>(std::atoi(argv[2]));
  if (!RegisterHotKey(nullptr, 1, 0, key)) return 1;
  std::printf("ready\n");
  std::fflush(stdout);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_HOTKEY) {
      keybd_event(target, 0, 0, 0);
      keybd_event(target, 0, KEYEVENTF_KEYUP, 0);
    }
  }
  return 0;
}
