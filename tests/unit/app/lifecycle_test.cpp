#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/lifecycle.h"

namespace {

// Records the steps in the order they are taken; exitProcess stops the road like the real one.
struct RecordingSteps : LifecycleSteps {
  std::vector<std::string> taken;
  const AppState* state = nullptr;
  std::string hpBarStateAtTray;

  struct ProcessEnded {
    int code;
  };

  void showTrayIcon() override {
    taken.push_back("showTrayIcon");
    hpBarStateAtTray = state->hpBarState;
  }
  void fetchAll() override { taken.push_back("fetchAll"); }
  void showAdPage() override { taken.push_back("showAdPage"); }
  void ensureSettingsFile() override { taken.push_back("ensureFile"); }
  void loadSettings() override { taken.push_back("load"); }
  void registerFixedHotkeys() override { taken.push_back("registerFixedHotkeys"); }
  void saveSettings() override { taken.push_back("save"); }
  void openExitPage() override { taken.push_back("openExitPage"); }
  void removeTrayIcon() override { taken.push_back("removeTrayIcon"); }
  void releaseHeldKeys() override { taken.push_back("releaseHeldKeys"); }
  void stopEvents() override { taken.push_back("stopEvents"); }
  void uninitialiseOle() override { taken.push_back("uninitialiseOle"); }
  void exitProcess(int code) override {
    taken.push_back("exitProcess " + std::to_string(code));
    throw ProcessEnded{code};
  }
};

class Lifecycle : public ::testing::Test {
 protected:
  AppState state;
  RecordingSteps steps;
  void SetUp() override {
    steps.state = &state;
    state.hookRecord = new HookRecord{};
  }
  void TearDown() override { delete state.hookRecord; }
};

TEST_F(Lifecycle, StartUpRunsItsStepsInOrderAfterReleasingTheHealthBars) {
  onCreated(state, steps);
  EXPECT_EQ(steps.taken, (std::vector<std::string>{"showTrayIcon", "fetchAll", "showAdPage", "ensureFile", "load",
                                                   "registerFixedHotkeys"}));
  EXPECT_EQ(steps.hpBarStateAtTray, "1");
  EXPECT_EQ(state.hpBarState, "1");
}

TEST_F(Lifecycle, CloseRoadSavesOpensTheExitPageRemovesTheIconAndEndsWithZero) {
  EXPECT_THROW(onCanBeClosed(state, steps), RecordingSteps::ProcessEnded);
  EXPECT_EQ(steps.taken, (std::vector<std::string>{"save", "openExitPage", "removeTrayIcon", "stopEvents",
                                                   "releaseHeldKeys", "uninitialiseOle", "exitProcess 0"}));
}

TEST_F(Lifecycle, DestroyRoadNeverSaves) {
  EXPECT_THROW(onWillBeDestroyed(state, steps), RecordingSteps::ProcessEnded);
  EXPECT_EQ(steps.taken, (std::vector<std::string>{"openExitPage", "removeTrayIcon", "stopEvents", "releaseHeldKeys",
                                                   "uninitialiseOle", "exitProcess 0"}));
}

TEST_F(Lifecycle, ExitProgramCleansUpWhatTheStateOwnsBeforeTheProcessEnds) {
  state.hpBarState = "2";
  state.exitPageUrl = "http://a/";
  state.downloadUrl = "http://b/";
  state.adPageUrl = "http://c/";
  state.slots[0].keyCodeText = "65";
  try {
    exitProgram(state, steps, -1);
    FAIL() << "exitProgram returned";
  } catch (const RecordingSteps::ProcessEnded& ended) {
    EXPECT_EQ(ended.code, -1);
  }
  EXPECT_TRUE(state.hpBarState.empty());
  EXPECT_TRUE(state.exitPageUrl.empty());
  EXPECT_TRUE(state.downloadUrl.empty());
  EXPECT_TRUE(state.adPageUrl.empty());
  EXPECT_TRUE(state.slots[0].keyCodeText.empty());
  EXPECT_EQ(state.hookRecord, nullptr);
}

TEST(AppStateRecord, StartsZeroedWithTheSlotsTargets) {
  AppState fresh;
  EXPECT_EQ(fresh.toggleHotkeyId, 0);
  EXPECT_EQ(fresh.hpBarHotkeyId, 0);
  EXPECT_TRUE(fresh.hpBarState.empty());
  EXPECT_EQ(fresh.remoteVersion, 0.0f);
  EXPECT_EQ(fresh.keyboardHook, nullptr);
  EXPECT_EQ(fresh.hookRecord, nullptr);
  EXPECT_EQ(fresh.slot(1).targetVk, 104);
  EXPECT_EQ(fresh.slot(6).targetVk, 103);
}

}  // namespace
