#pragma once
// The one way the program shows an error: a box with its text, captioned
// with the program's title.
#include <windows.h>

#include <string>

// While a print job is open the box waits until the job is closed, and then
// the window named gets the message that shows it. A text already in a box
// on screen gets no second box.
void ShowError(HWND window, const std::string& text);

// Shows the boxes that waited for a print job.
void ShowHeldErrors(HWND window);

// A plain message of the program's own, owned by the window: one OK button,
// captioned with the program's title.
void ShowMessage(HWND owner, const std::string& text);
