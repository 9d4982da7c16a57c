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

// The PrintOrientation setting, in the order of its list.
enum class PrintOrientation : int32_t { AsPrinterIsSet, Automatic, Portrait, Landscape };
inline constexpr int32_t kPrintOrientationCount = 4;

// How one job's page is turned.
enum class PaperTurn { AsPrinterIsSet, Portrait, Landscape };

// The turn of the page for a shot of widthPx x heightPx: Automatic turns it
// to landscape for a shot wider than tall only.
PaperTurn TurnFor(PrintOrientation orientation, double widthPx, double heightPx);
