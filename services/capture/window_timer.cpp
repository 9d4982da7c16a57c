#include "services/capture/window_timer.h"

#include <stdexcept>

void WindowTimer::Arm(uint32_t milliseconds) {
  // Killed first so the countdown restarts now even when the period is unchanged.
  Disable();
  if (milliseconds == 0) return;
  if (SetTimer(window_, kCaptureTimerId, milliseconds, nullptr) == 0) {
    throw std::runtime_error("Not enough timers available");
  }
}

void WindowTimer::Disable() {
  // Fails harmlessly when no timer is set.
  KillTimer(window_, kCaptureTimerId);
}
