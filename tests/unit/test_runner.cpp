// test_runner.cpp: the runner's spine: switches, pacing, the stage table,
// transitions, room changes by index and the loading window's frames.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/window.h"
#include "runner/game_data.h"
#include "dialogs/load_form.h"
#include "graphics/pixel_font.h"
#include "runner/runner_form.h"
#include "common/test_switches.h"
#include "world/room_enter.h"
#include "world/run_main.h"

namespace {

TEST(RunnerSwitches, ParsesCountsAndFlags) {
  struct Case {
    const char* text;
    int64_t count;
    bool flag;
  };
  const Case cases[] = {
      {nullptr, 0, false}, {"", 0, false},   {"0", 0, false},  {"1", 1, true},
      {"5", 5, true},      {"250", 250, true}, {"-3", 0, false}, {"2x", 0, false},
      {"yes", 0, false},   {"99999999999999999999999", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "(null)");
    EXPECT_EQ(TestSwitches_ParseCount(c.text), c.count);
    EXPECT_EQ(TestSwitches_ParseFlag(c.text), c.flag);
  }
}

TEST(RunnerPacing, WaitFollowsTheRoomSpeed) {
  struct Case {
    int64_t next, now;
    int speed;
    int64_t wait;
  };
  const Case cases[] = {
      {0, 0, 30, 33333},          // a full period after an instant step
      {0, 10000, 30, 23333},      // the step's own time is taken off
      {0, 40000, 30, 0},          // a late step: no wait, no catching up
      {0, 0, 60, 16666},
      {0, 0, 0, 1000000},         // speed below 1 counts as 1
      {0, 0, -5, 1000000},
      {5000000, 0, 1, 1000000},   // never more than a second
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.speed);
    EXPECT_EQ(Run_PacingWait(c.next, c.now, c.speed), c.wait);
  }
}

TEST(RunnerStages, TableKeepsOrderTextsAndMessages) {
  const auto& stages = Runner_Stages();
  ASSERT_EQ(stages.size(), 11u);
  EXPECT_EQ(stages[0].progress_text, nullptr);  // priority: no progress
  const int percents[] = {50, 55, 60, 61, 62, 70, 72, 80, 90, 100};
  for (size_t i = 1; i < stages.size(); ++i) EXPECT_EQ(stages[i].percent, percents[i - 1]);
  EXPECT_STREQ(stages[2].progress_text, "Preparing extension pacakges");
  EXPECT_STREQ(stages[1].failure_message, "Failed to extract the included files.");
  EXPECT_STREQ(stages[7].failure_message, "Failed to compile the actions in the objects.");
  EXPECT_EQ(stages[9].failure_message, nullptr);  // graphics shows its own
  EXPECT_STREQ(stages[10].progress_text, "Ready");
}

class RunnerTransitions : public ::testing::Test {
 protected:
  void SetUp() override {
    Game().Clear();
    for (int speed : {30, 60}) {
      auto room = std::make_unique<CRoom>();
      room->r_speed = speed;
      Game().rooms.Add(std::move(room), u"room");
    }
    Game().room_order = {1, 0};
    RunnerForm() = TRunnerForm();
    RunnerForm().running = true;
  }
  void TearDown() override {
    Room_Leave(RoomChange::GameBoundary);
    Game().Clear();
    RunnerForm() = TRunnerForm();
  }
};

TEST_F(RunnerTransitions, FirstRoomComesFromTheRoomOrder) {
  ASSERT_TRUE(Room_EnterFirst());
  EXPECT_EQ(Room_Current(), 1);
  EXPECT_EQ(Room_Speed(), 60);
}

TEST_F(RunnerTransitions, RoomIndexChangesRoomAndClearsRequest) {
  ASSERT_TRUE(Room_EnterFirst());
  Runner_RequestTransition(0);
  Runner_HandleTransition();
  EXPECT_EQ(Room_Current(), 0);
  EXPECT_EQ(Room_Speed(), 30);
  EXPECT_FALSE(Runner_TransitionPending());
  EXPECT_TRUE(Runner_IsRunning());
}

TEST_F(RunnerTransitions, MissingRoomRequestsAbortAndKeepsRoom) {
  ASSERT_TRUE(Room_EnterFirst());
  for (int missing : {2, 99}) {
    Runner_RequestTransition(missing);
    Runner_HandleTransition();
    EXPECT_EQ(Room_Current(), 1);
    // The abort is carried out at once: no step runs after the request.
    EXPECT_TRUE(RunnerForm().aborted);
    EXPECT_FALSE(RunnerForm().running);
    EXPECT_EQ(RunnerForm().pending_transition, TRANSITION_NONE);
    RunnerForm().aborted = false;
    RunnerForm().running = true;
  }
  Game().rooms.Delete(0);
  Runner_RequestTransition(0);
  Runner_HandleTransition();
  EXPECT_TRUE(RunnerForm().aborted);
}

TEST_F(RunnerTransitions, EndAndAbortStopRunning) {
  struct Case {
    int transition;
    bool aborted;
  };
  for (const Case c : {Case{TRANSITION_END, false}, Case{TRANSITION_ABORT, true}}) {
    RunnerForm().running = true;
    RunnerForm().aborted = false;
    Runner_RequestTransition(c.transition);
    Runner_HandleTransition();
    EXPECT_FALSE(Runner_IsRunning());
    EXPECT_EQ(RunnerForm().aborted, c.aborted);
  }
}

TEST_F(RunnerTransitions, LastRequestOfAStepWins) {
  Runner_RequestTransition(0);
  Runner_RequestTransition(TRANSITION_END);
  Runner_RequestLoad("slot.sav");
  EXPECT_EQ(RunnerForm().pending_transition, TRANSITION_LOAD);
  EXPECT_EQ(RunnerForm().pending_load_file, "slot.sav");
}

TEST_F(RunnerTransitions, RestartRunsGameEndThenGameStart) {
  Runner_GameStart();
  EXPECT_EQ(Room_Current(), 1);
  Runner_RequestTransition(0);
  Runner_HandleTransition();
  RunnerForm().step_counter = 17;
  Runner_RequestTransition(TRANSITION_RESTART);
  Runner_HandleTransition();
  EXPECT_EQ(Room_Current(), 1);
  EXPECT_EQ(Runner_StepCount(), 0);
  EXPECT_TRUE(Runner_IsRunning());
}

TEST_F(RunnerTransitions, RunLoopEndsOnEndRequestWithoutStepping) {
  Runner_GameStart();
  RunnerForm().step_counter = 0;
  Runner_RequestTransition(TRANSITION_END);
  Run_Loop();
  EXPECT_FALSE(Runner_IsRunning());
  EXPECT_EQ(Runner_StepCount(), 0);
}

TEST_F(RunnerTransitions, StepLessSpeedIsRaisedToOne) {
  ASSERT_TRUE(Room_EnterFirst());
  Room_SetSpeed(0);
  EXPECT_EQ(Run_PacingWait(0, 0, Room_Speed()), 1000000);
}

TEST(RunnerLoadForm, BarFollowsProgressAndSettings) {
  GameSettings settings;
  auto back = std::make_shared<RBitmap>();
  back->width = 200;
  back->height = 10;
  back->pixels.assign(2000, 0xFF000000u);
  auto front = std::make_shared<RBitmap>(*back);
  front->pixels.assign(2000, 0xFFFF0000u);
  settings.bar_back_image = back;
  settings.bar_front_image = front;
  TLoadForm form;
  form.SetUp(true, settings);
  EXPECT_TRUE(form.ShowsBar());
  EXPECT_TRUE(form.ShowsLabel());
  EXPECT_EQ(form.Label(), "Loading");
  const RBitmap& frame = form.Frame();
  // The bar sits 32 pixels above the bottom, centred.
  EXPECT_EQ(form.BarTop(), frame.height - 32 - 10);
  EXPECT_EQ(form.BarLeft(), (frame.width - 200) / 2);
  struct Case {
    int percent;
    int width;
  };
  for (const Case c : {Case{0, 0}, Case{1, 2}, Case{33, 66}, Case{50, 100}, Case{100, 200},
                       Case{150, 200}}) {
    form.SetProgress(c.percent, "Loading sprites");
    EXPECT_EQ(form.BarFillWidth(), c.width);
    const int y = form.BarTop() + 5;
    if (c.width > 0) {
      EXPECT_EQ(frame.pixels[y * frame.width + form.BarLeft() + c.width - 1], 0xFFFF0000u);
    }
    if (c.width < 200) {
      EXPECT_EQ(frame.pixels[y * frame.width + form.BarLeft() + c.width], 0xFF000000u);
    }
  }
  form.Close();
  EXPECT_FALSE(form.IsSetUp());
}

TEST(RunnerLoadForm, LabelOnlyInDebugModeWithTheBar) {
  struct Case {
    bool debug, bar, label;
  };
  for (const Case c : {Case{true, true, true}, Case{false, true, false}, Case{true, false, false}}) {
    GameSettings settings;
    settings.show_progress_bar = c.bar;
    TLoadForm form;
    form.SetUp(c.debug, settings);
    EXPECT_EQ(form.ShowsLabel(), c.label);
    EXPECT_EQ(form.ShowsBar(), c.bar);
    form.Close();
  }
}

int g_polls = 0;
void CountPoll() { ++g_polls; }

TEST(RunnerClock, WaitNeverEndsEarly) {
  const ClockWaitTuning tunings[] = {{0, 0}, {300, 50}, {1000, 0}, {1000, 100}, {50000, 0}};
  for (const ClockWaitTuning& tuning : tunings) {
    SCOPED_TRACE(tuning.spin_micros);
    for (int64_t delay : {0, 1, 150, 2500}) {
      g_polls = 0;
      const int64_t target = Clock_NowMicros() + delay;
      Clock_WaitUntil(target, CountPoll, tuning);
      EXPECT_GE(Clock_NowMicros(), target);
    }
  }
  // A wait longer than one sleep slice lets the window work during it.
  g_polls = 0;
  Clock_WaitUntil(Clock_NowMicros() + 35000, CountPoll, ClockWaitTuning{0, 0});
  EXPECT_GE(g_polls, 1);  // at least one poll even when a loaded machine oversleeps
}

TEST(RunnerHeadless, MessagesBecomeOneLineOnStandardError) {
  auto window = CreateHeadlessWindowBackend();
  testing::internal::CaptureStderr();
  window->ShowMessage("title", "first\r\nsecond");
  window->ShowMessage("title", "Error: Not a valid game file.");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "first  second\nError: Not a valid game file.\n");
  EXPECT_FALSE(window->OpenLoadingWindow(10, 10, LoadingWindowStyle()));
  EXPECT_TRUE(window->OpenMain(320, 240, "caption"));
  EXPECT_TRUE(window->IsActive());
  PlatformEvent event;
  window->PumpEvents();
  EXPECT_FALSE(window->NextEvent(event));
}

TEST(RunnerPixelFont, DrawsInsideAndClipsOutside) {
  RBitmap bitmap;
  bitmap.width = 8;
  bitmap.height = 8;
  bitmap.pixels.assign(64, 0);
  PixelFont_Draw(bitmap, 0, 0, "|", 0xFFFFFFFFu);  // column 2, rows 0..6
  for (int y = 0; y < 8; ++y) EXPECT_EQ(bitmap.pixels[y * 8 + 2], y < 7 ? 0xFFFFFFFFu : 0u);
  // Text running off every edge, and bytes outside ASCII, stay in bounds.
  for (int x : {-100, -3, 5, 100})
    for (int y : {-100, -4, 6, 100}) PixelFont_Draw(bitmap, x, y, "W\xff\x01", 0xFF00FF00u);
  EXPECT_EQ(PixelFont_TextWidth(""), 0);
  EXPECT_EQ(PixelFont_TextWidth("Ready"), 29);
}

}  // namespace
