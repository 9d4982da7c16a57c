#include "core/capture/screen_choice.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ScreenChoice, TheSettingPicksTheAreaOfTheMonitors) {
  // The primary first; a wider one to its right and a smaller one to its
  // left, lower down, as on a real desk.
  const std::vector<ScreenRect> desk = {{0, 0, 1280, 1024}, {1280, 0, 3200, 1080}, {-1024, 200, 0, 968}};
  const struct {
    const char* name;
    int32_t setting;
    ScreenPoint pointer;
    ScreenRect expected;
  } cases[] = {
      {"primary", 0, {2000, 500}, desk[0]},
      {"a value from a later version", 7, {2000, 500}, desk[0]},
      {"a negative value", -1, {2000, 500}, desk[0]},
      {"pointer on the second", 1, {2000, 500}, desk[1]},
      {"pointer on the primary's last pixel", 1, {1279, 1023}, desk[0]},
      {"pointer on the second's first pixel", 1, {1280, 0}, desk[1]},
      {"pointer on the left one", 1, {-500, 500}, desk[2]},
      {"pointer beyond every monitor: the nearest", 1, {5000, 500}, desk[1]},
      {"pointer in the gap below the left one", 1, {-500, 1000}, desk[2]},
      {"all: around every monitor, gaps and all", 2, {0, 0}, {-1024, 0, 3200, 1080}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ChooseScreenArea(c.setting, desk, c.pointer), c.expected);
  }
  EXPECT_EQ(ChooseScreenArea(2, {}, {0, 0}), (ScreenRect{}));
}
