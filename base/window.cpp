#include "base/window.h"

#include <commctrl.h>

#include <stdexcept>

#include "base/error_box.h"
#include "base/message_loop.h"
#include "base/system_text.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;

// The one error boundary: an error leaves no handler, whatever the window.
template <typename Handler, typename Report>
LRESULT Guarded(Handler handle, Report report) {
  try {
    return handle();
  } catch (const std::exception& error) {
    report(error);
  }
  return 0;
}

}  // namespace

Window::~Window() {
  if (!handle_) return;
  // By now only this base is left of the object: the window's last messages
  // go to the system's default handling, not to a handler already gone.
  SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
  DestroyWindow(handle_);
}

void Window::Create(DWORD exStyle, const char* className, const std::string& title, DWORD style, int x, int y,
                    int width, int height, HWND parent, int id) {
  CreateWindowExW(exStyle, Wide(className).c_str(), Wide(title).c_str(), style, x, y, width, height, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), this);
  if (!handle_) throw std::runtime_error(std::string("The window ") + className + " could not be created.");
}

LRESULT Window::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(handle_, message, wParam, lParam);
}

bool Window::WaitsForPrintJob(UINT message, WPARAM, LPARAM) const { return message == WM_COMMAND; }

void Window::ReportError(const std::exception& error) { ShowError(handle_, error.what()); }

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->handle_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (message == WM_SHOW_HELD_ERRORS) {
    ShowHeldErrors(window);
    return 0;
  }
  if (PrintJobOpen() && self->WaitsForPrintJob(message, wParam, lParam)) {
    HoldForPrintJob(window, message, wParam, lParam);
    return 0;
  }
  return Guarded([&] { return self->HandleMessage(message, wParam, lParam); },
                 [&](const std::exception& error) { self->ReportError(error); });
}

void RegisterWindowClass(HINSTANCE instance, const char* className, HICON icon, int extraBytes) {
  const std::wstring name = Wide(className);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = Window::Procedure;
  windowClass.cbWndExtra = extraBytes;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = name.c_str();
  // A second window of the class finds it registered already: that is fine.
  (void)RegisterClassExW(&windowClass);
}

Subclass::~Subclass() {
  if (control_) RemoveWindowSubclass(control_, Procedure, kSubclassId);
}

void Subclass::Attach(HWND control) {
  control_ = control;
  SetWindowSubclass(control, Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT Subclass::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefSubclassProc(control_, message, wParam, lParam);
}

LRESULT CALLBACK Subclass::Procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR object) {
  auto* self = reinterpret_cast<Subclass*>(object);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, Procedure, kSubclassId);
    self->control_ = nullptr;
    return DefSubclassProc(control, message, wParam, lParam);
  }
  return Guarded([&] { return self->HandleMessage(message, wParam, lParam); },
                 [&](const std::exception& error) { ShowError(control, error.what()); });
}
