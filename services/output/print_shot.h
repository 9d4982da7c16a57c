#pragma once
// One shot printed as one page of one job on the printer PrintPrinter names.
#include <span>
#include <string>

#include "base/owners.h"
#include "core/settings/preferences.h"
#include "services/output/printer.h"

// Takes the captured bitmap and releases it on every path; it becomes the
// page's picture (PagePicture::Of), whose colours PrintColors makes for paper
// (PaintForPaper; windows are those the shot shows, frontmost first, in its
// pixels). The watermark is drawn into that picture when WatermarkMake is
// on, and it turns to 8-bit gray with PrintGrayscale, and on to one bit a
// pixel in black and white.
// The page is turned by PrintOrientation and the picture placed on it by
// PrintFitToPage and PrintPagePosition, with screenPpi giving the natural
// size; the device scales it there (ScalingFor). PrintCopies copies come from
// the one job. Errors leave as std::runtime_error.
void PrintShot(Printer& printer, owners::Bitmap capturedBitmap, const std::string& windowTitle,
               std::span<const ScreenRect> windows, const Preferences& preferences, double screenPpi);
