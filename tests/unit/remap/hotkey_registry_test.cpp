#include "remap/hotkey_registry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fakes/fake_remap_os.h"

namespace {

using Calls = std::vector<std::string>;

struct FlagsCase {
  std::int32_t modifiers;
  std::uint32_t flags;
};

class HotkeyFlagsTest : public ::testing::TestWithParam<FlagsCase> {};

TEST_P(HotkeyFlagsTest, TranslatesCtrlShiftAltSumsAndPassesEverythingElse) {
  EXPECT_EQ(hotkeyFlags(GetParam().modifiers), GetParam().flags);
}

INSTANTIATE_TEST_SUITE_P(Modifiers, HotkeyFlagsTest,
                         ::testing::Values(FlagsCase{0, 0}, FlagsCase{1, modControl}, FlagsCase{2, modShift},
                                           FlagsCase{3, modControl | modShift}, FlagsCase{4, modAlt},
                                           FlagsCase{5, modControl | modAlt}, FlagsCase{6, modShift | modAlt},
                                           FlagsCase{7, 7}, FlagsCase{8, 8}, FlagsCase{0x4000, 0x4000},
                                           FlagsCase{-1, 0xFFFFFFFFu}));

class HotkeyRegistryTest : public ::testing::Test {
 protected:
  HotkeyRegistry registry;
  FakeRemapOs os;
  int owner = 0;
  int sink = 0;
  int otherSink = 0;

  std::int32_t attempt(std::int32_t key, std::int32_t modifiers = 0) {
    return registerHotkey(registry, os, &owner, &sink, modifiers, key);
  }
};

TEST_F(HotkeyRegistryTest, EveryAttemptTakesTheNextIdentifierAndARefusalGivesZero) {
  os.heldByOtherPrograms.insert(65);
  EXPECT_EQ(attempt(81), 33001);
  EXPECT_EQ(attempt(65), 0);
  EXPECT_EQ(attempt(87), 33003);
  EXPECT_EQ(attempt(81), 0);  // the system holds Q for 33001 already
  EXPECT_EQ(attempt(69), 33005);
  EXPECT_EQ(registry.attemptCount, 5);
  EXPECT_EQ(registry.lastIssuedId, 33005);
  EXPECT_EQ(registry.liveCount, 5);
}

TEST_F(HotkeyRegistryTest, IdentifiersAreNeverReusedAfterUnregistering) {
  const std::int32_t first = attempt(81);
  unregisterHotkey(registry, os, &owner, first);
  EXPECT_EQ(attempt(81), 33002);
  EXPECT_EQ(os.hotkeyOf(81), 33002);
}

TEST_F(HotkeyRegistryTest, PassesTheTranslatedFlagsAndTheKeyToTheSystem) {
  attempt(81, 3);
  attempt(300);  // any value goes to the system as it is
  EXPECT_EQ(os.calls, (Calls{"install forwarding", "register 33001 key 81 flags 6", "register 33002 key 300"}));
}

TEST_F(HotkeyRegistryTest, InstallsTheForwarderBeforeTheFirstRegistrationOnly) {
  attempt(81);
  attempt(82);
  EXPECT_EQ(os.calls, (Calls{"install forwarding", "register 33001 key 81", "register 33002 key 82"}));
  EXPECT_EQ(registry.savedWindowProc, os.ownProc());
  EXPECT_EQ(os.forwardingFor, &registry);
}

TEST_F(HotkeyRegistryTest, EverySinkGivenReplacesTheLastOne) {
  attempt(81);
  registerHotkey(registry, os, &owner, &otherSink, 0, 82);
  EXPECT_EQ(registry.sinkWindow, &otherSink);
}

TEST_F(HotkeyRegistryTest, RestoresTheOwnProcedureWhenTheLastAttemptIsUndone) {
  os.heldByOtherPrograms.insert(65);
  const std::int32_t q = attempt(81);
  const std::int32_t refused = attempt(65);
  unregisterHotkey(registry, os, &owner, q);
  // The refused attempt still counts as live until it is undone too.
  EXPECT_EQ(os.forwardingFor, &registry);
  EXPECT_FALSE(unregisterHotkey(registry, os, &owner, refused));
  EXPECT_EQ(registry.liveCount, 0);
  EXPECT_EQ(os.windowProc, os.ownProc());
  EXPECT_EQ(registry.savedWindowProc, nullptr);

  os.calls.clear();
  EXPECT_EQ(attempt(81), 33003);
  EXPECT_EQ(os.calls, (Calls{"install forwarding", "register 33003 key 81"}));
}

TEST_F(HotkeyRegistryTest, ADeclinedAttemptTakesItsIdentifierAndCountsAsLiveWithoutAskingTheSystem) {
  EXPECT_EQ(declineHotkey(registry, os, &owner, &sink), 0);
  EXPECT_EQ(attempt(81), 33002);
  EXPECT_EQ(os.calls, (Calls{"install forwarding", "register 33002 key 81"}));
  EXPECT_EQ(registry.liveCount, 2);
  EXPECT_EQ(registry.sinkWindow, &sink);
  unregisterHotkey(registry, os, &owner, 0);
  EXPECT_EQ(os.forwardingFor, &registry);
  unregisterHotkey(registry, os, &owner, 33002);
  EXPECT_EQ(os.windowProc, os.ownProc());
}

TEST_F(HotkeyRegistryTest, UnregisteringAnswersWithTheSystemsAnswer) {
  const std::int32_t q = attempt(81);
  attempt(82);
  EXPECT_TRUE(unregisterHotkey(registry, os, &owner, q));
  EXPECT_FALSE(unregisterHotkey(registry, os, &owner, q));
  EXPECT_FALSE(unregisterHotkey(registry, os, &owner, 0));
}

struct ForwardCase {
  std::uintptr_t wParam;
  bool forwarded;
};

class ForwardsHotkeyTest : public ::testing::TestWithParam<ForwardCase> {};

TEST_P(ForwardsHotkeyTest, ForwardsOnlyIdentifiersOfTheSeriesHandedOutSoFar) {
  HotkeyRegistry registry;
  registry.attemptCount = 3;
  registry.lastIssuedId = 33003;
  EXPECT_EQ(forwardsHotkey(registry, GetParam().wParam), GetParam().forwarded);
}

INSTANTIATE_TEST_SUITE_P(
    WParams, ForwardsHotkeyTest,
    ::testing::Values(ForwardCase{33001, true}, ForwardCase{33002, true}, ForwardCase{33003, true},
                      ForwardCase{33000, false}, ForwardCase{33004, false}, ForwardCase{0, false},
                      ForwardCase{1, false},
                      // the system's own identifiers, -1 and -2
                      ForwardCase{static_cast<std::uintptr_t>(-1), false},
                      ForwardCase{static_cast<std::uintptr_t>(-2), false}));

TEST(ForwardsHotkey, ForwardsNothingBeforeTheFirstAttempt) {
  const HotkeyRegistry fresh;
  EXPECT_FALSE(forwardsHotkey(fresh, 33001));
  EXPECT_FALSE(forwardsHotkey(fresh, 0));
}

}  // namespace
