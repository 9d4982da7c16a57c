#include "core/settings/room_layout.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

bool Overlap(const RoomBox& a, const RoomBox& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

bool Holds(const RoomBox& outer, const RoomBox& inner) {
  return outer.left <= inner.left && inner.left + inner.width <= outer.left + outer.width && outer.top <= inner.top &&
         inner.top + inner.height <= outer.top + outer.height;
}

using Places = std::vector<std::vector<int>>;  // left, top, width, height of each box

Places PlacesOf(const std::vector<RoomBox>& boxes) {
  Places places;
  for (const RoomBox& box : boxes) places.push_back({box.left, box.top, box.width, box.height});
  return places;
}

}  // namespace

TEST(RoomLayout, ShortBoxesOpenThePageAtTheirFarEdge) {
  struct Case {
    const char* name;
    std::vector<RoomBox> boxes;
    Places expected;
  } cases[] = {
      {"enough room changes nothing",
       {{0, 0, 50, 16, 40, 13}, {60, 0, 100, 20}},
       {{0, 0, 50, 16}, {60, 0, 100, 20}}},
      {"a label column grows as one, its fields move on",
       {{0, 0, 50, 16, 80, 0}, {60, 0, 100, 20}, {0, 30, 50, 16, 60, 0}, {60, 30, 100, 20}},
       {{0, 0, 80, 16}, {90, 0, 100, 20}, {0, 30, 80, 16}, {90, 30, 100, 20}}},
      {"a group holds what grows inside it, and what follows moves",
       {{0, 0, 200, 60, 0, 0, true}, {10, 20, 50, 16, 100, 0}, {70, 20, 120, 20}, {210, 0, 50, 20}},
       {{0, 0, 250, 60}, {10, 20, 100, 16}, {120, 20, 120, 20}, {260, 0, 50, 20}}},
      {"a taller caption pushes the rows below down",
       {{0, 0, 50, 16, 0, 24}, {60, 0, 100, 20}, {0, 30, 50, 16}},
       {{0, 0, 50, 24}, {60, 0, 100, 20}, {0, 38, 50, 16}}},
      {"a group's controls stay when a row outside it opens",
       {{0, 0, 80, 16, 150, 0}, {90, 0, 60, 20}, {0, 30, 200, 40, 0, 0, true}, {100, 40, 50, 20}},
       {{0, 0, 150, 16}, {160, 0, 60, 20}, {0, 30, 200, 40}, {100, 40, 50, 20}}},
      {"a right-hand box grows without moving the left",
       {{0, 0, 50, 16}, {60, 0, 30, 16, 45, 0}},
       {{0, 0, 50, 16}, {60, 0, 45, 16}}},
      {"a control flush with its group's left edge is inside it",
       {{0, 0, 100, 40, 0, 0, true}, {0, 12, 40, 16, 60, 0}},
       {{0, 0, 120, 40}, {0, 12, 60, 16}}},
      {"a control flush with its group's right edge moves on inside it",
       {{0, 0, 100, 40, 0, 0, true}, {10, 12, 20, 16, 40, 0}, {70, 12, 30, 16}},
       {{0, 0, 120, 40}, {10, 12, 40, 16}, {90, 12, 30, 16}}},
      {"a control flush with its group's top edge is inside it",
       {{0, 0, 100, 40, 0, 0, true}, {10, 0, 40, 16, 0, 20}},
       {{0, 0, 100, 44}, {10, 0, 40, 20}}},
      {"a control flush with its group's bottom edge moves down inside it",
       {{0, 0, 100, 40, 0, 0, true}, {10, 5, 40, 10, 0, 20}, {10, 24, 40, 16}},
       {{0, 0, 100, 50}, {10, 5, 40, 20}, {10, 34, 40, 16}}},
      {"boxes that touch with no gap stay apart",
       {{0, 0, 50, 16, 70, 0}, {50, 0, 50, 16}},
       {{0, 0, 70, 16}, {70, 0, 50, 16}}},
      {"the last box of a row moves with the first",
       {{0, 0, 50, 16, 80, 0}, {60, 0, 30, 16}, {100, 0, 30, 16}},
       {{0, 0, 80, 16}, {90, 0, 30, 16}, {130, 0, 30, 16}}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeRoom(c.boxes);
    EXPECT_EQ(PlacesOf(c.boxes), c.expected);
  }
}

// Any design without overlaps stays without them, keeps what held what, and
// every box ends with its room.
TEST(RoomLayout, RandomDesignsKeepTheirShapeAndGetTheirRoom) {
  std::mt19937 random(7);
  auto between = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  for (int trial = 0; trial < 300; ++trial) {
    SCOPED_TRACE(trial);
    // A grid of cells, and a group around some of them.
    std::vector<RoomBox> boxes;
    for (int row = 0; row < 4; ++row) {
      for (int column = 0; column < 4; ++column) {
        if (between(0, 3) == 0) continue;
        RoomBox box{column * 100 + between(0, 20), row * 40 + between(0, 10), between(5, 70), between(5, 25)};
        box.neededWidth = between(0, 1) ? between(0, 120) : 0;
        box.neededHeight = between(0, 3) == 0 ? between(0, 40) : 0;
        boxes.push_back(box);
      }
    }
    // It holds two columns and two rows of cells whole, and touches no other cell.
    boxes.push_back({between(0, 1) * 100 - 2, -2, 198, 81, between(0, 300), 0, true});
    const std::vector<RoomBox> before = boxes;

    MakeRoom(boxes);

    for (size_t i = 0; i < boxes.size(); ++i) {
      EXPECT_GE(boxes[i].width, before[i].neededWidth) << i;
      EXPECT_GE(boxes[i].height, before[i].neededHeight) << i;
      for (size_t j = 0; j < boxes.size(); ++j) {
        if (i == j) continue;
        if (!Overlap(before[i], before[j])) {
          EXPECT_FALSE(Overlap(boxes[i], boxes[j])) << i << " " << j;
        }
        if (Holds(before[i], before[j])) {
          EXPECT_TRUE(Holds(boxes[i], boxes[j])) << i << " holds " << j;
        }
      }
    }
  }
}
