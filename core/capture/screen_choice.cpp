#include "core/capture/screen_choice.h"

#include <algorithm>
#include <cstdint>

namespace {

// Squared distance from the point to the nearest pixel of the rectangle; 0 inside.
int64_t Distance(const ScreenRect& rect, ScreenPoint point) {
  const int64_t dx = point.x < rect.left ? rect.left - point.x : point.x >= rect.right ? point.x - rect.right + 1 : 0;
  const int64_t dy = point.y < rect.top ? rect.top - point.y : point.y >= rect.bottom ? point.y - rect.bottom + 1 : 0;
  return dx * dx + dy * dy;
}

}  // namespace

ScreenRect Overlap(const ScreenRect& a, const ScreenRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

ScreenRect ChooseScreenArea(int32_t captureScreen, std::span<const ScreenRect> monitors, ScreenPoint pointer) {
  if (monitors.empty()) return {};
  switch (static_cast<CaptureScreen>(captureScreen)) {
    case CaptureScreen::UnderMouse:
      return *std::ranges::min_element(monitors, {}, [pointer](const ScreenRect& m) { return Distance(m, pointer); });
    case CaptureScreen::All: {
      ScreenRect all = monitors.front();
      for (const ScreenRect& m : monitors) {
        all = {std::min(all.left, m.left), std::min(all.top, m.top), std::max(all.right, m.right),
               std::max(all.bottom, m.bottom)};
      }
      return all;
    }
    case CaptureScreen::Primary:
      break;
  }
  return monitors.front();
}

ScreenRect VisibleFrame(std::optional<ScreenRect> frameBounds, ScreenRect windowRect) {
  return frameBounds && !frameBounds->Empty() ? *frameBounds : windowRect;
}
