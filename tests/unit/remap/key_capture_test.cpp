#include <gtest/gtest.h>

#include "fakes/fake_main_window.h"
#include "remap/key_slots.h"

namespace {

struct CodeCase {
  std::uint32_t virtualKey;
  std::uint8_t code;
};

class CaptureCodeTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(CaptureCodeTest, FoldsTheKeypadAndKeepsEverythingElse) {
  EXPECT_EQ(captureCode(GetParam().virtualKey), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Codes, CaptureCodeTest,
                         ::testing::Values(CodeCase{65, 65}, CodeCase{81, 81}, CodeCase{90, 90},  // letters
                                           CodeCase{48, 48}, CodeCase{57, 57},                    // digits
                                           CodeCase{96, 48}, CodeCase{104, 56}, CodeCase{105, 57},  // keypad digits
                                           CodeCase{106, 106}, CodeCase{107, 107},  // keypad * and + stay
                                           CodeCase{109, 189}, CodeCase{110, 190}, CodeCase{111, 191},
                                           CodeCase{112, 112}, CodeCase{123, 123},  // F1, F12
                                           CodeCase{9, 9}, CodeCase{27, 27}, CodeCase{13, 13}, CodeCase{32, 32},
                                           CodeCase{16, 16}, CodeCase{17, 17}, CodeCase{18, 18},
                                           CodeCase{37, 37}, CodeCase{40, 40}, CodeCase{186, 186}, CodeCase{222, 222},
                                           CodeCase{0x168, 56}, CodeCase{0x1FF, 0xFF}));  // the low byte, then folded

struct NameCase {
  std::uint8_t code;
  std::string hexName;
};

class KeyDisplayNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(KeyDisplayNameTest, GivesTheTableTextOrTheLoneByteAndJian) {
  EXPECT_EQ(hexOf(keyDisplayName(GetParam().code)), GetParam().hexName);
}

// "键" is BC FC in GBK.
INSTANTIATE_TEST_SUITE_P(
    Names, KeyDisplayNameTest,
    ::testing::Values(NameCase{112, "46 31 BC FC"}, NameCase{117, "46 36 BC FC"},       // F1, F6 from the table
                      NameCase{118, "76 BC FC"}, NameCase{122, "7A BC FC"},             // F7 -> v, F11 -> z
                      NameCase{123, "7B BC FC"},                                        // F12 -> {
                      NameCase{18, "41 4C 54 BC FC"}, NameCase{17, "43 54 52 4C BC FC"},  // ALT, CTRL
                      NameCase{9, "54 41 42 BC FC"}, NameCase{27, "45 53 43 BC FC"},    // TAB, ESC
                      NameCase{65, "41 BC FC"}, NameCase{81, "51 BC FC"}, NameCase{56, "38 BC FC"},
                      NameCase{32, "20 BC FC"}, NameCase{13, "0D BC FC"}, NameCase{16, "10 BC FC"},
                      NameCase{37, "25 BC FC"}, NameCase{38, "26 BC FC"}, NameCase{39, "27 BC FC"},
                      NameCase{40, "28 BC FC"}, NameCase{189, "BD BC FC"}, NameCase{219, "DB BC FC"},
                      NameCase{255, "FF BC FC"}, NameCase{0, "00 BC FC"}));

TEST(KeySlots, HoldTheKeypadTargetsAndBoxesInSlotOrder) {
  const auto slots = makeDefaultSlots();
  const int targets[] = {104, 101, 98, 97, 100, 103};
  const Control boxes[] = {Control::编辑框1, Control::编辑框2, Control::编辑框3,
                           Control::编辑框4, Control::编辑框5, Control::编辑框6};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(slots[i].targetVk, targets[i]);
    EXPECT_EQ(slots[i].keyBox, boxes[i]);
    EXPECT_TRUE(slots[i].keyCodeText.empty());
    EXPECT_EQ(slots[i].hotkeyId, 0);
    EXPECT_EQ(std::to_string(slots[i].targetVk), slotDefaults()[i].defaultKeyCode);
  }
  EXPECT_EQ(hexOf(slotDefaults()[0].defaultKeyName), "D0 A1 BC FC C5 CC 38");
}

TEST(CaptureSlotKey, CapturingAInBoxOneShowsItInRedAndStores65) {
  auto slots = makeDefaultSlots();
  FakeMainWindow window;
  captureSlotKey(slots, window, 1, captureCode('A'));
  EXPECT_EQ(hexOf(window.texts[Control::编辑框1]), "41 BC FC");
  EXPECT_EQ(window.colours[Control::编辑框1], 255u);
  EXPECT_EQ(slots[0].keyCodeText, "65");
  EXPECT_EQ(window.calls, (std::vector<std::string>{"setTextColour 编辑框1", "setText 编辑框1"}));
}

TEST(CaptureSlotKey, EachBoxWritesOnlyItsOwnSlot) {
  auto slots = makeDefaultSlots();
  FakeMainWindow window;
  captureSlotKey(slots, window, 6, captureCode(104));  // keypad 8 captures as the main-row 8
  EXPECT_EQ(slots[5].keyCodeText, "56");
  EXPECT_EQ(hexOf(window.texts[Control::编辑框6]), "38 BC FC");
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(slots[i].keyCodeText.empty());
  EXPECT_EQ(window.colours.count(Control::编辑框1), 0u);
}

TEST(CaptureSlotKey, CtrlQStoresTheSameAsQAndDuplicatesAreAccepted) {
  auto slots = makeDefaultSlots();
  FakeMainWindow window;
  captureSlotKey(slots, window, 2, captureCode('Q'));
  captureSlotKey(slots, window, 3, captureCode('Q'));
  EXPECT_EQ(slots[1].keyCodeText, "81");
  EXPECT_EQ(slots[2].keyCodeText, "81");
  EXPECT_EQ(slots[1].hotkeyId, 0);
}

TEST(CaptureSlotKey, CodesAreDecimalWithoutSignOrLeadingZeros) {
  auto slots = makeDefaultSlots();
  FakeMainWindow window;
  captureSlotKey(slots, window, 1, 9);
  EXPECT_EQ(slots[0].keyCodeText, "9");
  captureSlotKey(slots, window, 1, 0);
  EXPECT_EQ(slots[0].keyCodeText, "0");
  captureSlotKey(slots, window, 1, 255);
  EXPECT_EQ(slots[0].keyCodeText, "255");
}

TEST(RestoreDefaults, PutsNamesFirstThenCodesAndKeepsColours) {
  auto slots = makeDefaultSlots();
  FakeMainWindow window;
  captureSlotKey(slots, window, 1, 'Q');
  captureSlotKey(slots, window, 4, 'W');
  slots[2].hotkeyId = 33005;
  window.calls.clear();

  restoreDefaults(slots, window);

  EXPECT_EQ(window.calls, (std::vector<std::string>{"setText 编辑框1", "setText 编辑框2", "setText 编辑框3",
                                                    "setText 编辑框4", "setText 编辑框5", "setText 编辑框6"}));
  const char* codes[] = {"104", "101", "98", "97", "100", "103"};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(slots[i].keyCodeText, codes[i]);
    EXPECT_EQ(window.texts[slots[i].keyBox], slotDefaults()[i].defaultKeyName);
  }
  EXPECT_EQ(window.colours[Control::编辑框1], 255u);
  EXPECT_EQ(window.colours[Control::编辑框4], 255u);
  EXPECT_EQ(slots[2].hotkeyId, 33005);
}

}  // namespace
