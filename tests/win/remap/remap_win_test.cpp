// The remap engine's system services against the real user32 under Wine: hotkeys on a real
// window, the forwarding window procedure, injected key events and the blocker's hook.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/main_window_win32.h"
#include "fakes/fake_main_window.h"
#include "remap/hotkey_registry.h"
#include "remap/remap_engine.h"
#include "remap/remap_win32.h"
#include "remap/win_key_blocker.h"

namespace {

// Keys nothing else on the test desktop uses.
constexpr int f13 = VK_F13;
constexpr int f14 = VK_F14;
constexpr int f15 = VK_F15;

constexpr UINT answerMessage = WM_APP + 7;
constexpr LRESULT answerValue = 4321;

struct Seen {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  std::size_t sinkCountThen;  // forwarded messages the sink had received when this one arrived
};

std::vector<Seen> ownerSeen;
std::vector<Seen> sinkSeen;

LRESULT CALLBACK ownerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_HOTKEY) ownerSeen.push_back({msg, wParam, lParam, sinkSeen.size()});
  if (msg == answerMessage) return answerValue;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK sinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == hotkeyForwardMessage) sinkSeen.push_back({msg, wParam, lParam, sinkSeen.size()});
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND makeWindow(const char* className, WNDPROC proc) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  RegisterClassA(&wc);
  return CreateWindowExA(0, className, className, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// Dispatches this thread's messages until done() holds or the time runs out.
template <typename Done>
bool pumpUntil(Done done, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed < 50 ? timeoutMs - elapsed : 50, QS_ALLINPUT);
  }
}

WNDPROC procOf(HWND h) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC)); }

class HotkeyRegistryWin : public ::testing::Test {
 protected:
  HotkeyRegistry registry;
  Win32RemapOs os;
  HWND owner = nullptr;
  HWND sink = nullptr;
  std::vector<std::int32_t> live;

  void SetUp() override {
    owner = makeWindow("TavrikTestOwner", ownerProc);
    sink = makeWindow("TavrikTestSink", sinkProc);
    ASSERT_TRUE(owner && sink);
    ownerSeen.clear();
    sinkSeen.clear();
  }
  void TearDown() override {
    for (std::int32_t id : live) unregisterHotkey(registry, os, owner, id);
    DestroyWindow(sink);
    DestroyWindow(owner);
  }
  std::int32_t attempt(int key) {
    const std::int32_t id = registerHotkey(registry, os, owner, sink, 0, key);
    live.push_back(id);
    return id;
  }
};

TEST_F(HotkeyRegistryWin, TheSystemAcceptsAKeyOnceAndEveryAttemptUsesAnIdentifier) {
  EXPECT_EQ(attempt(f13), 33001);
  EXPECT_EQ(attempt(f14), 33002);
  EXPECT_EQ(attempt(f13), 0);
  EXPECT_EQ(attempt(f15), 33004);
  // Held system-wide: another window cannot take it either.
  EXPECT_FALSE(RegisterHotKey(sink, 1, 0, f14));
}

TEST_F(HotkeyRegistryWin, AKeyUnregisteredIsFreeForTheNextAttempt) {
  const std::int32_t first = attempt(f13);
  EXPECT_TRUE(unregisterHotkey(registry, os, owner, first));
  live.clear();
  EXPECT_EQ(attempt(f13), 33002);
}

TEST_F(HotkeyRegistryWin, AFiredHotkeyReachesTheSinkBeforeTheWindowsOwnProcedure) {
  const WNDPROC own = procOf(owner);
  const std::int32_t id = attempt(f13);
  ASSERT_NE(id, 0);
  EXPECT_NE(procOf(owner), own);
  EXPECT_EQ(registry.savedWindowProc, reinterpret_cast<void*>(own));

  PostMessageA(owner, WM_HOTKEY, static_cast<WPARAM>(id), MAKELPARAM(0, f13));
  ASSERT_TRUE(pumpUntil([] { return !ownerSeen.empty(); }));
  ASSERT_EQ(sinkSeen.size(), 1u);
  EXPECT_EQ(sinkSeen[0].wParam, static_cast<WPARAM>(id));
  EXPECT_EQ(sinkSeen[0].lParam, 0);
  EXPECT_EQ(ownerSeen[0].sinkCountThen, 1u);  // sent, not posted: the sink's handler has run already
  EXPECT_EQ(ownerSeen[0].lParam, MAKELPARAM(0, f13));

  SendMessageA(owner, WM_HOTKEY, static_cast<WPARAM>(id), 0);
  EXPECT_EQ(sinkSeen.size(), 2u);
  EXPECT_EQ(ownerSeen.size(), 2u);
  EXPECT_EQ(SendMessageA(owner, answerMessage, 0, 0), answerValue);
}

TEST_F(HotkeyRegistryWin, HotkeysOutsideTheSeriesAreOnlyPassedOn) {
  attempt(f13);
  attempt(f14);
  for (WPARAM wParam : {WPARAM(33000), WPARAM(33003), WPARAM(0), static_cast<WPARAM>(-1), static_cast<WPARAM>(-2)}) {
    SendMessageA(owner, WM_HOTKEY, wParam, 0);
  }
  EXPECT_EQ(ownerSeen.size(), 5u);
  EXPECT_TRUE(sinkSeen.empty());
}

TEST_F(HotkeyRegistryWin, TheOwnProcedureComesBackWhenTheLastRegistrationEnds) {
  const WNDPROC own = procOf(owner);
  const std::int32_t a = attempt(f13);
  const std::int32_t refused = attempt(f13);
  live.clear();
  unregisterHotkey(registry, os, owner, a);
  EXPECT_NE(procOf(owner), own);  // the refused attempt still counts
  unregisterHotkey(registry, os, owner, refused);
  EXPECT_EQ(procOf(owner), own);
  EXPECT_EQ(registry.savedWindowProc, nullptr);

  SendMessageA(owner, WM_HOTKEY, static_cast<WPARAM>(a), 0);
  EXPECT_EQ(ownerSeen.size(), 1u);
  EXPECT_TRUE(sinkSeen.empty());

  EXPECT_EQ(attempt(f13), 33003);
  EXPECT_NE(procOf(owner), own);
}

// An action that ends the last registration from inside the forwarded call: the message still
// reaches the window's own procedure.
std::int32_t unregisterFromSink = 0;
HotkeyRegistry* sinkRegistry = nullptr;
HWND sinkOwner = nullptr;

LRESULT CALLBACK unregisteringSinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == hotkeyForwardMessage) {
    sinkSeen.push_back({msg, wParam, lParam, sinkSeen.size()});
    Win32RemapOs os;
    unregisterHotkey(*sinkRegistry, os, sinkOwner, unregisterFromSink);
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST_F(HotkeyRegistryWin, AnActionThatEndsTheLastRegistrationStillLetsTheMessageThrough) {
  HWND unregisteringSink = makeWindow("TavrikTestUnregisteringSink", unregisteringSinkProc);
  const WNDPROC own = procOf(owner);
  unregisterFromSink = registerHotkey(registry, os, owner, unregisteringSink, 0, f13);
  sinkRegistry = &registry;
  sinkOwner = owner;
  SendMessageA(owner, WM_HOTKEY, static_cast<WPARAM>(unregisterFromSink), 0);
  EXPECT_EQ(sinkSeen.size(), 1u);
  EXPECT_EQ(ownerSeen.size(), 1u);
  EXPECT_EQ(procOf(owner), own);
  DestroyWindow(unregisteringSink);
}

// An injected key-down fires a hotkey like a pressed one: the reason the engine never makes a key
// it injects itself a hotkey.
TEST_F(HotkeyRegistryWin, AnInjectedKeyFiresTheHotkeyAndTheSinkGetsItsIdentifier) {
  ShowWindow(owner, SW_SHOW);
  SetForegroundWindow(owner);
  SetFocus(owner);
  pumpUntil([] { return false; }, 200);
  const std::int32_t id = attempt(f13);
  ASSERT_NE(id, 0);
  keybd_event(f13, 0, 0, 0);
  keybd_event(f13, 0, KEYEVENTF_KEYUP, 0);
  ASSERT_TRUE(pumpUntil([] { return !sinkSeen.empty(); })) << "no WM_HOTKEY arrived";
  EXPECT_EQ(sinkSeen[0].wParam, static_cast<WPARAM>(id));
}

// The program's own main window: Home and F8 registered at the end of start-up, a fired one
// arrives as the label's feedback event.
struct FeedbackEvents : MainWindowEvents {
  std::vector<std::uint32_t> identifiers;
  void created() override {}
  void positionChanged() override {}
  void sizeChanged() override {}
  void firstActivated() override {}
  void trayEvent(int) override {}
  void canBeClosed() override {}
  void willBeDestroyed() override {}
  void clicked(Control) override {}
  void keyDown(Control, std::uint32_t) override {}
  void feedback(std::uint32_t identifier) override { identifiers.push_back(identifier); }
};

TEST(MainRemapEngine, FiredHotkeysOfTheMainWindowBecomeFeedbackOfItsLabel) {
  FeedbackEvents events;
  ASSERT_TRUE(mainWindow().create(GetModuleHandleA(nullptr), events));
  mainWindow().runCreationSequence();
  pumpUntil([] { return false; }, 100);
  const RemapEngine engine = mainRemapEngine();
  EXPECT_EQ(engine.owner, mainWindow().handle());
  EXPECT_EQ(engine.sink, mainWindow().control(Control::标签1));
  registerFixedHotkeys(engine);
  EXPECT_EQ(appState.hpBarHotkeyId, hotkeyRegistry.lastIssuedId - 1);
  EXPECT_EQ(appState.toggleHotkeyId, hotkeyRegistry.lastIssuedId);
  ASSERT_NE(appState.hpBarHotkeyId, 0);
  ASSERT_NE(appState.toggleHotkeyId, 0);

  SendMessageA(mainWindow().handle(), WM_HOTKEY, static_cast<WPARAM>(appState.toggleHotkeyId), 0);
  PostMessageA(mainWindow().handle(), WM_HOTKEY, static_cast<WPARAM>(appState.hpBarHotkeyId), 0);
  pumpUntil([&] { return events.identifiers.size() >= 2; });
  EXPECT_EQ(events.identifiers, (std::vector<std::uint32_t>{static_cast<std::uint32_t>(appState.toggleHotkeyId),
                                                            static_cast<std::uint32_t>(appState.hpBarHotkeyId)}));
  unregisterHotkey(hotkeyRegistry, systemRemapOs(), mainWindow().handle(), appState.hpBarHotkeyId);
  unregisterHotkey(hotkeyRegistry, systemRemapOs(), mainWindow().handle(), appState.toggleHotkeyId);
  mainWindow().stopEvents();
  DestroyWindow(mainWindow().handle());
}

// The blocker's hook procedure, called as the system calls it.
TEST(BlockerHookProc, DropsEveryEventOfTheLeftWindowsKeyAndPassesTheRest) {
  HookRecord record{};
  appState.hookRecord = &record;
  appState.keyboardHook = nullptr;
  for (WPARAM message : {WPARAM(WM_KEYDOWN), WPARAM(WM_KEYUP), WPARAM(WM_SYSKEYDOWN), WPARAM(WM_SYSKEYUP)}) {
    for (DWORD key : {DWORD(91), DWORD(92), DWORD(65), DWORD(104)}) {
      KBDLLHOOKSTRUCT event = {};
      event.vkCode = key;
      event.scanCode = 0x5B;
      event.flags = LLKHF_INJECTED;
      event.time = 777;
      const LRESULT result = blockerHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&event));
      EXPECT_EQ(result, key == 91 ? 1 : 0) << "key " << key << " message " << message;
      EXPECT_EQ(record.vkCode, key);
      EXPECT_EQ(record.scanCode, 0x5Bu);
      EXPECT_EQ(record.flags, static_cast<std::uint32_t>(LLKHF_INJECTED));
      EXPECT_EQ(record.time, 777u);
    }
  }
  appState.hookRecord = nullptr;
}

// What a later program's hook would see: installed before the blocker, so it runs after it.
struct Observed {
  DWORD vk;
  WPARAM message;
  DWORD flags;
};
std::vector<Observed> observed;

LRESULT CALLBACK observerProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    observed.push_back({event->vkCode, wParam, event->flags});
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Injects from another thread, so this one is free to run the hooks.
DWORD WINAPI injectKeys(void* keys) {
  for (const int* key = static_cast<const int*>(keys); *key; ++key) injectKeyPress(systemRemapOs(), *key);
  return 0;
}

std::vector<DWORD> injectAndObserve(const int* keys, DWORD lastKey) {
  observed.clear();
  HANDLE thread = CreateThread(nullptr, 0, injectKeys, const_cast<int*>(keys), 0, nullptr);
  pumpUntil([&] {
    return !observed.empty() && observed.back().vk == lastKey && observed.back().message == WM_KEYUP;
  });
  pumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; });
  CloseHandle(thread);
  std::vector<DWORD> keysSeen;
  for (const Observed& o : observed) keysSeen.push_back(o.vk);
  return keysSeen;
}

TEST(WinKeyBlocker, CheckingTheBoxSwallowsTheLeftWindowsKeyUncheckingGivesItBack) {
  HookRecord record{};
  appState.hookRecord = &record;
  HHOOK observer = SetWindowsHookExA(WH_KEYBOARD_LL, observerProc, GetModuleHandleA(nullptr), 0);
  ASSERT_NE(observer, nullptr);
  FakeMainWindow window;

  window.checks[Control::选择框1] = true;
  applyBlocker(appState, window, systemRemapOs());
  ASSERT_NE(appState.keyboardHook, nullptr);
  static const int keys[] = {91, 92, 104, 0};
  EXPECT_EQ(injectAndObserve(keys, 104), (std::vector<DWORD>{92, 92, 104, 104}));
  EXPECT_EQ(record.vkCode, 104u);
  // The injected keypad key: no extended flag.
  ASSERT_EQ(observed.size(), 4u);
  EXPECT_EQ(observed[2].message, static_cast<WPARAM>(WM_KEYDOWN));
  EXPECT_EQ(observed[2].flags & LLKHF_EXTENDED, 0u);
  EXPECT_NE(observed[2].flags & LLKHF_INJECTED, 0u);
  EXPECT_EQ(observed[3].message, static_cast<WPARAM>(WM_KEYUP));

  window.checks[Control::选择框1] = false;
  applyBlocker(appState, window, systemRemapOs());
  EXPECT_EQ(injectAndObserve(keys, 104), (std::vector<DWORD>{91, 91, 92, 92, 104, 104}));

  window.checks[Control::选择框1] = true;
  applyBlocker(appState, window, systemRemapOs());
  EXPECT_EQ(injectAndObserve(keys, 104), (std::vector<DWORD>{92, 92, 104, 104}));
  window.checks[Control::选择框1] = false;
  applyBlocker(appState, window, systemRemapOs());

  UnhookWindowsHookEx(observer);
  appState.hookRecord = nullptr;
}

}  // namespace
