#pragma once
// Copies of what is on the screen at the moment of a shot: the whole primary
// display, or the area of the window in the foreground with its title.
#include <windows.h>

#include <optional>
#include <string>

#include "base/owners.h"

struct Shot {
  owners::Bitmap bitmap;
  std::string title;  // empty for an entire-screen shot
};

// The primary display, pixel for pixel, in a bitmap compatible with the screen.
Shot GrabEntireScreen();

// The screen area of the foreground window, frame included, and its title.
// No foreground window, or one without area, means no shot.
std::optional<Shot> GrabActiveWindow();

// The window's text, at most 1024 characters. A window that does not answer
// within a second gives an empty title.
std::string GetWindowTitle(HWND window);

// The screen's logical pixels per inch, vertically; 96 when the screen does not tell.
double ScreenPixelsPerInch();
