#include "core/capture/capture_request.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int64_t kMillisecondsPerSecond = 1000;

CaptureKind KindOf(uint32_t flags) {
  if (flags & kCaptureRegion) return CaptureKind::Region;
  if (flags & kCaptureActiveWindow) return CaptureKind::ActiveWindow;
  return CaptureKind::EntireScreen;
}

}  // namespace

uint32_t SecondsToMilliseconds(int32_t seconds) {
  int64_t milliseconds = std::max<int64_t>(seconds, 0) * kMillisecondsPerSecond;
  return static_cast<uint32_t>(std::min<int64_t>(milliseconds, kLongestTimerPeriod));
}

bool TakesFrozenPicture(const CaptureTiming& timing) { return !timing.delayed && !timing.several; }

CaptureRequest::CaptureRequest(CaptureTimer& timer, Timing timing, Shot shot, SeriesEnd seriesEnd)
    : timer_(timer), timing_(std::move(timing)), shot_(std::move(shot)), seriesEnd_(std::move(seriesEnd)) {}

void CaptureRequest::StartEntireScreen() { Start(0); }

void CaptureRequest::StartActiveWindow() { Start(kCaptureActiveWindow); }

void CaptureRequest::StartRegion() { Start(kCaptureRegion); }

void CaptureRequest::Start(uint32_t kind) {
  // A new request replaces whatever was pending; a running timer is left
  // alone unless the new request needs it. The series it ends is told of
  // first, so that what that series took comes out before the new shots;
  // should that fail, nothing is left pending.
  try {
    EndSeries();
  } catch (...) {
    Drop();
    throw;
  }
  shotCount_ = 0;
  flags_ = kind;
  const CaptureTiming timing = timing_();
  if (timing.delayed) flags_ |= kCaptureDelayed;
  if (timing.several) flags_ |= kCaptureSeries;
  ProcessCapture();
}

void CaptureRequest::ProcessCapture() {
  try {
    if (flags_ & kCaptureDelayed) {
      flags_ &= ~kCaptureDelayed;
      Arm(timing_().delay);
      return;
    }
    // Armed before the shot, so the interval is counted from its start.
    const bool series = flags_ & kCaptureSeries;
    if (series) Arm(timing_().interval);
    shot_(KindOf(flags_));
    ++shotCount_;
    seriesShotsTaken_ = seriesShotsTaken_ || series;
    // Told at the last shot rather than at the tick after it, an interval later.
    if (series && shotCount_ >= timing_().shots) EndSeries();
  } catch (...) {
    // A failure ends its request rather than failing again at every tick.
    flags_ = 0;
    StopTimer();
    EndSeries();
    throw;
  }
}

void CaptureRequest::Tick() {
  // A tick already queued when the timer was stopped belongs to no request.
  if (!timerRunning_) return;
  if (flags_ & kCaptureSeries) {
    // The first shot of a delayed series is due whatever the count says, so
    // that a series always takes at least one shot.
    if (shotCount_ == 0 || shotCount_ < timing_().shots) {
      ProcessCapture();
    } else {
      // The count may have been lowered below the shots taken.
      StopTimer();
      EndSeries();
    }
    return;
  }
  ProcessCapture();
  StopTimer();
}

void CaptureRequest::Drop() {
  flags_ = 0;
  shotCount_ = 0;
  StopTimer();
  EndSeries();
}

void CaptureRequest::Arm(int32_t seconds) {
  armedPeriod_ = SecondsToMilliseconds(seconds);
  timer_.Arm(armedPeriod_);
  timerRunning_ = true;
}

void CaptureRequest::StopTimer() {
  timer_.Disable();
  timerRunning_ = false;
}

void CaptureRequest::EndSeries() {
  if (!std::exchange(seriesShotsTaken_, false)) return;
  seriesEnd_();
}
