#include "remap/hp_bars.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/lifecycle.h"
#include "remap_fixture.h"

namespace {

using Calls = std::vector<std::string>;

struct ToggleCase {
  std::string before;
  Calls calls;
  std::string after;
};

class ToggleHpBarsTest : public ::testing::TestWithParam<ToggleCase> {};

TEST_P(ToggleHpBarsTest, Holds219And221OrLetsThemGoIn219First) {
  AppState state;
  FakeRemapOs os;
  state.hpBarState = GetParam().before;
  toggleHpBars(state, os);
  EXPECT_EQ(os.calls, GetParam().calls);
  EXPECT_EQ(state.hpBarState, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(States, ToggleHpBarsTest,
                         ::testing::Values(ToggleCase{"1", {"down 219", "down 221"}, "2"},
                                           ToggleCase{"2", {"up 219", "up 221"}, "1"},
                                           ToggleCase{"", {}, ""}));  // before start-up set it

TEST_F(RemapTest, HomeAlternatesHoldingAndReleasingWhetherRemappingIsOnOrOff) {
  startUp();
  press(36);
  EXPECT_EQ(os.keysDown, (std::set<std::uint8_t>{219, 221}));
  toggleRemap(engine);  // F8's work leaves the health bars alone
  EXPECT_EQ(state.hpBarState, "2");
  os.calls.clear();
  press(36);
  EXPECT_EQ(os.calls, (Calls{"up 219", "up 221"}));
  EXPECT_TRUE(os.keysDown.empty());
  press(36);
  EXPECT_EQ(state.hpBarState, "2");
}

struct ReleaseCase {
  std::string state;
  Calls calls;
};

class ReleaseHeldHpBarsTest : public ::testing::TestWithParam<ReleaseCase> {};

TEST_P(ReleaseHeldHpBarsTest, LetsGoOnlyOfKeysTheProgramHolds) {
  AppState state;
  FakeRemapOs os;
  state.hpBarState = GetParam().state;
  releaseHeldHpBars(state, os);
  EXPECT_EQ(os.calls, GetParam().calls);
  EXPECT_NE(state.hpBarState, "2");
}

INSTANTIATE_TEST_SUITE_P(States, ReleaseHeldHpBarsTest,
                         ::testing::Values(ReleaseCase{"2", {"up 219", "up 221"}}, ReleaseCase{"1", {}},
                                           ReleaseCase{"", {}}));

// The road out as the program takes it: the release happens before cleanUp forgets the state.
struct ExitSteps final : LifecycleSteps {
  AppState& state;
  FakeRemapOs& os;
  ExitSteps(AppState& s, FakeRemapOs& o) : state(s), os(o) {}
  void showTrayIcon() override {}
  void fetchAll() override {}
  void showAdPage() override {}
  void ensureSettingsFile() override {}
  void loadSettings() override {}
  void registerFixedHotkeys() override {}
  void saveSettings() override {}
  void openExitPage() override {}
  void removeTrayIcon() override {}
  void releaseHeldKeys() override { releaseHeldHpBars(state, os); }
  void stopEvents() override {}
  void uninitialiseOle() override {}
  void exitProcess(int code) override { os.calls.push_back("exit " + std::to_string(code)); }
};

TEST(ReleaseHeldHpBarsOnExit, EveryRoadOutReleasesHeldKeysBeforeTheProcessEnds) {
  for (void (*road)(AppState&, LifecycleSteps&) : {onCanBeClosed, onWillBeDestroyed}) {
    AppState state;
    FakeRemapOs os;
    ExitSteps steps(state, os);
    state.hookRecord = new HookRecord{};
    state.hpBarState = "1";
    toggleHpBars(state, os);
    os.calls.clear();
    road(state, steps);
    EXPECT_EQ(os.calls, (Calls{"up 219", "up 221", "exit 0"}));
    EXPECT_TRUE(os.keysDown.empty());
  }
}

}  // namespace
