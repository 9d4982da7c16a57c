#pragma once
// Shots printed as sheets: each shot in a cell of its own, one sheet one job
// on the printer PrintPrinter names.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/owners.h"
#include "core/settings/preferences.h"
#include "services/output/page_picture.h"
#include "services/output/printer.h"

// A shot as it is kept, in memory only: its pixels as taken, in a page
// picture until they are packed small, what its watermark tells of it and
// the windows it shows, which its colours on paper are judged by.
class KeptShot {
 public:
  // The captured bitmap becomes a page picture (PagePicture::Of) and is
  // released. windows: those the shot shows, frontmost first, in its pixels.
  KeptShot(owners::Bitmap captured, std::string windowTitle, const SYSTEMTIME& taken, std::vector<ScreenRect> windows);

  // The pixels as taken, in a picture that makes them its own before
  // anything is drawn on them (PagePicture::Share).
  PagePicture Picture() const;
  // From now on the pixels take a fraction of their room (PackPixels), if
  // they pack to half of it at least.
  void Pack();
  bool Packed() const { return !picture_; }

  const std::string& WindowTitle() const { return windowTitle_; }
  const SYSTEMTIME& Taken() const { return taken_; }
  std::span<const ScreenRect> Windows() const { return windows_; }

 private:
  std::optional<PagePicture> picture_;  // until packed
  std::vector<uint8_t> packed_;
  bool packingTried_ = false;
  int width_ = 0;
  int height_ = 0;
  std::string windowTitle_;
  SYSTEMTIME taken_{};
  std::vector<ScreenRect> windows_;
};

// The picture a page carries for a kept shot: the pixels as taken, their
// colours made for paper as PrintColors asks (PaintForPaper, by the shot's
// windows), with the watermark of its own window and time when WatermarkMake
// is on, turned to 8-bit gray with PrintGrayscale, and on to one bit a pixel
// in black and white. A shot's first page and the pages that print it again
// are made alike, by this.
PagePicture FinishedPicture(const KeptShot& shot, const Preferences& preferences);

// Prints the shots, in reading order, as one sheet of cells equal cells
// (SheetCell): one job with PrintCopies copies of the sheet, which a file
// printer saves as one file. The sheet is turned by PrintOrientation for its
// first shot (SheetTurnFor); each picture is placed in its cell by
// PrintFitToPage and PrintPagePosition (PlaceInCell), screenPpi giving the
// natural size, and the device scales it there (ScalingFor). A sheet of one
// cell is the page of a shot alone. Errors leave as std::runtime_error.
void PrintSheet(Printer& printer, std::span<const KeptShot> shots, int32_t cells, const Preferences& preferences,
                double screenPpi);
