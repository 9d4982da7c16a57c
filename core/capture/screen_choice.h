#pragma once
// Which part of the desktop an entire-screen shot takes, by the stored
// CaptureScreen setting, from the monitors the system has.
#include <cstdint>
#include <span>

struct ScreenRect {
  int left, top, right, bottom;
  bool operator==(const ScreenRect&) const = default;
};

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
