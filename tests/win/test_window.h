#pragma once
// A plain hidden window to receive messages in platform tests, and a wait for
// one message that pumps the rest.
#include <windows.h>

namespace test_window {

inline constexpr const char* kClassName = "VorlaneTestWindow";
inline constexpr DWORD kMessageLimitMs = 10000;

// Null without a display.
inline HWND Make() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);  // already registered by an earlier test: fine
  return CreateWindowExA(0, kClassName, "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, GetModuleHandleA(nullptr),
                         nullptr);
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
