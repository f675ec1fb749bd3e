#include "remap/win_key_blocker.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "fakes/fake_main_window.h"
#include "fakes/fake_remap_os.h"

namespace {

using Calls = std::vector<std::string>;

// WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP, and values no system sends.
const std::uintptr_t messages[] = {0x100, 0x101, 0x104, 0x105, 0, 0xFFFF};

struct KeyCase {
  std::uint32_t vkCode;
  bool dropped;
};

class BlockerDecisionTest : public ::testing::TestWithParam<std::tuple<KeyCase, std::uintptr_t>> {};

TEST_P(BlockerDecisionTest, DropsTheLeftWindowsKeyOnlyWhateverTheMessage) {
  const KeyCase key = std::get<0>(GetParam());
  AppState state;
  HookRecord record{};
  state.hookRecord = &record;
  // Flags of an injected key-up with Alt held: not looked at.
  const HookRecord event{key.vkCode, 0x5B, 0x10 | 0x20 | 0x80, 123456, 77};
  EXPECT_EQ(blockerDropsEvent(state, 0, std::get<1>(GetParam()), event), key.dropped);
  EXPECT_EQ(record.vkCode, key.vkCode);
  EXPECT_EQ(record.time, 123456u);
  EXPECT_EQ(record.extraInfo, 77u);
}

INSTANTIATE_TEST_SUITE_P(Events, BlockerDecisionTest,
                         ::testing::Combine(::testing::Values(KeyCase{91, true}, KeyCase{92, false}, KeyCase{0, false},
                                                              KeyCase{65, false}, KeyCase{93, false},
                                                              KeyCase{255, false}, KeyCase{91 + 256, false}),
                                            ::testing::ValuesIn(messages)));

TEST(BlockerDecision, LeavesEventsThatAreNotForActionToTheNextHook) {
  AppState state;
  HookRecord record{};
  state.hookRecord = &record;
  for (int code : {1, 3, -1}) {
    EXPECT_FALSE(blockerDropsEvent(state, code, 0x100, HookRecord{91, 0, 0, 0, 0})) << "code " << code;
  }
  EXPECT_EQ(record.vkCode, 0u);
}

TEST(BlockerDecision, StillDecidesWithoutARecordBuffer) {
  AppState state;
  EXPECT_TRUE(blockerDropsEvent(state, 0, 0x100, HookRecord{91, 0, 0, 0, 0}));
}

class ApplyBlockerTest : public ::testing::Test {
 protected:
  AppState state;
  FakeMainWindow window;
  FakeRemapOs os;

  void click() {
    window.checks[Control::选择框1] = !window.checks[Control::选择框1];
    applyBlocker(state, window, os);
  }
};

TEST_F(ApplyBlockerTest, CheckingInstallsUncheckingRemovesCheckingAgainInstallsANewHook) {
  click();
  EXPECT_EQ(state.keyboardHook, reinterpret_cast<void*>(0x1001));
  click();
  click();
  EXPECT_EQ(os.calls, (Calls{"hook", "unhook 4097", "hook"}));
  EXPECT_EQ(state.keyboardHook, reinterpret_cast<void*>(0x1002));
  EXPECT_EQ(os.liveHooks.size(), 1u);
}

TEST_F(ApplyBlockerTest, TheHandleOutlivesTheHook) {
  click();
  click();
  EXPECT_EQ(state.keyboardHook, reinterpret_cast<void*>(0x1001));
  EXPECT_TRUE(os.liveHooks.empty());
}

TEST_F(ApplyBlockerTest, ARefusedHookLeavesNullAndUncheckingPassesItOnQuietly) {
  os.refuseHooks = true;
  click();
  EXPECT_EQ(state.keyboardHook, nullptr);
  click();
  EXPECT_EQ(os.calls, (Calls{"hook", "unhook 0"}));
}

}  // namespace
