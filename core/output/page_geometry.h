#pragma once
// Where a shot lands on the page: its drawn size and position in inches,
// measured from the top left corner of the printable area.
#include <cstdint>

struct PageRect {
  double X = 0;
  double Y = 0;
  double Width = 0;
  double Height = 0;
};

inline constexpr int32_t kPagePositionCount = 9;
inline constexpr int32_t kPagePositionCenter = 4;

// widthPx x heightPx at ppi pixels per inch is the natural size. With
// fitToPage the shot is scaled to fit the printable area instead. position is
// 0..8 (row-major: top-left .. bottom-right).
PageRect PlaceShot(double widthPx, double heightPx, double ppi, double printableWidth, double printableHeight,
                   bool fitToPage, int32_t position);

// A rectangle of device pixels: left and top inside, right and bottom just outside.
struct DeviceRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
};

// The device pixels a place in inches covers at dpiX x dpiY dots per inch.
// Each edge is rounded on its own, in single precision, as GDI+ rounds it.
DeviceRect ToDevicePixels(const PageRect& inches, double dpiX, double dpiY);

// Part of a picture and the device pixels it fills.
struct PicturePart {
  int32_t SourceX = 0;
  int32_t SourceY = 0;
  int32_t SourceWidth = 0;
  int32_t SourceHeight = 0;
  DeviceRect Target;
};

// The whole pixels of a widthPx x heightPx picture drawn into target that
// fall on a page of pageWidth x pageHeight device pixels, and where they go
// at the same scale. A picture on the page is all of it; a cut edge lies off
// the page, and the pixels on it land within half a device pixel of where
// the whole picture puts them.
PicturePart PartOnPage(const DeviceRect& target, int32_t widthPx, int32_t heightPx, int32_t pageWidth,
                       int32_t pageHeight);

// The PrintOrientation setting, in the order of its list.
enum class PrintOrientation : int32_t { AsPrinterIsSet, Automatic, Portrait, Landscape };
inline constexpr int32_t kPrintOrientationCount = 4;

// How one job's page is turned.
enum class PaperTurn { AsPrinterIsSet, Portrait, Landscape };

// The turn of the page for a shot of widthPx x heightPx: Automatic turns it
// to landscape for a shot wider than tall only.
PaperTurn TurnFor(PrintOrientation orientation, double widthPx, double heightPx);

// The PrintShotsPerPage setting's values, in the order of its list: the
// shots of a series a sheet holds.
inline constexpr int32_t kShotsPerPageChoices[] = {1, 2, 4};

// Paper left white between the cells of a sheet, in inches.
inline constexpr double kCellGap = 0.25;

// The cell that holds shot index (from 0, in reading order) of a sheet of
// cells equal cells, kCellGap apart, in a printable area of printableWidth x
// printableHeight inches: 2 are stacked on a page taller than wide and side by
// side on a wider one, 4 make two rows of two. Any other count is one cell,
// the whole area.
PageRect SheetCell(int32_t cells, int32_t index, double printableWidth, double printableHeight);

// Where a shot lands in its cell: as PlaceShot puts it on a page of the
// cell's size. A shot that shares its sheet with others is never larger
// than its cell: at natural size it is made smaller to fit, so that no shot
// covers another.
PageRect PlaceInCell(double widthPx, double heightPx, double ppi, const PageRect& cell, int32_t cells, bool fitToPage,
                     int32_t position);

// The turn of a sheet whose first shot is widthPx x heightPx. Automatic
// gives the cells the shot's shape: cells of 1 and 4 have the page's own
// shape, so a wide shot turns the page to landscape; cells of 2 have the
// other shape, so a tall shot turns it.
PaperTurn SheetTurnFor(PrintOrientation orientation, int32_t cells, double widthPx, double heightPx);
