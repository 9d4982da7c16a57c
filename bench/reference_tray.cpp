// The least a program can do to sit in the tray: a hidden window, one icon,
// a message loop. The benchmark compares Vorlane's start-up time and idle
// memory with this one's. It ends on WM_CLOSE to its window of class
// "VorlaneReferenceTray", taking its icon away first.
#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>

namespace {

constexpr const char* kWindowClass = "VorlaneReferenceTray";
constexpr UINT kTrayMessage = WM_USER + 123;

NOTIFYICONDATAA IconRecord(HWND window) {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V2_SIZE;
  record.hWnd = window;
  return record;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE: {
      NOTIFYICONDATAA record = IconRecord(window);
      Shell_NotifyIconA(NIM_DELETE, &record);
      DestroyWindow(window);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);
  const HWND window =
      CreateWindowExA(0, kWindowClass, kWindowClass, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  NOTIFYICONDATAA record = IconRecord(window);
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = kTrayMessage;
  // A shared system icon: not owned, never destroyed.
  record.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  lstrcpynA(record.szTip, kWindowClass, sizeof record.szTip);
  Shell_NotifyIconA(NIM_ADD, &record);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
