#include "core/capture/capture_request.h"

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
  CaptureKind kind;
  bool operator==(const Shot&) const = default;
};

// The request on a simulated message loop.
struct Rig {
  uint64_t now = 0;
  FakeTimer timer{now};
  CaptureTiming timing;
  std::vector<Shot> shots;
  uint64_t shotDuration = 0;
  int failAtShot = -1;  // index among attempted shots
  int attempts = 0;
  std::vector<uint64_t> seriesEnds;  // when each was told
  bool endFails = false;
  CaptureRequest request{timer, [this] { return timing; },
                         [this](CaptureKind kind) {
                           int attempt = attempts++;
                           if (attempt == failAtShot) throw std::runtime_error("There is no default printer");
                           shots.push_back({now, kind});
                           now += shotDuration;
                         },
                         [this] {
                           seriesEnds.push_back(now);
                           if (endFails) throw std::runtime_error("Printer selected is not valid");
                         }};

  explicit Rig(const CaptureTiming& start) : timing(start) {}

  // Delivers every tick due up to the given time, in order.
  void RunUntil(uint64_t until) {
    while (timer.Ticking() && timer.next <= until) {
      now = timer.next;
      timer.next += timer.period;
      request.Tick();
    }
    now = std::max(now, until);
  }
};

using Action = std::function<void(Rig&)>;
const Action kEntire = [](Rig& rig) { rig.request.StartEntireScreen(); };
const Action kActive = [](Rig& rig) { rig.request.StartActiveWindow(); };
const Action kRegion = [](Rig& rig) { rig.request.StartRegion(); };
const Action kDrop = [](Rig& rig) { rig.request.Drop(); };
constexpr CaptureKind kE = CaptureKind::EntireScreen;
constexpr CaptureKind kA = CaptureKind::ActiveWindow;
constexpr CaptureKind kR = CaptureKind::Region;

struct Event {
  uint64_t second;
  Action act;
};

std::vector<Shot> Entire(const std::vector<uint64_t>& seconds) {
  std::vector<Shot> shots;
  for (uint64_t second : seconds) shots.push_back({second * kSecond, kE});
  return shots;
}

constexpr uint64_t kLongAfter = 1000 * kSecond;

// Each event at its second, then every tick until long after.
void Play(Rig& rig, const std::vector<Event>& events) {
  for (const Event& event : events) {
    rig.RunUntil(event.second * kSecond);
    event.act(rig);
  }
  rig.RunUntil(kLongAfter);
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

TEST(CaptureRequest, ShotsFollowTheTimingAndTheTransitions) {
  auto set = [](auto change) { return Action([change](Rig& rig) { change(rig.timing); }); };
  struct Case {
    const char* name;
    CaptureTiming timing;
    std::vector<Event> events;
    std::vector<Shot> shots;
    std::optional<uint64_t> stopSecond;  // none: the timer was never stopped
  } cases[] = {
      {"defaults: one shot at once", {false, 1, false, 1, 1}, {{0, kEntire}}, Entire({0}), std::nullopt},
      {"delay 3", {true, 3, false, 1, 1}, {{0, kEntire}}, Entire({3}), 3},
      {"series of 3 at 2", {false, 1, true, 3, 2}, {{0, kEntire}}, Entire({0, 2, 4}), 6},
      {"delay 5, series of 2 at 1", {true, 5, true, 2, 1}, {{0, kEntire}}, Entire({5, 6}), 7},
      {"delay 2, series of 3 at 3", {true, 2, true, 3, 3}, {{0, kEntire}}, Entire({2, 5, 8}), 11},
      {"series of 0 takes its first shot", {false, 1, true, 0, 2}, {{0, kEntire}}, Entire({0}), 2},
      {"negative count takes the first shot", {false, 1, true, -3, 2}, {{0, kEntire}}, Entire({0}), 2},
      {"delayed series of 0 takes its first shot", {true, 2, true, 0, 1}, {{0, kEntire}}, Entire({2}), 3},
      {"delay 0 never ticks", {true, 0, false, 1, 1}, {{0, kEntire}}, {}, std::nullopt},
      {"delay 0 before a series never ticks", {true, 0, true, 3, 1}, {{0, kEntire}}, {}, std::nullopt},
      {"negative delay counts as 0", {true, -4, false, 1, 1}, {{0, kEntire}}, {}, std::nullopt},
      {"interval 0: only the first shot", {false, 1, true, 5, 0}, {{0, kEntire}}, Entire({0}), std::nullopt},
      {"delay, then interval 0", {true, 1, true, 3, 0}, {{0, kEntire}}, Entire({1}), std::nullopt},
      {"active window", {true, 1, true, 2, 1}, {{0, kActive}}, {{kSecond, kA}, {2 * kSecond, kA}}, 3},
      {"region at once", {false, 1, false, 1, 1}, {{0, kRegion}}, {{0, kR}}, std::nullopt},
      {"region after a delay, in a series",
       {true, 2, true, 3, 1},
       {{0, kRegion}},
       {{2 * kSecond, kR}, {3 * kSecond, kR}, {4 * kSecond, kR}},
       5},
      {"switching from a region series to the entire screen",
       {false, 1, true, 3, 2},
       {{0, kRegion}, {3, kEntire}},
       {{0, kR}, {2 * kSecond, kR}, {3 * kSecond, kE}, {5 * kSecond, kE}, {7 * kSecond, kE}},
       9},
      {"new request restarts a delay", {true, 3, false, 1, 1}, {{0, kEntire}, {2, kEntire}}, Entire({5}), 5},
      {"new request restarts a series with a full count",
       {false, 1, true, 3, 2},
       {{0, kEntire}, {3, kEntire}},
       Entire({0, 2, 3, 5, 7}),
       9},
      {"switching kind during a series",
       {false, 1, true, 3, 2},
       {{0, kEntire}, {3, kActive}},
       {{0, kE}, {2 * kSecond, kE}, {3 * kSecond, kA}, {5 * kSecond, kA}, {7 * kSecond, kA}},
       9},
      {"request without timer while the timer runs: one more shot at the next tick",
       {false, 1, true, 5, 2},
       {{0, kEntire}, {1, set([](CaptureTiming& p) { p.several = false; })}, {1, kActive}},
       {{0, kE}, {kSecond, kA}, {2 * kSecond, kA}},
       2},
      {"request replaces a delay that never ends",
       {true, 0, false, 1, 1},
       {{0, kEntire}, {100, set([](CaptureTiming& p) { p.delayed = false; })}, {100, kActive}},
       {{100 * kSecond, kA}},
       std::nullopt},
      {"count read at each tick",
       {true, 2, true, 3, 2},
       {{0, kEntire}, {3, set([](CaptureTiming& p) { p.shots = 5; })}},
       Entire({2, 4, 6, 8, 10}),
       12},
      {"lower count ends the series early",
       {true, 2, true, 3, 2},
       {{0, kEntire}, {3, set([](CaptureTiming& p) { p.shots = 1; })}},
       Entire({2}),
       4},
      {"interval read when re-armed",
       {true, 2, true, 3, 2},
       {{0, kEntire}, {3, set([](CaptureTiming& p) { p.interval = 5; })}},
       Entire({2, 4, 9}),
       14},
      {"a delay being waited is kept",
       {true, 2, true, 3, 2},
       {{0, kEntire}, {1, set([](CaptureTiming& p) { p.delay = 10; })}},
       Entire({2, 4, 6}),
       8},
      {"the kind of request is kept",
       {true, 2, true, 3, 2},
       {{0, kEntire}, {1, set([](CaptureTiming& p) { p.several = false; })}},
       Entire({2, 4, 6}),
       8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig(c.timing);
    Play(rig, c.events);
    EXPECT_EQ(rig.shots, c.shots);
    EXPECT_FALSE(rig.timer.Ticking());
    std::optional<uint64_t> stopped;
    if (c.stopSecond) stopped = *c.stopSecond * kSecond;
    EXPECT_EQ(rig.timer.stoppedAt, stopped);
  }
}

TEST(CaptureRequest, RequestWithoutTimerNeverTouchesIt) {
  const struct {
    Action start;
    uint32_t flags;
  } cases[] = {{kEntire, 0}, {kActive, kCaptureActiveWindow}, {kRegion, kCaptureRegion}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    Rig rig({false, 1, false, 1, 1});
    c.start(rig);
    EXPECT_EQ(rig.timer.arms, 0);
    EXPECT_EQ(rig.request.Flags(), c.flags);
    EXPECT_EQ(rig.request.ShotCount(), 1);
  }
}

TEST(CaptureRequest, OnlyARegionShotTakenAtOnceAndAloneIsTheFrozenPicture) {
  const struct {
    CaptureTiming timing;
    bool frozen;
  } cases[] = {
      {{false, 1, false, 1, 1}, true},
      {{false, 1, false, 5, 1}, true},  // a count without the series switch takes one shot
      {{true, 0, false, 1, 1}, false},
      {{true, 3, false, 1, 1}, false},
      {{false, 1, true, 1, 1}, false},  // a series of one still copies the screen anew
      {{true, 2, true, 3, 1}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.timing.delayed << c.timing.several << c.timing.shots);
    EXPECT_EQ(TakesFrozenPicture(c.timing), c.frozen);
  }
}

TEST(CaptureRequest, DelayIsConsumedWhenArmed) {
  Rig rig({true, 4, true, 2, 1});
  rig.request.StartActiveWindow();
  EXPECT_EQ(rig.request.Flags(), kCaptureActiveWindow | kCaptureSeries);
  EXPECT_EQ(rig.timer.period, 4 * kSecond);
  EXPECT_EQ(rig.request.ShotCount(), 0);
  rig.RunUntil(4 * kSecond);
  EXPECT_EQ(rig.timer.period, 1 * kSecond);
  EXPECT_EQ(rig.request.ShotCount(), 1);
}

TEST(CaptureRequest, IntervalIsCountedFromTheStartOfEachShot) {
  Rig rig({false, 1, true, 3, 2});
  rig.shotDuration = 700;
  rig.request.StartEntireScreen();
  rig.RunUntil(kLongAfter);
  EXPECT_EQ(rig.shots, Entire({0, 2, 4}));
}

TEST(CaptureRequest, FailureEndsItsRequestOnce) {
  struct Case {
    const char* name;
    CaptureTiming timing;
    int failAt;
    bool refuseTimer;
    std::vector<Shot> shots;
  } cases[] = {
      {"immediate shot", {false, 3, false, 4, 2}, 0, false, {}},
      {"delayed shot", {true, 3, false, 4, 2}, 0, false, {}},
      {"first shot of a series", {false, 3, true, 4, 2}, 0, false, {}},
      {"second shot of a series", {false, 3, true, 4, 2}, 1, false, Entire({0})},
      {"third shot of a delayed series", {true, 3, true, 4, 2}, 2, false, Entire({3, 5})},
      {"timer refused for a delay", {true, 3, false, 4, 2}, -1, true, {}},
      {"timer refused for a series", {false, 3, true, 4, 2}, -1, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig(c.timing);
    rig.failAtShot = c.failAt;
    rig.timer.refuse = c.refuseTimer;
    int failures = 0;
    try {
      rig.request.StartEntireScreen();
      rig.RunUntil(kLongAfter);
    } catch (const std::runtime_error&) {
      ++failures;
    }
    EXPECT_EQ(failures, 1);
    // The shots of a series taken before the failure are not lost.
    EXPECT_EQ(rig.seriesEnds.size(), c.timing.several && !c.shots.empty() ? 1u : 0u);
    EXPECT_FALSE(rig.timer.enabled);
    EXPECT_EQ(rig.request.Flags(), 0u);
    EXPECT_EQ(rig.request.ShotCount(), static_cast<int32_t>(c.shots.size()));
    // Nothing is left to tick, not even a tick queued before the failure.
    EXPECT_NO_THROW(rig.request.Tick());
    EXPECT_NO_THROW(rig.RunUntil(2 * kLongAfter));
    EXPECT_EQ(rig.shots, c.shots);

    // The next request works as usual.
    rig.timer.refuse = false;
    rig.request.StartActiveWindow();
    rig.RunUntil(3 * kLongAfter);
    ASSERT_GT(rig.shots.size(), c.shots.size());
    EXPECT_EQ(rig.shots.back().kind, kA);
  }
}

TEST(CaptureRequest, DropEndsEverythingPending) {
  struct Case {
    const char* name;
    CaptureTiming timing;
    std::vector<Shot> shots;
  } cases[] = {
      {"during a delay", {true, 3, false, 4, 2}, {}},
      {"during a series", {false, 3, true, 4, 2}, Entire({0})},
      {"during a delayed series", {true, 3, true, 4, 2}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig(c.timing);
    rig.request.StartEntireScreen();
    rig.RunUntil(kSecond);
    rig.request.Drop();
    EXPECT_FALSE(rig.timer.enabled);
    EXPECT_EQ(rig.request.Flags(), 0u);
    EXPECT_EQ(rig.request.ShotCount(), 0);  // a series that took a shot counts none
    // A tick already queued before the drop takes no shot.
    rig.request.Tick();
    rig.RunUntil(kLongAfter);
    EXPECT_EQ(rig.shots, c.shots);
  }
}

TEST(CaptureRequest, TheEndOfASeriesIsToldOnceHoweverItEnds) {
  auto set = [](auto change) { return Action([change](Rig& rig) { change(rig.timing); }); };
  const struct {
    const char* name;
    CaptureTiming timing;
    std::vector<Event> events;
    std::vector<uint64_t> endSeconds;
  } cases[] = {
      {"at its last shot, not at the tick after it", {false, 1, true, 3, 2}, {{0, kEntire}}, {4}},
      {"a delayed series", {true, 2, true, 2, 1}, {{0, kEntire}}, {3}},
      {"a series of one", {false, 1, true, 1, 1}, {{0, kEntire}}, {0}},
      {"the count lowered below the shots taken",
       {false, 1, true, 5, 2},
       {{0, kEntire}, {3, set([](CaptureTiming& p) { p.shots = 1; })}},
       {4}},
      {"replaced: before the new request's first shot", {false, 1, true, 3, 2}, {{0, kEntire}, {3, kActive}}, {3, 7}},
      {"dropped", {false, 1, true, 3, 2}, {{0, kEntire}, {3, kDrop}}, {3}},
      {"a single shot is no series", {false, 1, false, 1, 1}, {{0, kEntire}, {5, kEntire}, {6, kDrop}}, {}},
      {"a series replaced before its first shot", {true, 5, true, 3, 1}, {{0, kEntire}, {2, kEntire}}, {9}},
      {"a series dropped before its first shot", {true, 5, true, 3, 1}, {{0, kEntire}, {2, kDrop}}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig(c.timing);
    Play(rig, c.events);
    rig.request.Drop();
    std::vector<uint64_t> ends;
    for (uint64_t second : c.endSeconds) ends.push_back(second * kSecond);
    EXPECT_EQ(rig.seriesEnds, ends);
  }
}

TEST(CaptureRequest, AnEndThatFailsLeavesNothingPending) {
  const struct {
    const char* name;
    int32_t count;
    Action stop;  // at 1 second, after the second shot
  } cases[] = {
      {"at its last shot", 2, nullptr},
      {"replaced by a new request, which does not start", 3, kActive},
      {"dropped", 3, kDrop},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig({false, 1, true, c.count, 1});
    rig.endFails = true;
    rig.request.StartEntireScreen();
    EXPECT_THROW(
        {
          rig.RunUntil(kSecond);
          if (c.stop) c.stop(rig);
        },
        std::runtime_error);
    EXPECT_FALSE(rig.timer.enabled);
    EXPECT_EQ(rig.request.Flags(), 0u);
    EXPECT_NO_THROW({
      rig.RunUntil(kLongAfter);
      rig.request.Drop();
    });
    EXPECT_EQ(rig.shots, Entire({0, 1}));
    EXPECT_EQ(rig.seriesEnds.size(), 1u);
  }
}

TEST(CaptureRequest, WaitsWhileAShotIsStillToComeAtATick) {
  struct Case {
    const char* name;
    CaptureTiming timing;
    uint64_t second;  // after the start
    bool waiting;
  } cases[] = {
      {"one shot at once", {false, 1, false, 1, 1}, 0, false},
      {"during a delay", {true, 3, false, 1, 1}, 2, true},
      {"after the delayed shot", {true, 3, false, 1, 1}, 4, false},
      {"during a series", {false, 1, true, 3, 2}, 3, true},
      {"after a series", {false, 1, true, 3, 2}, 7, false},
      {"a delay of 0, which never ticks", {true, 0, false, 1, 1}, 1, false},
      {"a series at an interval of 0", {false, 1, true, 3, 0}, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rig rig(c.timing);
    rig.request.StartEntireScreen();
    rig.RunUntil(c.second * kSecond);
    EXPECT_EQ(rig.request.Waiting(), c.waiting);
    rig.request.Drop();
    EXPECT_FALSE(rig.request.Waiting());
  }
}
