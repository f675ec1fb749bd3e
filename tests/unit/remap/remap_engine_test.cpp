#include "remap/remap_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "remap_fixture.h"

namespace {

using Calls = std::vector<std::string>;

const Calls lockControls = {"disable 编辑框6", "disable 编辑框5", "disable 编辑框4", "disable 编辑框3",
                            "disable 编辑框2", "disable 编辑框1", "disable 按钮1",  "disable 按钮3"};

Calls concat(std::initializer_list<Calls> parts) {
  Calls all;
  for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(RemapTest, HomeAndF8TakeTheFirstTwoIdentifiers) {
  state.hpBarState = "1";
  registerFixedHotkeys(engine);
  EXPECT_EQ(state.hpBarHotkeyId, 33001);
  EXPECT_EQ(state.toggleHotkeyId, 33002);
  EXPECT_EQ(os.calls, (Calls{"install forwarding", "register 33001 key 36", "register 33002 key 119"}));
}

TEST_F(RemapTest, EachSwitchOnHandsOutSixNewIdentifiersInSlotOrder) {
  startUp();
  toggleRemap(engine);
  for (int slot = 1; slot <= 6; ++slot) EXPECT_EQ(state.slot(slot).hotkeyId, 33002 + slot) << "slot " << slot;
  toggleRemap(engine);
  // Off keeps the stale identifiers until the next switch-on replaces them.
  EXPECT_EQ(state.slot(6).hotkeyId, 33008);
  toggleRemap(engine);
  for (int slot = 1; slot <= 6; ++slot) EXPECT_EQ(state.slot(slot).hotkeyId, 33008 + slot) << "slot " << slot;
  EXPECT_EQ(registry.lastIssuedId, 33014);
}

TEST_F(RemapTest, SwitchingOnRegistersThenLocksThenSaysSo) {
  startUp();
  setKeys({"81", "87", "69", "65", "83", "68"});
  toggleRemap(engine);
  EXPECT_EQ(os.calls, concat({{"check 选择框2", "register 33003 key 81", "register 33004 key 87", "register 33005 key 69",
                               "register 33006 key 65", "register 33007 key 83", "register 33008 key 68"},
                              lockControls,
                              {"setText 标签8"}}));
  EXPECT_EQ(window.texts[Control::标签8], "状态: 已改键");
  EXPECT_TRUE(window.checks[Control::选择框2]);
}

TEST_F(RemapTest, SwitchingOffUnlocksTheBoxesUnregistersThenTheButtons) {
  startUp();
  toggleRemap(engine);
  os.calls.clear();
  toggleRemap(engine);
  EXPECT_EQ(os.calls, (Calls{"uncheck 选择框2", "enable 编辑框6", "enable 编辑框5", "enable 编辑框4", "enable 编辑框3",
                             "enable 编辑框2", "enable 编辑框1", "unregister 33003", "unregister 33004",
                             "unregister 33005", "unregister 33006", "unregister 33007", "unregister 33008",
                             "enable 按钮3", "enable 按钮1", "setText 标签8"}));
  EXPECT_EQ(window.texts[Control::标签8], "状态: 未改键");
  EXPECT_FALSE(window.checks[Control::选择框2]);
  EXPECT_EQ(os.hotkeyOf(104), 0);
  // Home and F8 stay, so the forwarder does too.
  EXPECT_EQ(registry.liveCount, 2);
  EXPECT_EQ(os.forwardingFor, &registry);
}

TEST_F(RemapTest, ApplySwitchFollowsTheBoxWithoutFlippingIt) {
  startUp();
  window.checks[Control::选择框2] = true;
  applySwitch(engine);
  EXPECT_EQ(state.slot(1).hotkeyId, 33003);
  EXPECT_TRUE(window.checks[Control::选择框2]);
  EXPECT_EQ(window.texts[Control::标签8], "状态: 已改键");
}

TEST_F(RemapTest, SwitchingOffUnregistersSlotsThatHoldZeroToo) {
  startUp();
  setKeys({"81", "81", "69", "65", "83", "68"});
  toggleRemap(engine);
  ASSERT_EQ(state.slot(2).hotkeyId, 0);
  os.calls.clear();
  toggleRemap(engine);
  EXPECT_NE(std::find(os.calls.begin(), os.calls.end(), "unregister 0"), os.calls.end());
  EXPECT_EQ(registry.liveCount, 2);
}

TEST_F(RemapTest, AChosenKeyGivesTheGameItsKeypadKeyAndNothingElse) {
  startUp();
  setKeys({"81", "87", "69", "65", "83", "68"});
  ASSERT_FALSE(press(81));  // off: Q is a plain Q
  toggleRemap(engine);
  const std::int32_t keys[] = {81, 87, 69, 65, 83, 68};
  const int keypad[] = {104, 101, 98, 97, 100, 103};
  for (int i = 0; i < 6; ++i) {
    os.calls.clear();
    ASSERT_TRUE(press(keys[i]));
    EXPECT_EQ(os.calls, (Calls{"down " + std::to_string(keypad[i]), "up " + std::to_string(keypad[i])})) << "key " << keys[i];
  }
}

TEST_F(RemapTest, F8SwitchesOnAndOffAndThenTheKeyIsPlainAgain) {
  startUp();
  setKeys({"81", "87", "69", "65", "83", "68"});
  ASSERT_TRUE(press(119));
  EXPECT_TRUE(window.checks[Control::选择框2]);
  EXPECT_EQ(window.texts[Control::标签8], "状态: 已改键");
  EXPECT_FALSE(window.enabled.at(Control::按钮3));
  os.calls.clear();
  ASSERT_TRUE(press(119));
  EXPECT_FALSE(window.checks[Control::选择框2]);
  EXPECT_EQ(window.texts[Control::标签8], "状态: 未改键");
  EXPECT_TRUE(window.enabled.at(Control::按钮3));
  for (const std::string& call : os.calls) EXPECT_NE(call.rfind("down", 0), 0u) << "F8 must inject nothing: " << call;
  EXPECT_FALSE(press(81));
}

TEST_F(RemapTest, OfTwoSlotsWithOneKeyOnlyTheLowerNumberedRegisters) {
  startUp();
  setKeys({"87", "69", "81", "65", "81", "68"});
  toggleRemap(engine);
  EXPECT_EQ(state.slot(3).hotkeyId, 33005);
  EXPECT_EQ(state.slot(5).hotkeyId, 0);
  os.calls.clear();
  press(81);
  EXPECT_EQ(os.calls, (Calls{"down 98", "up 98"}));
}

TEST_F(RemapTest, SlotsHoldingF8OrHomeNeverRegisterAndTheKeysKeepTheirJobs) {
  startUp();
  setKeys({"119", "36", "98", "97", "100", "103"});
  toggleRemap(engine);
  EXPECT_EQ(state.slot(1).hotkeyId, 0);
  EXPECT_EQ(state.slot(2).hotkeyId, 0);
  EXPECT_EQ(window.texts[Control::标签8], "状态: 已改键");  // a refusal is not reported

  os.calls.clear();
  press(36);
  EXPECT_EQ(os.calls, (Calls{"down 219", "down 221"}));
  press(119);
  EXPECT_FALSE(window.checks[Control::选择框2]);
}

TEST_F(RemapTest, AKeyTakenByAnotherProgramLeavesItsSlotIdle) {
  startUp();
  os.heldByOtherPrograms.insert(81);
  toggleRemap(engine);
  EXPECT_EQ(state.slot(1).hotkeyId, 0);
  EXPECT_EQ(state.slot(2).hotkeyId, 33004);
}

TEST_F(RemapTest, KeyTextsAreReadAsNumbers) {
  startUp();
  setKeys({" 81", "\xA3\xB8\xA3\xB7", "69abc", "", "x", "-5"});  // "８７" full width
  toggleRemap(engine);
  EXPECT_EQ(os.calls[1], "register 33003 key 81");
  EXPECT_EQ(os.calls[2], "register 33004 key 87");
  EXPECT_EQ(os.calls[3], "register 33005 key 69");
  EXPECT_EQ(os.calls[4], "register 33006 key 0");
  EXPECT_EQ(os.calls[5], "register 33007 key 0");
  EXPECT_EQ(os.calls[6], "register 33008 key -5");
}

TEST_F(RemapTest, ACaptureBetweenOffAndOnTakesEffectAtTheNextSwitchOn) {
  startUp();
  setKeys({"81", "101", "98", "97", "100", "103"});
  toggleRemap(engine);
  toggleRemap(engine);
  state.slot(1).keyCodeText = "90";
  toggleRemap(engine);
  os.calls.clear();
  EXPECT_FALSE(press(81));
  press(90);
  EXPECT_EQ(os.calls, (Calls{"down 104", "up 104"}));
}

// Every test is made to match the fired identifier: the tests run in the fixed order, each on
// its own, and after F8's switch-on the slots hold fresh identifiers that no longer match.
TEST_F(RemapTest, DispatchTestsEachFieldInTurnAgainstTheFieldsAsTheyAreThen) {
  startUp();
  const std::int32_t id = 33002;
  for (KeySlot& slot : state.slots) slot.hotkeyId = id;
  state.hpBarHotkeyId = id;
  onHotkey(engine, id);
  EXPECT_EQ(os.calls, concat({{"down 104", "up 104", "down 101", "up 101", "check 选择框2", "register 33003 key 81",
                               "register 33004 key 87", "register 33005 key 69", "register 33006 key 65",
                               "register 33007 key 83", "register 33008 key 68"},
                              lockControls,
                              {"setText 标签8", "down 219", "down 221"}}));
}

TEST_F(RemapTest, DispatchIgnoresIdentifiersThatNothingHolds) {
  startUp();
  toggleRemap(engine);
  os.calls.clear();
  onHotkey(engine, 33009);
  onHotkey(engine, 32999);
  EXPECT_TRUE(os.calls.empty());
}

TEST_F(RemapTest, DispatchOfZeroRunsNothingEvenWhereRefusalsLeftZero) {
  os.heldByOtherPrograms = {36, 119, 104, 101, 98, 97, 100, 103};
  startUp();
  toggleRemap(engine);
  ASSERT_EQ(state.toggleHotkeyId, 0);
  os.calls.clear();
  onHotkey(engine, 0);
  EXPECT_TRUE(os.calls.empty());
  EXPECT_EQ(state.hpBarState, "1");
}

TEST_F(RemapTest, WithTheKeypadKeysSlotsStartWithNothingIsRegisteredYetSixIdentifiersAreUsed) {
  startUp();
  setDefaultKeys();
  toggleRemap(engine);
  EXPECT_EQ(os.calls, concat({{"check 选择框2"}, lockControls, {"setText 标签8"}}));
  for (const KeySlot& slot : state.slots) EXPECT_EQ(slot.hotkeyId, 0);
  EXPECT_EQ(registry.lastIssuedId, 33008);
  EXPECT_EQ(window.texts[Control::标签8], "状态: 已改键");
  // Keypad 8 reaches the game as itself, once.
  EXPECT_FALSE(press(104));

  toggleRemap(engine);
  EXPECT_EQ(registry.liveCount, 2);
  EXPECT_EQ(os.forwardingFor, &registry);
  toggleRemap(engine);
  EXPECT_EQ(state.slot(1).hotkeyId, 0);
  EXPECT_EQ(registry.lastIssuedId, 33014);
}

TEST_F(RemapTest, AnInjectedKeyNeverFiresAnotherSlot) {
  startUp();
  // Slot 2 on keypad 8, the key slot 1 injects; slot 6 on "[", which Home holds down.
  setKeys({"81", "104", "69", "65", "83", "219"});
  toggleRemap(engine);
  EXPECT_EQ(state.slot(2).hotkeyId, 0);
  EXPECT_EQ(state.slot(6).hotkeyId, 0);
  os.calls.clear();
  press(81);
  press(36);
  EXPECT_EQ(os.calls, (Calls{"down 104", "up 104", "down 219", "down 221"}));
}

struct InjectedCase {
  std::int32_t virtualKey;
  bool injected;
};

class InjectedByProgramTest : public ::testing::TestWithParam<InjectedCase> {};

TEST_P(InjectedByProgramTest, NamesTheKeypadKeysOfTheSlotsAndTheHealthBarKeys) {
  const AppState state;
  EXPECT_EQ(injectedByProgram(state, GetParam().virtualKey), GetParam().injected);
}

INSTANTIATE_TEST_SUITE_P(Keys, InjectedByProgramTest,
                         ::testing::Values(InjectedCase{104, true}, InjectedCase{101, true}, InjectedCase{98, true},
                                           InjectedCase{97, true}, InjectedCase{100, true}, InjectedCase{103, true},
                                           InjectedCase{219, true}, InjectedCase{221, true},
                                           InjectedCase{96, false}, InjectedCase{99, false}, InjectedCase{102, false},
                                           InjectedCase{105, false}, InjectedCase{81, false}, InjectedCase{220, false},
                                           InjectedCase{0, false}, InjectedCase{104 + 256, false}));

struct InjectCase {
  std::int32_t virtualKey;
  Calls calls;
};

class InjectKeyPressTest : public ::testing::TestWithParam<InjectCase> {};

TEST_P(InjectKeyPressTest, PressesAndReleasesAtOnce) {
  FakeRemapOs os;
  injectKeyPress(os, GetParam().virtualKey);
  EXPECT_EQ(os.calls, GetParam().calls);
  EXPECT_TRUE(os.keysDown.empty());
}

INSTANTIATE_TEST_SUITE_P(Keys, InjectKeyPressTest,
                         ::testing::Values(InjectCase{104, {"down 104", "up 104"}}, InjectCase{97, {"down 97", "up 97"}},
                                           InjectCase{0x168, {"down 104", "up 104"}}));  // keybd_event takes a byte

}  // namespace
