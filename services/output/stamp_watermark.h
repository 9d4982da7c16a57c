#pragma once
// Draws the watermark onto the GDI+ copy of a shot before it is printed.
#include <windows.h>

#include <gdiplus.h>

#include <functional>
#include <string>

#include "core/settings/preferences.h"

struct DateTimeTexts {
  std::string date;  // the user's short date format
  std::string time;  // the user's time format
};

// Calls format(buffer, length), which returns the characters written with the
// terminator or 0 on failure, in a buffer of 100 characters, doubled while the
// failure is ERROR_INSUFFICIENT_BUFFER. Any other failure gives empty text.
std::string FetchLocaleText(const std::function<int(wchar_t* buffer, int length)>& format);

// The texts of one moment in the user's locale; a text that cannot be made
// is empty.
DateTimeTexts FormatDateAndTime(const SYSTEMTIME& when);

// The template with its macros expanded for a shot taken at that local
// time: the date and the time are those of the one moment.
std::string WatermarkTextAt(const std::string& text, const std::string& windowTitle, const SYSTEMTIME& taken);

// Draws WatermarkText, expanded for a shot of that window taken at that
// time, into the chosen corner of an image of the given size, in the
// watermark font, colour and transparency. No GDI+ status is examined; what
// cannot be made is simply not drawn. When the named font cannot be made,
// the generic sans-serif family stands in for it.
void StampWatermark(Gdiplus::GpGraphics* imageGraphics, UINT imageWidth, UINT imageHeight,
                    const std::string& windowTitle, const SYSTEMTIME& taken, const Preferences& preferences);
