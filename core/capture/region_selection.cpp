#include "core/capture/region_selection.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

bool Holds(const ScreenRect& rect, ScreenPoint pixel) {
  return rect.left <= pixel.x && pixel.x < rect.right && rect.top <= pixel.y && pixel.y < rect.bottom;
}

// The part of each target on the screen: a window partly off the screen is
// taken as far as it shows.
std::vector<ScreenRect> OnScreenParts(std::vector<ScreenRect> targets, const ScreenRect& screen) {
  for (ScreenRect& target : targets) target = Overlap(target, screen);
  std::erase_if(targets, [](const ScreenRect& target) { return target.Empty(); });
  return targets;
}

}  // namespace

ScreenRect SpanOf(ScreenPoint from, ScreenPoint to) {
  return {std::min(from.x, to.x), std::min(from.y, to.y), std::max(from.x, to.x) + 1, std::max(from.y, to.y) + 1};
}

std::optional<size_t> TargetAt(std::span<const ScreenRect> targets, ScreenPoint pixel) {
  const auto found = std::ranges::find_if(targets, [pixel](const ScreenRect& target) { return Holds(target, pixel); });
  if (found == targets.end()) return std::nullopt;
  return static_cast<size_t>(found - targets.begin());
}

RegionSelection::RegionSelection(ScreenRect screen, std::vector<ScreenRect> targets, ScreenPoint dragSize,
                                 ScreenPoint pointer)
    : screen_(screen),
      targets_(OnScreenParts(std::move(targets), screen)),
      dragSize_(dragSize),
      pointer_(OnScreen(pointer)) {}

void RegionSelection::Move(ScreenPoint to) {
  if (state_ != State::Choosing) return;
  pointer_ = OnScreen(to);
  // The drag rectangle is centred on the press: half of it lies each way.
  if (anchor_ &&
      (std::abs(pointer_.x - anchor_->x) > dragSize_.x / 2 || std::abs(pointer_.y - anchor_->y) > dragSize_.y / 2)) {
    dragged_ = true;
  }
}

void RegionSelection::Press(ScreenPoint at) {
  if (state_ != State::Choosing) return;
  pointer_ = OnScreen(at);
  anchor_ = pointer_;
  dragged_ = false;
}

void RegionSelection::Release(ScreenPoint at) {
  // A release without a press here began before the overlay was shown.
  if (state_ != State::Choosing || !anchor_) return;
  Move(at);
  const std::optional<ScreenRect> chosen = Shown();
  anchor_.reset();
  dragged_ = false;
  // A click over a gap between monitors takes nothing: the choice goes on.
  if (!chosen) return;
  taken_ = *chosen;
  state_ = State::Taken;
}

ScreenPoint RegionSelection::Nudge(int across, int down) {
  if (state_ != State::Choosing) return pointer_;
  pointer_ = OnScreen({pointer_.x + across, pointer_.y + down});
  if (anchor_ && (pointer_.x != anchor_->x || pointer_.y != anchor_->y)) dragged_ = true;
  return pointer_;
}

void RegionSelection::Enter() {
  if (anchor_) {
    Release(pointer_);
  } else {
    Press(pointer_);
  }
}

void RegionSelection::Cancel() {
  if (state_ == State::Choosing) state_ = State::Cancelled;
}

std::optional<ScreenRect> RegionSelection::Shown() const {
  if (state_ != State::Choosing) return std::nullopt;
  if (anchor_ && dragged_) return SpanOf(*anchor_, pointer_);
  return TargetUnder(anchor_ ? *anchor_ : pointer_);
}

std::optional<ScreenRect> RegionSelection::TargetUnder(ScreenPoint pixel) const {
  const std::optional<size_t> found = TargetAt(targets_, pixel);
  if (!found) return std::nullopt;
  return targets_[*found];
}

ScreenPoint RegionSelection::OnScreen(ScreenPoint point) const {
  return {std::clamp(point.x, screen_.left, std::max(screen_.left, screen_.right - 1)),
          std::clamp(point.y, screen_.top, std::max(screen_.top, screen_.bottom - 1))};
}

ScreenRect PlaceLabel(ScreenRect shown, int width, int height, int gap, ScreenRect screen) {
  int top = shown.bottom + gap;
  if (top + height > screen.bottom) top = shown.top - gap - height;
  if (top < screen.top) top = std::max(shown.top, screen.top) + gap;
  const int left = std::clamp(shown.left, screen.left, std::max(screen.left, screen.right - width));
  return {left, top, left + width, top + height};
}
