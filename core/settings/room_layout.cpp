#include "core/settings/room_layout.h"

#include <cstddef>

namespace {

constexpr int kPage = -1;

struct Axis {
  int RoomBox::*start;
  int RoomBox::*length;
  int RoomBox::*needed;
};
constexpr Axis kAcross{&RoomBox::left, &RoomBox::width, &RoomBox::neededWidth};
constexpr Axis kDown{&RoomBox::top, &RoomBox::height, &RoomBox::neededHeight};

bool Holds(const RoomBox& outer, const RoomBox& inner) {
  return outer.left <= inner.left && inner.left + inner.width <= outer.left + outer.width && outer.top <= inner.top &&
         inner.top + inner.height <= outer.top + outer.height;
}

class Boxes {
 public:
  explicit Boxes(std::vector<RoomBox>& boxes) : boxes_(boxes), holders_(boxes.size(), kPage) {
    // Each box's holder is the smallest group around it.
    for (int box = 0; box < Count(); ++box) {
      for (int group = 0; group < Count(); ++group) {
        if (group == box || !At(group).group || !Holds(At(group), At(box))) continue;
        if (Holder(box) == kPage || Holds(At(Holder(box)), At(group))) holders_[Index(box)] = group;
      }
    }
  }

  // The box grows by the amount, and so does each group holding it; each
  // opens its row at its old far edge.
  void Open(const Axis& axis, int grown, int amount) {
    for (int box = grown; box != kPage; box = Holder(box)) {
      const int edge = At(box).*axis.start + At(box).*axis.length;
      for (int other = 0; other < Count(); ++other) {
        if (other == box || Holder(other) != Holder(box)) continue;
        if (At(other).*axis.start >= edge) {
          Move(axis, other, amount);
        } else if (At(other).*axis.start + At(other).*axis.length == edge) {
          At(other).*axis.length += amount;
        }
      }
      At(box).*axis.length += amount;
    }
  }

  // Opening moves or widens, never shrinks: a box given its room keeps it.
  void MakeRoom(const Axis& axis) {
    for (int box = 0; box < Count(); ++box) {
      const int shortBy = At(box).*axis.needed - At(box).*axis.length;
      if (shortBy > 0) Open(axis, box, shortBy);
    }
  }

 private:
  static size_t Index(int box) { return static_cast<size_t>(box); }
  int Count() const { return static_cast<int>(boxes_.size()); }
  RoomBox& At(int box) { return boxes_[Index(box)]; }
  int Holder(int box) const { return holders_[Index(box)]; }

  bool Within(int box, int group) const {
    for (int holder = Holder(box); holder != kPage; holder = Holder(holder)) {
      if (holder == group) return true;
    }
    return false;
  }

  // A group moves with what it holds.
  void Move(const Axis& axis, int moved, int amount) {
    for (int box = 0; box < Count(); ++box) {
      if (box == moved || Within(box, moved)) At(box).*axis.start += amount;
    }
  }

  std::vector<RoomBox>& boxes_;
  // Found once in the design: opening keeps what holds what.
  std::vector<int> holders_;
};

}  // namespace

void MakeRoom(std::vector<RoomBox>& boxes) {
  Boxes all(boxes);
  all.MakeRoom(kAcross);
  all.MakeRoom(kDown);
}
