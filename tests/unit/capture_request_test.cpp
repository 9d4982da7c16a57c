#include "capture/capture_request.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

namespace {

constexpr uint64_t kSecond = 1000;

// A timer on a simulated clock: ticks fall due every period after the last
// Arm, as a window timer's do.
class FakeTimer : public CaptureTimer {
 public:
  explicit FakeTimer(const uint64_t& now) : now_(now) {}
  void Arm(uint32_t milliseconds) override {
    if (refuse) throw std::runtime_error("Not enough timers available");
    period = milliseconds;
    enabled = true;
    next = now_ + milliseconds;
    ++arms;
  }
  void Disable() override {
    enabled = false;
    stoppedAt = now_;
  }
  bool Ticking() const { return enabled && period > 0; }

  uint32_t period = 0;
  bool enabled = false;
  uint64_t next = 0;
  int arms = 0;
  bool refuse = false;
  std::optional<uint64_t> stoppedAt;

 private:
  const uint64_t& now_;
};

struct Shot {
  uint64_t at;
  bool activeWindow;
  bool operator==(const Shot&) const = default;
};

// The request on a simulated message loop.
struct Rig {
  uint64_t now = 0;
  FakeTimer timer{now};
  Preferences preferences = DefaultPreferences("");
  std::vector<Shot> shots;
  uint64_t shotDuration = 0;
  int failAtShot = -1;  // index among attempted shots
  int attempts = 0;
  CaptureRequest request{timer, preferences, [this](bool activeWindow) {
                           int attempt = attempts++;
                           if (attempt == failAtShot) throw std::runtime_error("There is no default printer");
                           shots.push_back({now, activeWindow});
                           now += shotDuration;
                         }};

  void Settings(bool delayed, int32_t delay, bool several, int32_t count, int32_t interval) {
    preferences.TimerDelayedCapture = delayed;
    preferences.TimerDelay = delay;
    preferences.TimerSeveralShots = several;
    preferences.TimerNumberOfShots = count;
    preferences.TimerInterval = interval;
  }

  // Delivers every tick due up to the given time, in order.
  void RunUntil(uint64_t until) {
    while (timer.Ticking() && timer.next <= until) {
      now = timer.next;
      timer.next += timer.period;
      request.tiDelayTimer();
    }
    now = std::max(now, until);
  }

  std::vector<uint64_t> ShotTimes() const {
    std::vector<uint64_t> times;
    for (const Shot& shot : shots) times.push_back(shot.at);
    return times;
  }
};

std::vector<uint64_t> Seconds(const std::vector<uint64_t>& seconds) {
  std::vector<uint64_t> times;
  for (uint64_t second : seconds) times.push_back(second * kSecond);
  return times;
}

}  // namespace

TEST(CaptureRequest, SecondsBecomeATimerPeriodWithoutOverflow) {
  struct Case {
    int32_t seconds;
    uint32_t milliseconds;
  } cases[] = {
      {0, 0},
      {1, 1000},
      {3600, 3600000},
      {-1, 0},
      {INT32_MIN, 0},
      {2147483, 2147483000},
      {2147484, kLongestTimerPeriod},
      {INT32_MAX, kLongestTimerPeriod},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_EQ(SecondsToMilliseconds(c.seconds), c.milliseconds);
  }
}

TEST(CaptureRequest, ShotsFollowTheTimingTable) {
  struct Case {
    const char* name;
    bool delayed;
    int32_t delay;
    bool several;
    int32_t count;
    int32_t interval;
    std::vector<uint64_t> shotSeconds;
    std::optional<uint64_t> stopSecond;
  } cases[] = {
      {"defaults: one shot at once, no timer", false, 1, false, 1, 1, {0}, std::nullopt},
      {"delay 3", true, 3, false, 1, 1, {3}, 3},
      {"series of 3 at 2", false, 1, true, 3, 2, {0, 2, 4}, 6},
      {"delay 5, series of 2 at 1", true, 5, true, 2, 1, {5, 6}, 7},
      {"delay 2, series of 3 at 3", true, 2, true, 3, 3, {2, 5, 8}, 11},
      {"series of 1", false, 1, true, 1, 4, {0}, 4},
      {"series of 0 still takes its first shot", false, 1, true, 0, 2, {0}, 2},
      {"negative count still takes the first shot", false, 1, true, -3, 2, {0}, 2},
      {"delayed series of 0 still takes its first shot", true, 2, true, 0, 1, {2}, 3},
      {"delay 0 never ticks", true, 0, false, 1, 1, {}, std::nullopt},
      {"delay 0 before a series never ticks", true, 0, true, 3, 1, {}, std::nullopt},
      {"interval 0: only the first shot", false, 1, true, 5, 0, {0}, std::nullopt},
      {"delay, then interval 0", true, 1, true, 3, 0, {1}, std::nullopt},
      {"negative delay counts as 0", true, -4, false, 1, 1, {}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.Settings(c.delayed, c.delay, c.several, c.count, c.interval);
    rig.request.miEntireScreenClick();
    rig.RunUntil(1000 * kSecond);

    std::vector<uint64_t> expected = Seconds(c.shotSeconds);
    EXPECT_EQ(rig.ShotTimes(), expected);
    EXPECT_EQ(rig.request.ShotCount(), static_cast<int32_t>(expected.size()));
    EXPECT_FALSE(rig.timer.Ticking());
    if (c.stopSecond) {
      ASSERT_TRUE(rig.timer.stoppedAt.has_value());
      EXPECT_EQ(*rig.timer.stoppedAt, *c.stopSecond * kSecond);
    } else {
      EXPECT_FALSE(rig.timer.stoppedAt.has_value());
    }
    for (const Shot& shot : rig.shots) EXPECT_FALSE(shot.activeWindow);
  }
}

TEST(CaptureRequest, RequestWithoutTimerLeavesTheTimerUntouched) {
  Rig rig;
  rig.request.miActiveWindowClick();
  EXPECT_EQ(rig.shots, (std::vector<Shot>{{0, true}}));
  EXPECT_EQ(rig.timer.arms, 0);
  EXPECT_FALSE(rig.timer.stoppedAt.has_value());
  EXPECT_EQ(rig.request.CaptureFlags(), cfActiveWindow);
}

TEST(CaptureRequest, FlagsDescribeTheRequestAndTheDelayIsConsumedWhenArmed) {
  Rig rig;
  rig.Settings(true, 4, true, 2, 1);
  rig.request.miActiveWindowClick();
  EXPECT_EQ(rig.request.CaptureFlags(), cfActiveWindow | cfSeveralShots);
  EXPECT_EQ(rig.timer.period, 4 * kSecond);
  EXPECT_TRUE(rig.shots.empty());

  rig.RunUntil(4 * kSecond);
  EXPECT_EQ(rig.shots, (std::vector<Shot>{{4 * kSecond, true}}));
  EXPECT_EQ(rig.timer.period, 1 * kSecond);
  EXPECT_EQ(rig.request.ShotCount(), 1);
}

TEST(CaptureRequest, IntervalIsCountedFromTheStartOfEachShot) {
  Rig rig;
  rig.Settings(false, 1, true, 3, 2);
  rig.shotDuration = 700;
  rig.request.miEntireScreenClick();
  rig.RunUntil(100 * kSecond);
  EXPECT_EQ(rig.ShotTimes(), Seconds({0, 2, 4}));
}

TEST(CaptureRequest, NewRequestDuringADelayRestartsTheDelay) {
  Rig rig;
  rig.Settings(true, 3, false, 1, 1);
  rig.request.miEntireScreenClick();
  rig.RunUntil(2 * kSecond);
  rig.request.miEntireScreenClick();
  rig.RunUntil(100 * kSecond);
  EXPECT_EQ(rig.ShotTimes(), Seconds({5}));
}

TEST(CaptureRequest, NewRequestDuringASeriesStartsAFullSeries) {
  Rig rig;
  rig.Settings(false, 1, true, 3, 2);
  rig.request.miEntireScreenClick();
  rig.RunUntil(3 * kSecond);
  rig.request.miEntireScreenClick();
  EXPECT_EQ(rig.request.ShotCount(), 1);
  rig.RunUntil(100 * kSecond);
  EXPECT_EQ(rig.ShotTimes(), Seconds({0, 2, 3, 5, 7}));
  EXPECT_EQ(*rig.timer.stoppedAt, 9 * kSecond);
}

TEST(CaptureRequest, SwitchingKindDuringASeriesSwitchesEveryLaterShot) {
  Rig rig;
  rig.Settings(false, 1, true, 3, 2);
  rig.request.miEntireScreenClick();
  rig.RunUntil(3 * kSecond);
  rig.request.miActiveWindowClick();
  rig.RunUntil(100 * kSecond);
  EXPECT_EQ(rig.shots,
            (std::vector<Shot>{
                {0, false}, {2 * kSecond, false}, {3 * kSecond, true}, {5 * kSecond, true}, {7 * kSecond, true}}));
}

TEST(CaptureRequest, RequestWithoutTimerWhileTheTimerRunsGetsOneMoreShotAtTheNextTick) {
  Rig rig;
  rig.Settings(false, 1, true, 5, 2);
  rig.request.miEntireScreenClick();
  rig.RunUntil(kSecond);
  // Applied in the Preferences window between the two requests.
  rig.preferences.TimerSeveralShots = false;
  rig.request.miActiveWindowClick();
  rig.RunUntil(100 * kSecond);
  EXPECT_EQ(rig.shots, (std::vector<Shot>{{0, false}, {kSecond, true}, {2 * kSecond, true}}));
  EXPECT_EQ(*rig.timer.stoppedAt, 2 * kSecond);
  EXPECT_EQ(rig.request.ShotCount(), 2);
}

TEST(CaptureRequest, RequestReplacesADelayThatNeverEnds) {
  Rig rig;
  rig.Settings(true, 0, false, 1, 1);
  rig.request.miEntireScreenClick();
  rig.RunUntil(100 * kSecond);
  EXPECT_TRUE(rig.shots.empty());
  rig.preferences.TimerDelayedCapture = false;
  rig.request.miActiveWindowClick();
  EXPECT_EQ(rig.shots, (std::vector<Shot>{{100 * kSecond, true}}));
}

TEST(CaptureRequest, SettingsAreReadWhenUsed) {
  struct Case {
    const char* name;
    uint64_t changeAt;
    std::function<void(Preferences&)> change;
    std::vector<uint64_t> shotSeconds;
  } cases[] = {
      // Delay 2, series of 3 at 2: shots at 2, 4, 6 unchanged.
      {"count read at each tick", 3 * kSecond, [](Preferences& p) { p.TimerNumberOfShots = 5; }, {2, 4, 6, 8, 10}},
      {"lower count ends the series early", 3 * kSecond, [](Preferences& p) { p.TimerNumberOfShots = 1; }, {2}},
      {"interval read when re-armed", 3 * kSecond, [](Preferences& p) { p.TimerInterval = 5; }, {2, 4, 9}},
      {"a delay being waited is kept", kSecond, [](Preferences& p) { p.TimerDelay = 10; }, {2, 4, 6}},
      {"the kind of request is kept", kSecond, [](Preferences& p) { p.TimerSeveralShots = false; }, {2, 4, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.Settings(true, 2, true, 3, 2);
    rig.request.miEntireScreenClick();
    rig.RunUntil(c.changeAt);
    c.change(rig.preferences);
    rig.RunUntil(1000 * kSecond);
    EXPECT_EQ(rig.ShotTimes(), Seconds(c.shotSeconds));
    EXPECT_FALSE(rig.timer.Ticking());
  }
}

TEST(CaptureRequest, FailedShotEndsItsRequestOnce) {
  struct Case {
    const char* name;
    bool delayed;
    bool several;
    int failAt;
    std::vector<uint64_t> shotSeconds;
    int32_t count;
  } cases[] = {
      {"immediate shot", false, false, 0, {}, 0},
      {"delayed shot", true, false, 0, {}, 0},
      {"first shot of a series", false, true, 0, {}, 0},
      {"second shot of a series", false, true, 1, {0}, 1},
      {"third shot of a delayed series", true, true, 2, {3, 5}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.Settings(c.delayed, 3, c.several, 4, 2);
    rig.failAtShot = c.failAt;
    int failures = 0;
    try {
      rig.request.miEntireScreenClick();
      rig.RunUntil(1000 * kSecond);
    } catch (const std::runtime_error&) {
      ++failures;
    }
    EXPECT_EQ(failures, 1);
    EXPECT_FALSE(rig.timer.enabled);
    EXPECT_EQ(rig.request.CaptureFlags(), 0u);
    EXPECT_EQ(rig.request.ShotCount(), c.count);
    // Nothing is left to tick: no further attempt, no further failure.
    EXPECT_NO_THROW(rig.RunUntil(2000 * kSecond));
    EXPECT_NO_THROW(rig.request.tiDelayTimer());
    EXPECT_EQ(rig.attempts, c.failAt + 1);
    EXPECT_EQ(rig.ShotTimes(), Seconds(c.shotSeconds));

    // The next request works as usual.
    rig.request.miActiveWindowClick();
    rig.RunUntil(3000 * kSecond);
    EXPECT_GT(rig.shots.size(), c.shotSeconds.size());
    EXPECT_TRUE(rig.shots.back().activeWindow);
  }
}

TEST(CaptureRequest, DropEndsEverythingPending) {
  struct Case {
    const char* name;
    bool delayed;
    bool several;
    std::vector<uint64_t> shotSeconds;
  } cases[] = {
      {"during a delay", true, false, {}},
      {"during a series", false, true, {0}},
      {"during a delayed series", true, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.Settings(c.delayed, 3, c.several, 4, 2);
    rig.request.miEntireScreenClick();
    rig.RunUntil(kSecond);
    rig.request.Drop();
    EXPECT_FALSE(rig.timer.enabled);
    EXPECT_EQ(rig.request.CaptureFlags(), 0u);
    // A tick already queued before the drop takes no shot.
    rig.request.tiDelayTimer();
    rig.RunUntil(1000 * kSecond);
    EXPECT_EQ(rig.ShotTimes(), Seconds(c.shotSeconds));
  }
}

TEST(CaptureRequest, RefusedTimerEndsTheRequestWithoutAShot) {
  struct Case {
    const char* name;
    bool delayed;
    bool several;
  } cases[] = {
      {"delay", true, false},
      {"series", false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig;
    rig.Settings(c.delayed, 3, c.several, 4, 2);
    rig.timer.refuse = true;
    EXPECT_THROW(rig.request.miEntireScreenClick(), std::runtime_error);
    EXPECT_TRUE(rig.shots.empty());
    EXPECT_EQ(rig.request.CaptureFlags(), 0u);
    rig.request.tiDelayTimer();
    EXPECT_TRUE(rig.shots.empty());
  }
}
