#pragma once
// One shot printed as one page of one job on the printer PrintPrinter names.
#include <string>

#include "base/owners.h"
#include "core/settings/preferences.h"
#include "services/output/printer.h"

// Takes the captured bitmap and releases it on every path. The watermark is
// drawn on a GDI+ copy when WatermarkMake is on; the page is placed by
// PrintFitToPage and PrintPagePosition, with screenPpi giving the natural
// size. Errors leave as std::runtime_error.
void PrintShot(Printer& printer, owners::Bitmap capturedBitmap, const std::string& windowTitle,
               const Preferences& preferences, double screenPpi);
