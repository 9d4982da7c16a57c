#pragma once
// The DPI a window is shown at, and the system's metrics and message font at
// a DPI. The windows are laid out in pixels at 96 dpi and scaled to their
// own DPI. Where the system lacks a ...ForDpi function (Windows 10 before
// 1607, some Wine versions), the system DPI's value is scaled instead.
#include <windows.h>

#include "base/owners.h"

inline constexpr int kBaseDpi = USER_DEFAULT_SCREEN_DPI;

// A length in pixels at 96 dpi, in pixels at the DPI, to the nearest pixel.
int Scale(int length, int dpi);

// The DPI of the monitor the window is on, for a per-monitor aware program.
int WindowDpi(HWND window);

int SystemMetricForDpi(int index, int dpi);

// The font of message boxes, at the DPI: what the system's dialogs use.
owners::Font MessageFont(int dpi);

// The window rectangle that holds the client rectangle, with a frame at the DPI.
RECT FrameForDpi(RECT client, DWORD style, DWORD exStyle, int dpi);
