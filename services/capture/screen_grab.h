#pragma once
// Copies of what is on the screen at the moment of a shot: a whole display,
// or all of them, or the area of the window in the foreground with its title.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/owners.h"
#include "core/capture/screen_choice.h"

struct Shot {
  owners::Bitmap bitmap;
  std::string title;  // empty for an entire-screen shot
};

// The monitors' areas on the desktop, the primary first.
std::vector<ScreenRect> Monitors();

// The display the CaptureScreen setting names, pixel for pixel, in a 32-bit
// device-independent bitmap, top row first. All displays are taken as they lie on the
// desktop; what lies between them is white.
Shot GrabEntireScreen(int32_t captureScreen);

// The screen area of the foreground window, frame included, and its title.
// No foreground window, or one without area, means no shot.
std::optional<Shot> GrabActiveWindow();

// The window's text, at most 1024 characters. A window that does not answer
// within a second gives an empty title.
std::string GetWindowTitle(HWND window);

// The screen's logical pixels per inch, vertically; 96 when the screen does not tell.
double ScreenPixelsPerInch();
