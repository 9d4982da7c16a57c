// The window base: an object that goes away takes its window with it, and
// no message of the window's last moments reaches a part of it already gone.
#include "base/window.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kProbeClass = "VorlaneWindowProbe";

LONG accessViolations = 0;

LONG CALLBACK CountAccessViolation(EXCEPTION_POINTERS* exception) {
  if (exception->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) ++accessViolations;
  return EXCEPTION_CONTINUE_SEARCH;
}

class Probe : public Window {
 public:
  explicit Probe(int& handled) : handled_(handled) {
    RegisterWindowClass(GetModuleHandleW(nullptr), kProbeClass);
    Create(0, kProbeClass, "Probe", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr);
  }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    ++handled_;
    return DefaultHandling(message, wParam, lParam);
  }

  int& handled_;
};

}  // namespace

TEST(Window, GoingAwayDestroysTheWindowWithoutCallingAHandlerAlreadyGone) {
  const PVOID watch = AddVectoredExceptionHandler(1, CountAccessViolation);
  accessViolations = 0;
  int handled = 0;
  HWND made = nullptr;
  {
    Probe probe(handled);
    made = probe.handle();
  }
  RemoveVectoredExceptionHandler(watch);
  EXPECT_GT(handled, 0) << "the object handled the window's messages while it lived";
  EXPECT_FALSE(IsWindow(made));
  EXPECT_EQ(accessViolations, 0) << "a message of the window's destruction reached a handler already destroyed";
}
