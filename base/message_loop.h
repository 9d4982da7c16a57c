#pragma once
// Hands queued messages to their windows. The program's own loop, the about
// window's modal loop and the print job's abort procedure all dispatch
// through here, so that each keeps the dialog navigation of the Preferences
// window.
#include <windows.h>

// The window whose controls Tab and the arrow keys move between; none at first.
void SetDialogWindow(HWND window);

void DispatchQueuedMessage(MSG& message);
