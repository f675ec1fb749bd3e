// Looks at the program's window from outside, the way the tests need it, without guessing
// from pixels. One command a run; texts are printed as hex bytes so no code page gets in the way.
//
//   probe window                       class, caption, rectangles, visibility, X11 id
//   probe controls                     one line per child window of the main window
//   probe click ID                     BM_CLICK to the control with that id
//   probe send MSG [WPARAM [LPARAM]]   SendMessage to the main window, prints the answer
//   probe post MSG [WPARAM [LPARAM]]   PostMessage to the main window
//   probe sendto ID MSG [WPARAM [LPARAM]]
//   probe focus ID                     which control has the focus is read with "controls"
//   probe wait-gone SECONDS            waits until no window of the class is left
//   probe dialog                       the open message box: its caption and text, or no-dialog
//   probe answer BUTTON_ID             clicks a button of the open message box (6 yes, 7 no)
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const mainClass = "Vintrel";

void printHex(const char* bytes, int length) {
  for (int i = 0; i < length; ++i) std::printf("%02X", static_cast<unsigned char>(bytes[i]));
}

std::string windowText(HWND h) {
  // WM_GETTEXT works across processes; GetWindowText would not read another process's edit box.
  char buffer[4096] = {};
  const LRESULT length = SendMessageA(h, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
  return std::string(buffer, static_cast<std::size_t>(length));
}

HWND findMain() { return FindWindowExA(nullptr, nullptr, mainClass, nullptr); }

BOOL CALLBACK printChild(HWND h, LPARAM mainWindow) {
  char cls[128] = {};
  GetClassNameA(h, cls, sizeof cls);
  RECT screen;
  GetWindowRect(h, &screen);
  RECT local = screen;
  MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&local), 2);
  const LONG style = GetWindowLongA(h, GWL_STYLE);
  const LONG exStyle = GetWindowLongA(h, GWL_EXSTYLE);
  HWND focus = nullptr;
  GUITHREADINFO info = {sizeof info};
  if (GetGUIThreadInfo(GetWindowThreadProcessId(reinterpret_cast<HWND>(mainWindow), nullptr), &info)) focus = info.hwndFocus;
  LRESULT check = -1;
  if (std::strcmp(cls, "Button") == 0 || std::strcmp(cls, "BUTTON") == 0) check = SendMessageA(h, BM_GETCHECK, 0, 0);
  const int parentId = GetParent(h) == reinterpret_cast<HWND>(mainWindow) ? 0 : GetDlgCtrlID(GetParent(h));
  const std::string text = windowText(h);
  std::printf("id=%d parent=%d class=%s visible=%d enabled=%d focus=%d checked=%ld style=%08lX exstyle=%08lX "
              "local=%ld,%ld,%ld,%ld screen=%ld,%ld,%ld,%ld text=",
              GetDlgCtrlID(h), parentId, cls, IsWindowVisible(h) ? 1 : 0, IsWindowEnabled(h) ? 1 : 0, h == focus ? 1 : 0,
              static_cast<long>(check), static_cast<unsigned long>(style), static_cast<unsigned long>(exStyle),
              local.left, local.top, local.right - local.left, local.bottom - local.top, screen.left, screen.top,
              screen.right - screen.left, screen.bottom - screen.top);
  printHex(text.data(), static_cast<int>(text.size()));
  if (std::strcmp(cls, WC_TABCONTROLA) == 0 || std::strcmp(cls, "SysTabControl32") == 0) {
    std::printf(" tabs=%ld selected=%ld", static_cast<long>(SendMessageA(h, TCM_GETITEMCOUNT, 0, 0)),
                static_cast<long>(SendMessageA(h, TCM_GETCURSEL, 0, 0)));
  }
  std::printf("\n");
  return TRUE;
}

struct IdSearch {
  int id;
  HWND found;
};

BOOL CALLBACK matchId(HWND h, LPARAM p) {
  auto* search = reinterpret_cast<IdSearch*>(p);
  if (GetDlgCtrlID(h) != search->id) return TRUE;
  search->found = h;
  return FALSE;
}

HWND controlById(HWND main, int id) {
  IdSearch search = {id, nullptr};
  EnumChildWindows(main, matchId, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

long long number(int argc, char** argv, int i) { return i < argc ? std::strtoll(argv[i], nullptr, 0) : 0; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string command = argv[1];

  if (command == "wait-gone") {
    const DWORD until = GetTickCount() + static_cast<DWORD>(number(argc, argv, 2) * 1000);
    while (findMain() && GetTickCount() < until) Sleep(50);
    return findMain() ? 1 : 0;
  }

  if (command == "dialog" || command == "answer") {
    HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr);
    if (!box) {
      std::printf("no-dialog\n");
      return 1;
    }
    if (command == "answer") {
      HWND button = GetDlgItem(box, static_cast<int>(number(argc, argv, 2)));
      if (!button) return 1;
      PostMessageA(button, BM_CLICK, 0, 0);
      return 0;
    }
    const std::string caption = windowText(box);
    const std::string text = windowText(GetDlgItem(box, 0xFFFF));
    std::printf("yes=%d no=%d caption=", GetDlgItem(box, IDYES) ? 1 : 0, GetDlgItem(box, IDNO) ? 1 : 0);
    printHex(caption.data(), static_cast<int>(caption.size()));
    std::printf(" text=");
    printHex(text.data(), static_cast<int>(text.size()));
    std::printf("\n");
    return 0;
  }

  HWND main = findMain();
  if (!main) {
    std::printf("no-window\n");
    return 1;
  }

  if (command == "window") {
    char cls[128] = {};
    GetClassNameA(main, cls, sizeof cls);
    RECT box;
    GetWindowRect(main, &box);
    RECT client;
    GetClientRect(main, &client);
    const std::string caption = windowText(main);
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    const auto x11 = reinterpret_cast<unsigned long long>(GetPropA(main, "__wine_x11_whole_window"));
    WINDOWPLACEMENT placement = {sizeof placement};
    GetWindowPlacement(main, &placement);
    std::printf("class=%s pid=%lu visible=%d iconic=%d zoomed=%d foreground=%d style=%08lX exstyle=%08lX "
                "rect=%ld,%ld,%ld,%ld client=%ld,%ld x11=%llu screen=%d,%d bigicon=%d smallicon=%d caption=",
                cls, static_cast<unsigned long>(pid), IsWindowVisible(main) ? 1 : 0, IsIconic(main) ? 1 : 0,
                IsZoomed(main) ? 1 : 0, GetForegroundWindow() == main ? 1 : 0,
                static_cast<unsigned long>(GetWindowLongA(main, GWL_STYLE)),
                static_cast<unsigned long>(GetWindowLongA(main, GWL_EXSTYLE)), box.left, box.top, box.right - box.left,
                box.bottom - box.top, client.right, client.bottom, x11, GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN), SendMessageA(main, WM_GETICON, ICON_BIG, 0) ? 1 : 0,
                SendMessageA(main, WM_GETICON, ICON_SMALL, 0) ? 1 : 0);
    printHex(caption.data(), static_cast<int>(caption.size()));
    std::printf("\n");
    return 0;
  }
  if (command == "controls") {
    EnumChildWindows(main, printChild, reinterpret_cast<LPARAM>(main));
    return 0;
  }
  if (command == "click" || command == "sendto" || command == "focus") {
    HWND target = controlById(main, static_cast<int>(number(argc, argv, 2)));
    if (!target) return 1;
    if (command == "click") {
      SendMessageA(target, BM_CLICK, 0, 0);
    } else if (command == "focus") {
      // A focus change across processes: attach to the window's input thread first.
      const DWORD thread = GetWindowThreadProcessId(main, nullptr);
      AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
      SetFocus(target);
      AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
    } else {
      const LRESULT answer = SendMessageA(target, static_cast<UINT>(number(argc, argv, 3)),
                                          static_cast<WPARAM>(number(argc, argv, 4)), static_cast<LPARAM>(number(argc, argv, 5)));
      std::printf("%lld\n", static_cast<long long>(answer));
    }
    return 0;
  }
  if (command == "send" || command == "post") {
    const UINT msg = static_cast<UINT>(number(argc, argv, 2));
    const WPARAM w = static_cast<WPARAM>(number(argc, argv, 3));
    const LPARAM l = static_cast<LPARAM>(number(argc, argv, 4));
    if (command == "post") return PostMessageA(main, msg, w, l) ? 0 : 1;
    std::printf("%lld\n", static_cast<long long>(SendMessageA(main, msg, w, l)));
    return 0;
  }
  return 2;
}
