// The main window against the real user32/comctl32: built from the layout table, its events,
// key capture and focus navigation in the message loop, and the operations the program uses.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/layout.h"
#include "app/main_window_win32.h"
#include "resources/resource_ids.h"

namespace {

struct RecordingEvents : MainWindowEvents {
  std::vector<std::string> seen;
  std::vector<std::pair<Control, std::uint32_t>> keys;
  void created() override { seen.push_back("created"); }
  void positionChanged() override { seen.push_back("positionChanged"); }
  void sizeChanged() override { seen.push_back("sizeChanged"); }
  void firstActivated() override { seen.push_back("firstActivated"); }
  void trayEvent(int value) override { seen.push_back("trayEvent " + std::to_string(value)); }
  void canBeClosed() override { seen.push_back("canBeClosed"); }
  void willBeDestroyed() override { seen.push_back("willBeDestroyed"); }
  void clicked(Control c) override { seen.push_back(std::string("clicked ") + controlSpec(c).layoutName); }
  void keyDown(Control box, std::uint32_t vk) override { keys.emplace_back(box, vk); }
  void feedback(std::uint32_t id) override { seen.push_back("feedback " + std::to_string(id)); }
};

RecordingEvents events;
std::vector<std::string> creationEvents;

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) mainWindow().dispatch(msg);
}

bool contains(const std::vector<std::string>& list, const std::string& item) {
  for (const auto& s : list)
    if (s == item) return true;
  return false;
}

class MainWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(mainWindow().create(GetModuleHandleA(nullptr), events));
    mainWindow().runCreationSequence();
    pump();
    creationEvents = events.seen;
  }
  void SetUp() override {
    events.seen.clear();
    events.keys.clear();
  }
  HWND window() { return mainWindow().handle(); }
  HWND control(Control c) { return mainWindow().control(c); }
};

TEST_F(MainWindowTest, IsTheFixedVintrelWindowCentredOnTheScreen) {
  char cls[64] = {};
  GetClassNameA(window(), cls, sizeof cls);
  EXPECT_STREQ(cls, "Vintrel");
  char caption[128] = {};
  GetWindowTextA(window(), caption, sizeof caption);
  EXPECT_STREQ(caption, mainWindowSpec().caption);
  RECT box;
  GetWindowRect(window(), &box);
  EXPECT_EQ(box.right - box.left, 340);
  EXPECT_EQ(box.bottom - box.top, 245);
  EXPECT_EQ(box.left, (GetSystemMetrics(SM_CXSCREEN) - 340) / 2);
  EXPECT_EQ(box.top, (GetSystemMetrics(SM_CYSCREEN) - 245) / 2);
  const LONG style = GetWindowLongA(window(), GWL_STYLE);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_NE(SendMessageA(window(), WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageA(window(), WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(MainWindowTest, EveryControlSitsWhereTheLayoutPutsIt) {
  for (const ControlSpec& entry : controlLayout()) {
    SCOPED_TRACE(entry.layoutName);
    HWND h = control(entry.name);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetDlgCtrlID(h), controlId(entry.name));
    HWND expectedParent = entry.parent == Control::None ? window() : control(entry.parent);
    EXPECT_EQ(GetParent(h), expectedParent);
    RECT box;
    GetWindowRect(h, &box);
    MapWindowPoints(nullptr, expectedParent, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_EQ(box.left, entry.left);
    EXPECT_EQ(box.top, entry.top);
    EXPECT_EQ(box.right - box.left, entry.width);
    EXPECT_EQ(box.bottom - box.top, entry.height);
  }
  const LONG keyBox = GetWindowLongA(control(Control::编辑框1), GWL_STYLE);
  EXPECT_TRUE(keyBox & ES_READONLY);
  // The border is not checked here: Wine's edit control drops WS_BORDER from its style and
  // paints the border inside its client area, so neither shows it the way Windows does.
  EXPECT_FALSE(keyBox & ES_MULTILINE);
  EXPECT_FALSE(keyBox & ES_NOHIDESEL);
  EXPECT_EQ(SendMessageA(control(Control::选择夹1), TCM_GETITEMCOUNT, 0, 0), 6);
}

TEST_F(MainWindowTest, CreationRaisesCreatedPositionSizeThenFirstActivation) {
  ASSERT_GE(creationEvents.size(), 4u);
  EXPECT_EQ(creationEvents[0], "created");
  EXPECT_EQ(creationEvents[1], "positionChanged");
  EXPECT_EQ(creationEvents[2], "sizeChanged");
  int activations = 0;
  for (const auto& e : creationEvents) activations += e == "firstActivated";
  EXPECT_EQ(activations, 1);
  EXPECT_TRUE(IsWindowVisible(window()));
  EXPECT_EQ(mainWindow().selectedPage(), 1);
}

TEST_F(MainWindowTest, PagesShowOnlyTheirOwnVisibleControls) {
  for (int page = 1; page <= 6; ++page) {
    mainWindow().selectPage(page);
    for (const ControlSpec& entry : controlLayout()) {
      SCOPED_TRACE(std::string(entry.layoutName) + " on page " + std::to_string(page));
      EXPECT_EQ(IsWindowVisible(control(entry.name)) != FALSE, shownOnPage(entry.name, page));
    }
  }
  mainWindow().selectPage(1);
  EXPECT_FALSE(IsWindowVisible(control(Control::超文本浏览框1)));
}

TEST_F(MainWindowTest, KeyDownInAKeyBoxReachesCaptureAndTheBox) {
  mainWindow().selectPage(2);
  SetFocus(control(Control::编辑框1));
  PostMessageA(control(Control::编辑框1), WM_KEYDOWN, 'A', 0x001E0001);
  PostMessageA(control(Control::编辑框3), WM_SYSKEYDOWN, VK_MENU, 0x20380001);
  PostMessageA(control(Control::编辑框2), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageA(control(Control::编辑框2), WM_KEYDOWN, VK_RETURN, 0x001C0001);
  pump();
  ASSERT_EQ(events.keys.size(), 4u);
  EXPECT_EQ(events.keys[0], std::make_pair(Control::编辑框1, std::uint32_t('A')));
  EXPECT_EQ(events.keys[1], std::make_pair(Control::编辑框3, std::uint32_t(VK_MENU)));
  EXPECT_EQ(events.keys[2].second, std::uint32_t(VK_ESCAPE));
  EXPECT_EQ(events.keys[3].second, std::uint32_t(VK_RETURN));
  EXPECT_FALSE(contains(events.seen, "canBeClosed"));  // Esc does not close the window
  char text[32] = {};
  GetWindowTextA(control(Control::编辑框1), text, sizeof text);
  EXPECT_STREQ(text, controlSpec(Control::编辑框1).text);  // read-only: no typed letter
}

TEST_F(MainWindowTest, TabMovesTheFocusAndIsNotCaptured) {
  mainWindow().selectPage(2);
  SetFocus(control(Control::编辑框6));
  PostMessageA(control(Control::编辑框6), WM_KEYDOWN, VK_TAB, 0x000F0001);
  pump();
  EXPECT_TRUE(events.keys.empty());
  EXPECT_NE(GetFocus(), control(Control::编辑框6));
}

TEST_F(MainWindowTest, KeysToADisabledBoxAreNotInspected) {
  mainWindow().selectPage(2);
  mainWindow().setEnabled(Control::编辑框4, false);
  PostMessageA(control(Control::编辑框4), WM_KEYDOWN, 'Q', 0x00100001);
  pump();
  mainWindow().setEnabled(Control::编辑框4, true);
  EXPECT_TRUE(events.keys.empty());
}

TEST_F(MainWindowTest, ClicksOfTheButtonsAndCheckBoxesAreRaised) {
  mainWindow().selectPage(2);
  SendMessageA(control(Control::按钮1), BM_CLICK, 0, 0);
  SendMessageA(control(Control::按钮3), BM_CLICK, 0, 0);
  mainWindow().selectPage(4);
  SendMessageA(control(Control::选择框1), BM_CLICK, 0, 0);
  pump();
  EXPECT_TRUE(contains(events.seen, "clicked 按钮1"));
  EXPECT_TRUE(contains(events.seen, "clicked 按钮3"));
  EXPECT_TRUE(contains(events.seen, "clicked 选择框1"));
  EXPECT_TRUE(mainWindow().checked(Control::选择框1));  // the click toggled it before the event
  mainWindow().setChecked(Control::选择框1, false);
}

TEST_F(MainWindowTest, WritingACheckedStateRaisesNoClick) {
  mainWindow().setChecked(Control::选择框2, true);
  pump();
  EXPECT_TRUE(mainWindow().checked(Control::选择框2));
  mainWindow().setChecked(Control::选择框2, false);
  pump();
  EXPECT_FALSE(mainWindow().checked(Control::选择框2));
  EXPECT_TRUE(events.seen.empty());
}

TEST_F(MainWindowTest, TextsAndColoursRoundTrip) {
  mainWindow().setText(Control::标签8, "\xD7\xB4\xCC\xAC: \xD2\xD1\xB8\xC4\xBC\xFC");
  EXPECT_EQ(mainWindow().text(Control::标签8), "\xD7\xB4\xCC\xAC: \xD2\xD1\xB8\xC4\xBC\xFC");
  mainWindow().setText(Control::标签8, controlSpec(Control::标签8).text);
  mainWindow().setText(Control::编辑框5, "");
  EXPECT_EQ(mainWindow().text(Control::编辑框5), "");
  mainWindow().setText(Control::编辑框5, controlSpec(Control::编辑框5).text);
}

TEST_F(MainWindowTest, HotkeyForwardToTheSinkLabelRaisesFeedback) {
  SendMessageA(control(Control::标签1), hotkeyForwardMessage, 33005, 0);
  EXPECT_EQ(events.seen, (std::vector<std::string>{"feedback 33005"}));
}

TEST_F(MainWindowTest, TrayCallbackMapsMouseMessagesToEvents) {
  for (LPARAM mouse : {0x0200, 0x0201, 0x0202, 0x0203, 0x0204, 0x0205, 0x007B, 0x0207}) {
    SendMessageA(window(), trayCallbackMessage, 100, mouse);
  }
  EXPECT_EQ(events.seen, (std::vector<std::string>{"trayEvent 1", "trayEvent 2", "trayEvent 3", "trayEvent 3"}));
}

TEST_F(MainWindowTest, WindowStateReadsZeroNormalAndTwoMinimised) {
  EXPECT_EQ(mainWindow().windowState(), windowNormal);
  ShowWindow(window(), SW_MINIMIZE);
  pump();
  EXPECT_EQ(mainWindow().windowState(), windowMinimised);
  EXPECT_TRUE(contains(events.seen, "positionChanged"));
  mainWindow().setWindowState(windowNormal);
  pump();
  EXPECT_EQ(mainWindow().windowState(), windowNormal);
  mainWindow().setVisible(false);
  mainWindow().setWindowState(windowMinimised);  // stored only: the window is hidden
  EXPECT_FALSE(IsIconic(window()));
  mainWindow().setVisible(true);
  pump();
}

TEST_F(MainWindowTest, IconImageIsTheIconFileOfTheExecutable) {
  const Bytes image = mainWindow().iconImage();
  std::ifstream file(TAVRIK_ICON_FILE, std::ios::binary);
  const Bytes expected((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(image, expected);
  EXPECT_EQ(image.size(), 3262u);  // one 32 x 32 image at 24 bits
}

TEST_F(MainWindowTest, CloseAndQueryEndSessionRaiseCanBeClosed) {
  SendMessageA(window(), WM_CLOSE, 0, 0);
  SendMessageA(window(), WM_QUERYENDSESSION, 0, 0);
  EXPECT_EQ(events.seen, (std::vector<std::string>{"canBeClosed", "canBeClosed"}));
  EXPECT_TRUE(IsWindow(window()));  // the real handler ends the process; the window itself stays
}

// Last: destroys the window.
TEST_F(MainWindowTest, ZZRequestDestroyIsQueuedAndRaisesWillBeDestroyed) {
  mainWindow().requestDestroy();
  EXPECT_TRUE(events.seen.empty());
  pump();
  EXPECT_EQ(events.seen, (std::vector<std::string>{"willBeDestroyed"}));
  EXPECT_FALSE(IsWindow(window()));
}

}  // namespace
