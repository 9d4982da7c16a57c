#include "core/capture/screen_choice.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ScreenChoice, TheSettingPicksTheAreaOfTheMonitors) {
  // The primary first; a wider one to its right and a smaller one to its
  // left, lower down, as on a real desk.
  const std::vector<ScreenRect> desk = {{0, 0, 1280, 1024}, {1280, 0, 3200, 1080}, {-1024, 200, 0, 968}};
  // One above the other, the upper one listed first.
  const std::vector<ScreenRect> stacked = {{0, 0, 1920, 1080}, {0, 1080, 1920, 2160}};
  // Apart by two pixels, and by one, across and down; the one listed first
  // takes a tie, so each of these is decided by a single pixel.
  const std::vector<ScreenRect> twoAcross = {{102, 0, 202, 100}, {0, 0, 100, 100}};
  const std::vector<ScreenRect> oneAcross = {{101, 0, 201, 100}, {0, 0, 100, 100}};
  const std::vector<ScreenRect> twoDown = {{0, 102, 100, 202}, {0, 0, 100, 100}};
  const std::vector<ScreenRect> oneDown = {{0, 101, 100, 201}, {0, 0, 100, 100}};
  // From (100, 100): 4 across and 4 down to the second, 6 down to the first.
  // Counted in steps the first is nearer; in a straight line the second is.
  const std::vector<ScreenRect> diagonal = {{0, 106, 101, 306}, {104, 104, 304, 304}};
  const struct {
    const char* name;
    const std::vector<ScreenRect>& monitors;
    int32_t setting;
    ScreenPoint pointer;
    ScreenRect expected;
  } cases[] = {
      {"primary", desk, 0, {2000, 500}, desk[0]},
      {"a value from a later version", desk, 7, {2000, 500}, desk[0]},
      {"a negative value", desk, -1, {2000, 500}, desk[0]},
      {"pointer on the second", desk, 1, {2000, 500}, desk[1]},
      {"pointer on the primary's last pixel", desk, 1, {1279, 1023}, desk[0]},
      {"pointer on the second's first pixel", desk, 1, {1280, 0}, desk[1]},
      {"pointer on the left one", desk, 1, {-500, 500}, desk[2]},
      {"pointer beyond every monitor: the nearest", desk, 1, {5000, 500}, desk[1]},
      {"pointer in the gap below the left one", desk, 1, {-500, 1000}, desk[2]},
      {"pointer left of every monitor", desk, 1, {-2000, 500}, desk[2]},
      {"pointer above every monitor", desk, 1, {2000, -300}, desk[1]},
      {"stacked: the upper one's last row", stacked, 1, {500, 1079}, stacked[0]},
      {"stacked: the lower one's first row", stacked, 1, {500, 1080}, stacked[1]},
      {"stacked: inside the upper one", stacked, 1, {500, 500}, stacked[0]},
      {"stacked: inside the lower one", stacked, 1, {500, 1500}, stacked[1]},
      {"two pixels across: the first gap column", twoAcross, 1, {100, 50}, twoAcross[1]},
      {"two pixels across: the second gap column", twoAcross, 1, {101, 50}, twoAcross[0]},
      {"one pixel across: a tie", oneAcross, 1, {100, 50}, oneAcross[0]},
      {"two pixels down: the first gap row", twoDown, 1, {50, 100}, twoDown[1]},
      {"two pixels down: the second gap row", twoDown, 1, {50, 101}, twoDown[0]},
      {"one pixel down: a tie", oneDown, 1, {50, 100}, oneDown[0]},
      {"diagonal: the straight line decides", diagonal, 1, {100, 100}, diagonal[1]},
      {"all: around every monitor, gaps and all", desk, 2, {0, 0}, {-1024, 0, 3200, 1080}},
      {"all: stacked", stacked, 2, {0, 0}, {0, 0, 1920, 2160}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ChooseScreenArea(c.setting, c.monitors, c.pointer), c.expected);
  }
  EXPECT_EQ(ChooseScreenArea(2, {}, {0, 0}), (ScreenRect{}));
}

TEST(ScreenChoice, AWindowIsSeenWithItsVisibleFrameWhereTheSystemGivesOne) {
  // A window of Windows 10: invisible resize borders 7 pixels wide left,
  // right and below; none above.
  const ScreenRect windowRect{293, 200, 947, 687};
  const ScreenRect frameBounds{300, 200, 940, 680};
  const struct {
    const char* name;
    std::optional<ScreenRect> bounds;
    ScreenRect seen;
  } cases[] = {
      {"the visible frame", frameBounds, frameBounds},
      {"the call failed (no compositor, or Wine)", std::nullopt, windowRect},
      {"bounds without width", ScreenRect{300, 200, 300, 680}, windowRect},
      {"bounds without height", ScreenRect{300, 200, 940, 200}, windowRect},
      {"bounds turned inside out", ScreenRect{940, 680, 300, 200}, windowRect},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(VisibleFrame(c.bounds, windowRect), c.seen);
  }
}
