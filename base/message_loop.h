#pragma once
// Hands queued messages to their windows. The program's own loop, the about
// window's modal loop and the print job's abort procedure all dispatch
// through here, so that each keeps the dialog navigation of the Preferences
// window.
//
// While a print job is open the program keeps answering, but the job must
// never wait for the user: what would open a window and wait there is held
// back until the job is closed, and then goes back to the queue in the order
// it came.
#include <windows.h>

#include <functional>

// Keys of a window that answers them in a way of its own, such as Tab in
// its own order or Ctrl+Tab; true when it took the key.
using DialogKeys = std::function<bool(const MSG& key)>;

// The window whose controls the keyboard moves between; none at first. A key
// pressed in it goes to its own keys first, then to the dialog navigation.
void SetDialogWindow(HWND window, DialogKeys keys = {});

void DispatchQueuedMessage(MSG& message);

// A print job is open for the lifetime of one of these.
class PrintJobScope {
 public:
  PrintJobScope();
  ~PrintJobScope();
  PrintJobScope(const PrintJobScope&) = delete;
  PrintJobScope& operator=(const PrintJobScope&) = delete;
};

bool PrintJobOpen();

// Keeps a message for the end of the job; one held already is not kept twice
// when it is the same message to the same window.
void HoldForPrintJob(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Sent to a window whose error boxes waited for a print job.
inline constexpr UINT WM_SHOW_HELD_ERRORS = WM_APP + 1;
