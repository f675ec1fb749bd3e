#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "app/tray.h"
#include "fakes/fake_main_window.h"
#include "fakes/fake_tray_shell.h"

namespace {

using Strings = std::vector<std::string>;

TEST(TrayRecordLayout, IsTheFirst88ByteLayoutWithFourByteHandles) {
  using Record32 = NotifyIconDataV1<std::uint32_t>;
  EXPECT_EQ(sizeof(Record32), 88u);
  EXPECT_EQ(offsetof(Record32, cbSize), 0u);
  EXPECT_EQ(offsetof(Record32, hWnd), 4u);
  EXPECT_EQ(offsetof(Record32, uID), 8u);
  EXPECT_EQ(offsetof(Record32, uFlags), 12u);
  EXPECT_EQ(offsetof(Record32, uCallbackMessage), 16u);
  EXPECT_EQ(offsetof(Record32, hIcon), 20u);
  EXPECT_EQ(offsetof(Record32, szTip), 24u);
}

TEST(TrayRecordLayout, WithEightByteHandlesMatchesThe64BitFirstLayout) {
  using Record64 = NotifyIconDataV1<std::uint64_t>;
  EXPECT_EQ(sizeof(Record64), 104u);
  EXPECT_EQ(offsetof(Record64, hWnd), 8u);
  EXPECT_EQ(offsetof(Record64, uID), 16u);
  EXPECT_EQ(offsetof(Record64, hIcon), 32u);
  EXPECT_EQ(offsetof(Record64, szTip), 40u);
}

TEST(TrayRecordFields, AddAndModifyCarryTheMessageIconAndTip) {
  int window = 0, icon = 0;
  for (TrayAction action : {TrayAction::Add, TrayAction::Modify}) {
    const TrayRecord r = trayRecord(action, &window, &icon, trayTip());
    EXPECT_EQ(r.cbSize, sizeof(TrayRecord));
    EXPECT_EQ(r.hWnd, &window);
    EXPECT_EQ(r.uID, 100u);
    EXPECT_EQ(r.uFlags, 7u);
    EXPECT_EQ(r.uCallbackMessage, 0x8064u);
    EXPECT_EQ(r.hIcon, &icon);
    EXPECT_STREQ(r.szTip, "魔兽争霸显血+改键工具 1.52");
  }
  const TrayRecord removal = trayRecord(TrayAction::Delete, &window, nullptr, Text());
  EXPECT_EQ(removal.uFlags, 0u);
  EXPECT_EQ(removal.uID, 100u);
  EXPECT_EQ(removal.hWnd, &window);
}

TEST(TrayRecordFields, TheTipKeepsAtMost62BytesAndTheFieldEndsInZeros) {
  const std::size_t lengths[] = {0, 1, 61, 62, 63, 64, 200};
  for (std::size_t length : lengths) {
    const TrayRecord r = trayRecord(TrayAction::Add, nullptr, nullptr, Text(length, 'x'));
    const std::size_t kept = length < 62 ? length : 62;
    EXPECT_EQ(std::strlen(r.szTip), kept) << length;
    EXPECT_EQ(r.szTip[62], '\0');
    EXPECT_EQ(r.szTip[63], '\0');
  }
}

TEST(TrayCallback, MapsTheShellsMouseMessagesToTrayEvents) {
  struct Case {
    std::intptr_t lParam;
    int event;
  };
  const Case cases[] = {
      {0x0202, 1},  // left button released
      {0x0203, 2},  // left double-click
      {0x0205, 3},  // right button released
      {0x007B, 3},  // context menu
      {0x0200, 0},  // mouse move
      {0x0201, 0},  // left button pressed
      {0x0204, 0},  // right button pressed
      {0x0206, 0},  // right double-click
      {0x0207, 0},  // middle button
      {0x0208, 0},
      {0x0209, 0},
      {0x0400, 0},  // NIN_SELECT
      {0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(trayEventOf(c.lParam), c.event) << std::hex << c.lParam;
}

class Tray : public ::testing::Test {
 protected:
  FakeTrayShell shell;
  TrayIcon tray;
  int window = 0;
  Bytes image = {0, 0, 1, 0};
  void SetUp() override { tray.window = &window; }
};

TEST_F(Tray, TheFirstShowAddsTheIcon) {
  showTrayIcon(tray, shell, image, trayTip());
  EXPECT_EQ(shell.calls, (Strings{"makeIcon 16", "add 16"}));
  EXPECT_EQ(shell.records.at(0).hWnd, &window);
  EXPECT_STREQ(shell.records.at(0).szTip, trayTip().c_str());
}

TEST_F(Tray, ShowingAgainModifiesAndThenDestroysThePreviousHandle) {
  showTrayIcon(tray, shell, image, trayTip());
  showTrayIcon(tray, shell, image, "other");
  EXPECT_EQ(shell.calls, (Strings{"makeIcon 16", "add 16", "makeIcon 17", "modify 17", "destroyIcon 16"}));
  EXPECT_STREQ(shell.records.at(1).szTip, "other");
}

TEST_F(Tray, AnImageThatMakesNoIconActsAsRemove) {
  showTrayIcon(tray, shell, image, trayTip());
  shell.canMakeIcons = false;
  showTrayIcon(tray, shell, Bytes(), trayTip());
  EXPECT_EQ(shell.calls, (Strings{"makeIcon 16", "add 16", "makeIcon failed", "delete 0", "destroyIcon 16"}));
  EXPECT_EQ(shell.records.back().uFlags, 0u);
  EXPECT_EQ(tray.shown, nullptr);
}

TEST_F(Tray, RemoveDeletesOnceAndThenDoesNothing) {
  showTrayIcon(tray, shell, image, trayTip());
  removeTrayIcon(tray, shell);
  removeTrayIcon(tray, shell);
  EXPECT_EQ(shell.calls, (Strings{"makeIcon 16", "add 16", "delete 0", "destroyIcon 16"}));
}

TEST_F(Tray, RemoveWithoutAnIconDoesNothing) {
  removeTrayIcon(tray, shell);
  EXPECT_TRUE(shell.calls.empty());
}

TEST_F(Tray, ANewNotificationAreaGetsTheShownIconBackWithItsTip) {
  showTrayIcon(tray, shell, image, trayTip());
  restoreTrayIcon(tray, shell);
  EXPECT_EQ(shell.calls, (Strings{"makeIcon 16", "add 16", "add 16"}));
  EXPECT_EQ(shell.records.at(1).uFlags, 7u);
  EXPECT_EQ(shell.records.at(1).uCallbackMessage, 0x8064u);
  EXPECT_STREQ(shell.records.at(1).szTip, trayTip().c_str());
}

TEST_F(Tray, ANewNotificationAreaGetsNoIconAfterItWasRemoved) {
  restoreTrayIcon(tray, shell);
  showTrayIcon(tray, shell, image, trayTip());
  removeTrayIcon(tray, shell);
  restoreTrayIcon(tray, shell);
  EXPECT_EQ(shell.calls, (Strings{"makeIcon 16", "add 16", "delete 0", "destroyIcon 16"}));
}

// A 32 x 32 and a 16 x 16 picture, in that order, as an icon file's directory describes them.
Bytes iconFileWith(std::size_t firstSize, std::size_t secondSize) {
  Bytes file = {0, 0, 1, 0, 2, 0};
  auto entry = [&file](std::uint8_t width, std::size_t size, std::size_t offset) {
    const std::uint8_t e[16] = {width, width, 0, 0, 1, 0, 32, 0,
                                static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8), 0, 0,
                                static_cast<std::uint8_t>(offset), static_cast<std::uint8_t>(offset >> 8), 0, 0};
    file.insert(file.end(), e, e + 16);
  };
  entry(32, firstSize, 38);
  entry(16, secondSize, 38 + firstSize);
  file.resize(38 + firstSize + secondSize, 0xAB);
  return file;
}

TEST(IconImage, PicksThePictureClosestToTheWantedWidth) {
  const Bytes file = iconFileWith(100, 50);
  IconImageSlice slice{};
  ASSERT_TRUE(pickIconImage(file, 16, slice));
  EXPECT_EQ(slice.offset, 138u);
  EXPECT_EQ(slice.size, 50u);
  EXPECT_EQ(slice.width, 16);
  ASSERT_TRUE(pickIconImage(file, 32, slice));
  EXPECT_EQ(slice.offset, 38u);
  EXPECT_EQ(slice.width, 32);
  ASSERT_TRUE(pickIconImage(file, 24, slice));
  EXPECT_EQ(slice.width, 32) << "the first of equally close pictures";
}

TEST(IconImage, RefusesWhatIsNoIconFile) {
  IconImageSlice slice{};
  Bytes cut = iconFileWith(100, 50);
  cut.resize(cut.size() - 1);
  Bytes cursor = iconFileWith(100, 50);
  cursor[2] = 2;
  const Bytes cases[] = {Bytes(), Bytes{0, 0, 1, 0}, Bytes{0, 0, 1, 0, 0, 0}, Bytes{0, 0, 1, 0, 1, 0}, cut, cursor};
  for (const Bytes& c : cases) EXPECT_FALSE(pickIconImage(c, 16, slice)) << c.size();
}

TEST(MinimiseToTray, MinimisingHidesTheWindow) {
  FakeMainWindow window;
  window.visible = true;
  window.state = windowMinimised;
  onPositionChanged(window);
  EXPECT_EQ(window.calls, (Strings{"hide"}));
}

TEST(MinimiseToTray, MovingANormalOrMaximisedWindowDoesNothing) {
  for (int state : {windowNormal, windowMaximised}) {
    FakeMainWindow window;
    window.visible = true;
    window.state = state;
    onPositionChanged(window);
    EXPECT_TRUE(window.calls.empty()) << state;
  }
}

TEST(MinimiseToTray, ADoubleClickShowsTheWindowAndThenRestoresIt) {
  FakeMainWindow window;
  window.state = windowMinimised;
  onTrayEvent(window, trayDoubleClick);
  EXPECT_EQ(window.calls, (Strings{"show", "windowState 0"}));
  EXPECT_TRUE(window.visible);
  EXPECT_EQ(window.state, windowNormal);
}

TEST(MinimiseToTray, SingleAndRightClicksDoNothing) {
  for (int value : {trayLeftClick, trayRightClick, 0, 4}) {
    FakeMainWindow window;
    onTrayEvent(window, value);
    EXPECT_TRUE(window.calls.empty()) << value;
  }
}

}  // namespace
