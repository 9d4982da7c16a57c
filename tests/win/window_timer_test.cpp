// The capture timer as a window timer of the real system.
#include "services/capture/window_timer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "base/owners.h"
#include "tests/win/test_window.h"

namespace {

constexpr uint32_t kShortPeriodMs = 50;
constexpr uint32_t kHourMs = 3600 * 1000;

// A timer exists exactly when it can be killed.
bool TimerExists(HWND window) { return KillTimer(window, kCaptureTimerId) != FALSE; }

class WindowTimers : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.reset(test_window::Make());
    ASSERT_TRUE(window_) << "no window: run on a display";
  }
  owners::Window window_;
};

}  // namespace

TEST_F(WindowTimers, ArmedTimerTicksOnTheWindow) {
  WindowTimer timer(window_.get());
  timer.Arm(kShortPeriodMs);
  EXPECT_TRUE(test_window::Receive(window_.get(), WM_TIMER, kCaptureTimerId));
  // It keeps ticking until disabled.
  EXPECT_TRUE(test_window::Receive(window_.get(), WM_TIMER, kCaptureTimerId));
}

TEST_F(WindowTimers, ArmingAgainRestartsWithTheNewPeriod) {
  WindowTimer timer(window_.get());
  timer.Arm(kHourMs);
  timer.Arm(kShortPeriodMs);
  EXPECT_TRUE(test_window::Receive(window_.get(), WM_TIMER, kCaptureTimerId));
}

TEST_F(WindowTimers, DisabledOrZeroPeriodLeavesNoTimer) {
  struct Case {
    const char* name;
    void (*stop)(WindowTimer&);
  } cases[] = {
      {"disabled", [](WindowTimer& timer) { timer.Disable(); }},
      {"period 0", [](WindowTimer& timer) { timer.Arm(0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WindowTimer timer(window_.get());
    timer.Arm(kHourMs);
    c.stop(timer);
    EXPECT_FALSE(TimerExists(window_.get()));
  }
}

TEST_F(WindowTimers, DestroyingTheTimerStopsIt) {
  {
    WindowTimer timer(window_.get());
    timer.Arm(kHourMs);
  }
  EXPECT_FALSE(TimerExists(window_.get()));
}

TEST_F(WindowTimers, RefusedTimerRaisesTheFrameworkError) {
  HWND gone = window_.get();
  window_.reset();
  WindowTimer timer(gone);
  try {
    timer.Arm(kShortPeriodMs);
    ADD_FAILURE() << "a timer on a destroyed window was accepted";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Not enough timers available");
  }
}
