#include "core/output/page_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kPositionsPerRow = 3;

// Offset of the drawn size within the printable extent for column or row 0
// (start), 1 (middle) and 2 (end). Negative when the shot is larger, so that a
// centred oversized shot loses equal parts at both edges.
double Offset(int32_t place, double printable, double drawn) {
  constexpr double kShare[] = {0.0, 0.5, 1.0};
  return (printable - drawn) * kShare[place];
}

// A page drawn by GDI+ lands where single-precision arithmetic puts it:
// inches and resolution as floats, each edge the nearest pixel with halves
// rounded up. Doubles would move some edges by a pixel, at natural size
// above all: 100 pixels at 96 to the inch are 312.5 dots at 300 dpi.
int32_t DeviceEdge(float inches, double dpi) {
  return static_cast<int32_t>(std::floor(inches * static_cast<float>(dpi) + 0.5f));
}

// One axis of a part on the page: the first pixel and how many, and the
// device pixels from start to end they fill.
struct Span {
  int32_t first = 0;
  int32_t count = 0;
  int32_t start = 0;
  int32_t end = 0;
};

Span SpanOnPage(int32_t start, int32_t end, int32_t pixels, int32_t page) {
  if (pixels <= 0 || end <= start || (start >= 0 && end <= page)) return {0, pixels, start, end};
  const int64_t extent = int64_t{end} - start;
  const int64_t shownFrom = std::max(0, start) - int64_t{start};
  const int64_t shownTo = std::min(end, page) - int64_t{start};
  if (shownTo <= shownFrom) return {0, 0, start, start};
  // The pixels under the first and the last device pixel shown, whole.
  const int64_t first = shownFrom * pixels / extent;
  const int64_t last = (shownTo * pixels + extent - 1) / extent;
  // Where the part's edges fall at the picture's scale, halves rounded up.
  const auto edge = [&](int64_t pixel) {
    return static_cast<int32_t>(start + (2 * pixel * extent + pixels) / (2 * int64_t{pixels}));
  };
  return {static_cast<int32_t>(first), static_cast<int32_t>(last - first), edge(first), edge(last)};
}

}  // namespace

PageRect PlaceShot(double widthPx, double heightPx, double ppi, double printableWidth, double printableHeight,
                   bool fitToPage, int32_t position) {
  // Written so that NaN fails the test as well.
  if (!(widthPx > 0) || !(heightPx > 0) || !(ppi > 0)) return {};
  double drawnWidth = widthPx / ppi;
  double drawnHeight = heightPx / ppi;
  if (fitToPage) {
    // The fit rule: the largest size with the shot's aspect ratio that fits the
    // printable area. Small shots are enlarged as well, so that a fitted shot
    // always spans the printable area in one direction. With no printable area
    // there is nothing to fit into.
    if (!(printableWidth > 0) || !(printableHeight > 0)) return {};
    if (printableWidth * heightPx <= printableHeight * widthPx) {
      drawnWidth = printableWidth;
      drawnHeight = printableWidth * heightPx / widthPx;
    } else {
      drawnHeight = printableHeight;
      drawnWidth = printableHeight * widthPx / heightPx;
    }
  }
  // The position list offers 0..8 only; anything else is placed like the
  // default position, Center.
  if (position < 0 || position >= kPagePositionCount) position = kPagePositionCenter;
  return {Offset(position % kPositionsPerRow, printableWidth, drawnWidth),
          Offset(position / kPositionsPerRow, printableHeight, drawnHeight), drawnWidth, drawnHeight};
}

PaperTurn TurnFor(PrintOrientation orientation, double widthPx, double heightPx) {
  switch (orientation) {
    case PrintOrientation::Automatic:
      return widthPx > heightPx ? PaperTurn::Landscape : PaperTurn::Portrait;
    case PrintOrientation::Portrait:
      return PaperTurn::Portrait;
    case PrintOrientation::Landscape:
      return PaperTurn::Landscape;
    case PrintOrientation::AsPrinterIsSet:
      break;
  }
  return PaperTurn::AsPrinterIsSet;
}

PageRect SheetCell(int32_t cells, int32_t index, double printableWidth, double printableHeight) {
  const bool stacked = cells == 2 && printableHeight > printableWidth;
  const int32_t columns = cells == 4 || (cells == 2 && !stacked) ? 2 : 1;
  const int32_t rows = cells == 4 || stacked ? 2 : 1;
  if (index < 0 || index >= columns * rows) return {};
  const double width = (printableWidth - (columns - 1) * kCellGap) / columns;
  const double height = (printableHeight - (rows - 1) * kCellGap) / rows;
  const int32_t column = index % columns;
  const int32_t row = index / columns;
  return {column * (width + kCellGap), row * (height + kCellGap), width, height};
}

PageRect PlaceInCell(double widthPx, double heightPx, double ppi, const PageRect& cell, int32_t cells, bool fitToPage,
                     int32_t position) {
  PageRect placed = PlaceShot(widthPx, heightPx, ppi, cell.Width, cell.Height, fitToPage, position);
  if (cells > 1 && (placed.Width > cell.Width || placed.Height > cell.Height)) {
    placed = PlaceShot(widthPx, heightPx, ppi, cell.Width, cell.Height, true, position);
  }
  placed.X += cell.X;
  placed.Y += cell.Y;
  return placed;
}

PaperTurn SheetTurnFor(PrintOrientation orientation, int32_t cells, double widthPx, double heightPx) {
  return cells == 2 ? TurnFor(orientation, heightPx, widthPx) : TurnFor(orientation, widthPx, heightPx);
}

DeviceRect ToDevicePixels(const PageRect& inches, double dpiX, double dpiY) {
  const auto left = static_cast<float>(inches.X);
  const auto top = static_cast<float>(inches.Y);
  return {DeviceEdge(left, dpiX), DeviceEdge(top, dpiY), DeviceEdge(left + static_cast<float>(inches.Width), dpiX),
          DeviceEdge(top + static_cast<float>(inches.Height), dpiY)};
}

PicturePart PartOnPage(const DeviceRect& target, int32_t widthPx, int32_t heightPx, int32_t pageWidth,
                       int32_t pageHeight) {
  const Span across = SpanOnPage(target.Left, target.Right, widthPx, pageWidth);
  const Span down = SpanOnPage(target.Top, target.Bottom, heightPx, pageHeight);
  return {across.first, down.first, across.count, down.count, {across.start, down.start, across.end, down.end}};
}
