// The least a program can do to sit in the tray: a hidden window, one icon,
// a message loop. The benchmark compares Vorlane's start-up time and idle
// memory with this one's. It ends on WM_CLOSE to its window of class
// "VorlaneReferenceTray", taking its icon away first. Given another class
// name on its command line it takes that one, so that a second copy can keep
// an icon of its own beside the program measured.
//
// Built a second time with VORLANE_SYSTEM_DLLS, it imports every system DLL
// Vorlane imports and carries its manifest, and does nothing more with them:
// the share of Vorlane's figures that loading those DLLs costs.
#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>

#ifdef VORLANE_SYSTEM_DLLS
#include <commctrl.h>
#include <commdlg.h>
#include <dwmapi.h>
#include <gdiplus.h>
#include <shlwapi.h>
#include <winspool.h>

// Referenced, never called: one function of each DLL puts it in the import table.
using AnyFunction = void (*)();
extern const AnyFunction kImports[];
const AnyFunction kImports[] = {
    reinterpret_cast<AnyFunction>(&RegOpenKeyExA),
    reinterpret_cast<AnyFunction>(&InitCommonControlsEx),
    reinterpret_cast<AnyFunction>(&PrintDlgA),
    reinterpret_cast<AnyFunction>(&GetDeviceCaps),
    reinterpret_cast<AnyFunction>(&Gdiplus::GdiplusStartup),
    reinterpret_cast<AnyFunction>(&SHCreateMemStream),
    reinterpret_cast<AnyFunction>(&GetFileVersionInfoSizeA),
    reinterpret_cast<AnyFunction>(&OpenPrinterA),
    reinterpret_cast<AnyFunction>(&DwmGetWindowAttribute),
};
#endif

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

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  const char* className = *commandLine ? commandLine : kWindowClass;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = className;
  RegisterClassA(&windowClass);
  const HWND window =
      CreateWindowExA(0, className, className, WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  NOTIFYICONDATAA record = IconRecord(window);
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = kTrayMessage;
  // A shared system icon: not owned, never destroyed.
  record.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  lstrcpynA(record.szTip, className, sizeof record.szTip);
  Shell_NotifyIconA(NIM_ADD, &record);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
