#pragma once
// Which part of the desktop a shot takes: for an entire-screen shot by the
// stored CaptureScreen setting, from the monitors the system has; for a
// window the frame it is seen with.
#include <cstdint>
#include <optional>
#include <span>

struct ScreenRect {
  int left, top, right, bottom;
  bool operator==(const ScreenRect&) const = default;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
};

// What two rectangles have in common; Empty() when they have nothing.
ScreenRect Overlap(const ScreenRect& a, const ScreenRect& b);

struct ScreenPoint {
  int x, y;
};

enum class CaptureScreen : int32_t { Primary = 0, UnderMouse = 1, All = 2 };
inline constexpr int32_t kCaptureScreenCount = 3;

// The area to grab, in desktop coordinates. monitors holds the primary
// first. 0, or a value the program does not know: the primary monitor.
// 1: the monitor holding the mouse pointer, or the nearest one. 2: the
// smallest rectangle around every monitor (the virtual screen). No monitor
// at all gives an empty area.
ScreenRect ChooseScreenArea(int32_t captureScreen, std::span<const ScreenRect> monitors, ScreenPoint pointer);

// The frame a window is seen with. Windows 10 and 11 draw a window's resize
// borders invisible, yet count them in its window rectangle: the system's
// visible frame bounds leave them out. Without such bounds (the call failed,
// or gave no area) the window rectangle is all there is.
ScreenRect VisibleFrame(std::optional<ScreenRect> frameBounds, ScreenRect windowRect);
