#pragma once
// The one base of the program's windows and of its subclassed controls. It
// links the object to its window when the window is made and unlinks it when
// the window goes, hands every message to the object's handler, holds back
// what must wait for an open print job, and is the one place where an error
// of a handler ends: shown in a box, and the program goes on.
#include <windows.h>

#include <exception>
#include <string>

// A window whose messages an object handles. The class must be registered
// with RegisterWindowClass; the object outlives its window.
class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // Destroys the window if it is still there.
  virtual ~Window();

  HWND handle() const { return handle_; }

 protected:
  Window() = default;

  // Makes the window with this object behind it; throws when it cannot.
  void Create(DWORD exStyle, const char* className, const std::string& title, DWORD style, int x, int y, int width,
              int height, HWND parent, int id = 0);

  // Returns DefaultHandling for whatever it does not handle itself.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

  // Whether the message would open a window and wait for the user, so that
  // it must wait while a print job is open. Commands do, unless told apart.
  virtual bool WaitsForPrintJob(UINT message, WPARAM wParam, LPARAM lParam) const;

  // Where an error of a handler ends; a box with its text unless told otherwise.
  virtual void ReportError(const std::exception& error);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  friend void RegisterWindowClass(HINSTANCE instance, const char* className, HICON icon, int extraBytes);

  HWND handle_ = nullptr;
};

// Registers a window class whose windows Window objects handle. A class
// already registered stays as it is.
void RegisterWindowClass(HINSTANCE instance, const char* className, HICON icon = nullptr, int extraBytes = 0);

// A control of the system's whose messages an object sees first.
class Subclass {
 public:
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;
  virtual ~Subclass();

 protected:
  Subclass() = default;

  void Attach(HWND control);
  HWND control() const { return control_; }

  // Returns DefaultHandling for what the control itself is to handle.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR object);

  HWND control_ = nullptr;
};
