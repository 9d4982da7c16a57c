#pragma once
// The capture timer as a timer of the main window: its ticks arrive as
// WM_TIMER with kCaptureTimerId.
#include <windows.h>

#include "core/capture/capture_request.h"

inline constexpr UINT_PTR kCaptureTimerId = 1;

class WindowTimer final : public CaptureTimer {
 public:
  explicit WindowTimer(HWND window) : window_(window) {}
  ~WindowTimer() override { Disable(); }
  WindowTimer(const WindowTimer&) = delete;
  WindowTimer& operator=(const WindowTimer&) = delete;

  // Throws std::runtime_error("Not enough timers available") when the system refuses.
  void Arm(uint32_t milliseconds) override;
  void Disable() override;

 private:
  HWND window_;
};
