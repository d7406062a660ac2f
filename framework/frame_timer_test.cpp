// The performance-counter clock: stops, starts and resets.
#include "framework/frame_timer.h"

#include <gtest/gtest.h>

#include "framework/framework_state.h"

namespace {

TEST(FrameTimerTest, NewTimerIsStoppedUntilReset) {
  FrameTimer timer;
  EXPECT_TRUE(timer.IsStopped());
  timer.Reset();
  EXPECT_FALSE(timer.IsStopped());
  EXPECT_LT(timer.GetTime(), 0.05);
}

TEST(FrameTimerTest, StoppedTimerHoldsTimeAndReportsNoElapsedTime) {
  FrameTimer timer;
  timer.Reset();
  Sleep(20);
  timer.Stop();
  double time1 = 0, absolute1 = 0;
  float elapsed1 = 0;
  timer.GetTimeValues(&time1, &absolute1, &elapsed1);
  Sleep(40);
  double time2 = 0, absolute2 = 0;
  float elapsed2 = -1;
  timer.GetTimeValues(&time2, &absolute2, &elapsed2);
  EXPECT_EQ(time1, time2);
  EXPECT_EQ(0.0f, elapsed2);
  EXPECT_EQ(0.0, timer.GetElapsedTime());
  timer.Stop();  // a second stop changes nothing
  EXPECT_EQ(time1, timer.GetTime());
}

TEST(FrameTimerTest, StartLeavesTheStoppedPeriodOut) {
  FrameTimer timer;
  timer.Reset();
  Sleep(20);
  timer.Stop();
  const double before = timer.GetTime();
  Sleep(150);
  timer.Start();
  const double after = timer.GetTime();
  EXPECT_GE(after, before);
  EXPECT_LT(after - before, 0.1);
  EXPECT_FALSE(timer.IsStopped());
}

TEST(FrameTimerTest, TimeAdvancesAndElapsedCoversTheGapBetweenReadings) {
  FrameTimer timer;
  timer.Reset();
  double time = 0, absolute = 0;
  float elapsed = 0;
  timer.GetTimeValues(&time, &absolute, &elapsed);
  Sleep(50);
  timer.GetTimeValues(&time, &absolute, &elapsed);
  EXPECT_GE(elapsed, 0.03f);
  EXPECT_LT(elapsed, 1.0f);
  EXPECT_GE(time, 0.03);
  EXPECT_GE(absolute, time);
  EXPECT_GE(timer.GetAbsoluteTime(), absolute);

  timer.Reset();
  EXPECT_LT(timer.GetTime(), 0.03);
}

// This program never names FrameworkInit, like one that leaves start-up to
// the window's creation: start-up is linked in all the same, reached through
// the state's relay, and starts the framework's clock.
TEST(FrameTimerTest, StartUpReachedThroughItsRelayStartsTheFrameworkClock) {
  FrameworkGetTimer().Stop();
  ASSERT_EQ(S_OK, FrameworkRunInit(false, true, false, true));
  EXPECT_FALSE(FrameworkGetTimer().IsStopped());
  FrameworkRunShutdown(0);
  EXPECT_EQ(nullptr, FrameworkGetDirect3D());
}

}  // namespace
