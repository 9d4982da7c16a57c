#pragma once
// Choosing a region on the frozen screen, with the mouse or the keyboard.
// Everything is in physical pixels of the virtual screen, a pixel being where
// the pointer's hot spot points. A drag spans the rectangle from the pixel
// pressed to the pixel released, both inside it. A press released without a
// drag is a click: it takes what lies under the pointer, the topmost window
// or else the monitor. The arrow keys move the pointer, and Enter starts and
// ends a selection where the pointer is. The overlay window tells this what
// the user does and shows what it says.
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "core/capture/screen_choice.h"

// The rectangle with the two pixels at opposite corners, both of them inside.
ScreenRect SpanOf(ScreenPoint from, ScreenPoint to);

// The first target (topmost first) that holds the pixel; none when none does.
std::optional<size_t> TargetAt(std::span<const ScreenRect> targets, ScreenPoint pixel);

// Pixels an arrow key moves the pointer, alone and with Shift.
inline constexpr int kPointerStep = 1;
inline constexpr int kPointerLongStep = 10;

class RegionSelection {
 public:
  enum class State { Choosing, Taken, Cancelled };

  // screen: the virtual screen, which the pointer stays on. targets: what a
  // click can take, topmost first, each as far as it lies on the screen.
  // dragSize: the system's drag rectangle; a press becomes a drag once the
  // pointer leaves that rectangle centred on where it was pressed.
  RegionSelection(ScreenRect screen, std::vector<ScreenRect> targets, ScreenPoint dragSize, ScreenPoint pointer);

  // The mouse: the pointer moved, the left button went down or up.
  void Move(ScreenPoint to);
  void Press(ScreenPoint at);
  void Release(ScreenPoint at);
  // An arrow key moves the pointer by whole steps, up to the screen's edge.
  // Moved by keys a selection is always a drag: keys do not shake. Returns
  // where the pointer is now.
  ScreenPoint Nudge(int across, int down);
  // Enter starts a selection at the pointer, or ends the one under way there.
  void Enter();
  // Esc or the right button.
  void Cancel();

  State state() const { return state_; }
  // What was taken, once the state is Taken.
  ScreenRect Taken() const { return taken_; }
  ScreenPoint Pointer() const { return pointer_; }
  // What is shown undimmed: the span of a drag, or what a click would take
  // (the target under the press, or under the pointer while nothing is
  // pressed); none over a gap between monitors.
  std::optional<ScreenRect> Shown() const;

 private:
  std::optional<ScreenRect> TargetUnder(ScreenPoint pixel) const;
  ScreenPoint OnScreen(ScreenPoint point) const;

  ScreenRect screen_;
  std::vector<ScreenRect> targets_;
  ScreenPoint dragSize_;
  ScreenPoint pointer_;
  std::optional<ScreenPoint> anchor_;  // where the selection under way started
  bool dragged_ = false;
  State state_ = State::Choosing;
  ScreenRect taken_{};
};

// Where the label with a shown rectangle's size goes: below the rectangle's
// bottom-left corner, else above its top-left corner, else inside it at the
// top; moved across as far as needed to stay on the screen. gap: the room
// between the label and the rectangle.
ScreenRect PlaceLabel(ScreenRect shown, int width, int height, int gap, ScreenRect screen);
