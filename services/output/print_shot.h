#pragma once
// One shot printed as one page of one job on the printer PrintPrinter names.
#include <string>

#include "base/owners.h"
#include "core/settings/preferences.h"
#include "services/output/printer.h"

// Takes the captured bitmap and releases it on every path. The watermark is
// drawn on a GDI+ copy when WatermarkMake is on; the page is turned by
// PrintOrientation and the shot placed on it by PrintFitToPage and
// PrintPagePosition, with screenPpi giving the natural size. PrintCopies
// copies come from the one job, in gray with PrintGrayscale. Errors leave as
// std::runtime_error.
void PrintShot(Printer& printer, owners::Bitmap capturedBitmap, const std::string& windowTitle,
               const Preferences& preferences, double screenPpi);
