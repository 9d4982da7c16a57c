#include "app/ufmOptions.h"

#include <stdexcept>

#include "output/default_printer.h"
#include "prefs/uRegistry.h"
#include "resources/resource.h"

namespace {

constexpr int kClientWidth = 440;
constexpr int kClientHeight = 360;

void RegisterWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TRAY));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassExA(&windowClass);
}

}  // namespace

void ShowError(const char* text) { MessageBoxA(nullptr, text, kApplicationTitle, MB_OK | MB_ICONERROR | MB_SETFOREGROUND); }

TfmOptions::TfmOptions(HINSTANCE instance) {
  RegisterWindowClass(instance, WindowProc);
  // A fixed single-border window centred on the screen; created hidden.
  RECT frame{0, 0, kClientWidth, kClientHeight};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  AdjustWindowRect(&frame, style, FALSE);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  CreateWindowExA(WS_EX_DLGMODALFRAME, kMainWindowClass, "Preferences", style,
                  (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width,
                  height, nullptr, nullptr, instance, this);
  if (!handle_) throw std::runtime_error("The main window could not be created.");
  LoadPreferences();
}

TfmOptions::~TfmOptions() {
  if (handle_) DestroyWindow(handle_);
}

LRESULT CALLBACK TfmOptions::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TfmOptions*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TfmOptions*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (const std::exception& error) {
    ShowError(error.what());
    return 0;
  }
}

LRESULT TfmOptions::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_CLOSE:
      FormClose();
      return 0;
    case WM_COMMAND:
      WMCommand(LOWORD(wParam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(handle_, message, wParam, lParam);
}

void TfmOptions::FormCreate() {
  // No system menu, no minimise or maximise box: the window is left with a
  // caption bar only, and OK, Cancel or Exit are the ways out.
  const LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
  SetWindowLongPtrA(handle_, GWL_STYLE, style & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU));
  FExiting = false;
}

// Every close but the one Exit makes only sends the window back to the tray.
void TfmOptions::FormClose() {
  if (FExiting) {
    DestroyWindow(handle_);
    return;
  }
  btCancelClick();
}

void TfmOptions::WMCommand(WORD id) {
  switch (id) {
    case IDM_EXIT:
      miExitClick();
      break;
  }
}

void TfmOptions::miExitClick() {
  FExiting = true;
  SendMessageA(handle_, WM_CLOSE, 0, 0);
}

void TfmOptions::btCancelClick() { ShowWindow(handle_, SW_HIDE); }

void TfmOptions::LoadPreferences() {
  RegistryPreferenceStore store;
  preferences_ = ::LoadPreferences(store, SystemDefaultPrinter);
}
