#pragma once
// The platform tests' windows: made on a class of the test's own, and a
// wait for one message that pumps the rest.
#include <windows.h>

#include <string>

#include "base/system_text.h"

namespace test_window {

inline constexpr DWORD kMessageLimitMs = 10000;

struct Options {
  const char* className = "VorlaneTestWindow";
  WNDPROC procedure = DefWindowProcW;
  DWORD style = WS_OVERLAPPED;
  RECT place{0, 0, 100, 100};  // left, top, width, height
  const char* title = "";
  HBRUSH background = nullptr;
  HWND parent = nullptr;  // HWND_MESSAGE for one that only takes messages
  DWORD exStyle = 0;
};

// Null without a display. A class of the name registered by an earlier test
// is used as it is.
inline HWND Make(const Options& options = {}) {
  const std::wstring className = Wide(options.className);
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = options.procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = options.background;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = className.c_str();
  RegisterClassW(&windowClass);
  return CreateWindowExW(options.exStyle, className.c_str(), Wide(options.title).c_str(), options.style,
                         options.place.left, options.place.top, options.place.right, options.place.bottom,
                         options.parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Dispatches the window's messages until the wanted one arrives or the limit
// passes.
inline bool Receive(HWND window, UINT message, WPARAM wParam) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG received;
    while (PeekMessageA(&received, window, 0, 0, PM_REMOVE)) {
      if (received.message == message && received.wParam == wParam) return true;
      DispatchMessageA(&received);
    }
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= kMessageLimitMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, kMessageLimitMs - elapsed, QS_ALLINPUT);
  }
}

// A visible dialog box of this thread, such as a common dialog the code
// under test has opened; null when there is none.
inline HWND VisibleDialog() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM result) -> BOOL {
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace test_window
