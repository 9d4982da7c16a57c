#pragma once
// Copies of what is on the screen at the moment of a shot: a whole display,
// or all of them, or the area of the window in the foreground with its title,
// or a region of the screens; with the mouse pointer drawn in when asked.
#include <windows.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/owners.h"
#include "core/capture/screen_choice.h"

struct Shot {
  owners::Bitmap bitmap;
  std::string title;   // empty for an entire-screen shot
  SYSTEMTIME taken{};  // local time, which the watermark tells
  // The windows it shows, frontmost first, in the shot's pixels: each is
  // judged on its own when its colours are made for paper.
  std::vector<ScreenRect> windows;
};

// A top-level window and the frame it is seen with.
struct WindowFrame {
  HWND window;
  ScreenRect frame;
};

// The mouse pointer's image as it is drawn now, and where its hot spot is.
// The image is the system's or its program's: shared, not owned.
struct PointerImage {
  HCURSOR image;
  ScreenPoint hotSpot;
};

// The monitors' areas on the desktop, the primary first.
std::vector<ScreenRect> Monitors();

// The display the CaptureScreen setting names, pixel for pixel, in a 32-bit
// device-independent bitmap, top row first. All displays are taken as they lie on the
// desktop; what lies between them is white.
Shot GrabEntireScreen(int32_t captureScreen, bool withPointer);

// The screen area of the foreground window as the window is seen (its
// visible frame), and its title. No foreground window, or one without area,
// means no shot.
std::optional<Shot> GrabActiveWindow(bool withPointer);

// An area of the screens as they are now, each monitor's part where it lies
// and white between them, with the title of the window under its centre.
Shot GrabScreenArea(ScreenRect area, bool withPointer);

// Returns once the screens show what the windows are now: the desktop
// composition draws a change at its next frame. At once without one.
void AwaitScreensShown();

// The screens as they were when a region began to be chosen.
struct FrozenScreens {
  ScreenRect area;         // the virtual screen: around every monitor
  owners::Bitmap picture;  // of the area, white between the monitors
  std::vector<ScreenRect> monitors;
  std::vector<WindowFrame> windows;  // frontmost first
  SYSTEMTIME taken{};                // local time
};

FrozenScreens FreezeScreens();

// An area of the frozen picture, with the title of the frozen window that
// was under its centre.
Shot CutArea(const FrozenScreens& frozen, ScreenRect area);

// Each monitor's part of the area where it lies, white between them.
owners::Bitmap CopyMonitorsArea(ScreenRect area, std::span<const ScreenRect> monitors);

// The frame a window is seen with: without the invisible resize borders
// that Windows 10 and 11 count in its window rectangle, where the system
// tells its visible frame.
ScreenRect SeenFrame(HWND window);

// The top-level windows a user sees, frontmost first: shown, not minimised,
// not cloaked (as the windows of other virtual desktops are), with area.
std::vector<WindowFrame> WindowsOnScreen();

// The title of the frontmost window holding the pixel; empty where none does.
std::string TitleAt(std::span<const WindowFrame> windows, ScreenPoint pixel);

// None while the pointer is hidden.
std::optional<PointerImage> CurrentPointer();

// Draws the pointer into a shot of the screen area, where it lies inside.
void DrawPointer(HBITMAP shot, ScreenRect area, const PointerImage& pointer);

// The window's text, at most 1024 characters. A window that does not answer
// within a second gives an empty title.
std::string GetWindowTitle(HWND window);

// The screen's logical pixels per inch, vertically; 96 when the screen does not tell.
double ScreenPixelsPerInch();
