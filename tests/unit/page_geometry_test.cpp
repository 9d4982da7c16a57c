#include "core/output/page_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace {

void ExpectRect(const PageRect& actual, const PageRect& expected) {
  EXPECT_DOUBLE_EQ(actual.X, expected.X);
  EXPECT_DOUBLE_EQ(actual.Y, expected.Y);
  EXPECT_DOUBLE_EQ(actual.Width, expected.Width);
  EXPECT_DOUBLE_EQ(actual.Height, expected.Height);
}

}  // namespace

TEST(PageGeometry, NaturalSizeIsPixelsOverPixelsPerInch) {
  ExpectRect(PlaceShot(960, 480, 96, 8, 10.5, false, 0), {0, 0, 10, 5});
  ExpectRect(PlaceShot(1440, 900, 144, 8, 10.5, false, 0), {0, 0, 10, 6.25});
  ExpectRect(PlaceShot(120, 60, 120, 8, 10.5, false, 0), {0, 0, 1, 0.5});
  ExpectRect(PlaceShot(3, 2, 0.5, 8, 10.5, false, 0), {0, 0, 6, 4});  // under one pixel per inch
}

TEST(PageGeometry, FittingKeepsTheAspectRatioAndTouchesTheLimitingEdge) {
  struct Case {
    const char* name;
    double widthPx, heightPx, ppi, printableWidth, printableHeight;
    PageRect placedAtCenter;
  } cases[] = {
      {"wide shot, width limits", 1920, 1080, 96, 8, 10.5, {0, 3, 8, 4.5}},
      {"tall shot, height limits", 600, 1200, 96, 8, 10, {1.5, 0, 5, 10}},
      {"small shot is enlarged", 96, 48, 96, 8, 10, {0, 3, 8, 4}},
      {"landscape page", 800, 600, 96, 10, 7.5, {0, 0, 10, 7.5}},
      {"resolution does not matter", 800, 600, 192, 10, 7.5, {0, 0, 10, 7.5}},
      {"huge shot is reduced", 19200, 4800, 96, 8, 10, {0, 4, 8, 2}},
      {"one pixel fills the width", 1, 1, 96, 8, 10, {0, 1, 8, 8}},
      {"label narrower than an inch", 800, 600, 96, 0.8, 3, {0, 1.2, 0.8, 0.6}},
      {"label lower than an inch", 600, 800, 96, 3, 0.8, {1.2, 0, 0.6, 0.8}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PageRect placed = PlaceShot(c.widthPx, c.heightPx, c.ppi, c.printableWidth, c.printableHeight, true, 4);
    ExpectRect(placed, c.placedAtCenter);
    EXPECT_DOUBLE_EQ(placed.Width / placed.Height, c.widthPx / c.heightPx);
    EXPECT_LE(placed.Width, c.printableWidth);
    EXPECT_LE(placed.Height, c.printableHeight);
  }
}

TEST(PageGeometry, NinePositionsByColumnAndRow) {
  // 10 x 5 inches on a 12 x 9 inch printable area leaves 2 and 4 inches over.
  const PageRect expected[kPagePositionCount] = {
      {0, 0, 10, 5}, {1, 0, 10, 5}, {2, 0, 10, 5},  //
      {0, 2, 10, 5}, {1, 2, 10, 5}, {2, 2, 10, 5},  //
      {0, 4, 10, 5}, {1, 4, 10, 5}, {2, 4, 10, 5},
  };
  for (int32_t position = 0; position < kPagePositionCount; ++position) {
    SCOPED_TRACE(position);
    ExpectRect(PlaceShot(960, 480, 96, 12, 9, false, position), expected[position]);
  }
}

TEST(PageGeometry, FittedShotsArePositionedByTheSameArithmetic) {
  // 8 x 4 inches fitted into 8 x 10: no room across, 6 inches down.
  const double expectedY[3] = {0, 3, 6};
  for (int32_t position = 0; position < kPagePositionCount; ++position) {
    SCOPED_TRACE(position);
    ExpectRect(PlaceShot(200, 100, 96, 8, 10, true, position), {0, expectedY[position / 3], 8, 4});
  }
}

TEST(PageGeometry, OversizedShotLosesEqualPartsAtBothEdgesWhenCentred) {
  PageRect placed = PlaceShot(1920, 1440, 96, 8, 10, false, 4);
  ExpectRect(placed, {-6, -2.5, 20, 15});
  EXPECT_DOUBLE_EQ(-placed.X, placed.X + placed.Width - 8);
  EXPECT_DOUBLE_EQ(-placed.Y, placed.Y + placed.Height - 10);

  ExpectRect(PlaceShot(1920, 1440, 96, 8, 10, false, 8), {-12, -5, 20, 15});
}

TEST(PageGeometry, PositionsOutsideTheListArePlacedAtTheCenter) {
  const int32_t outside[] = {-1, 9, 10, 100, INT32_MIN, INT32_MAX};
  for (int32_t position : outside) {
    SCOPED_TRACE(position);
    ExpectRect(PlaceShot(960, 480, 96, 12, 9, false, position), {1, 2, 10, 5});
    ExpectRect(PlaceShot(960, 480, 96, 12, 9, true, position), {0, 1.5, 12, 6});
  }
}

TEST(PageGeometry, SizesWithoutAreaGiveAnEmptyRectangle) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* name;
    double widthPx, heightPx, ppi, printableWidth, printableHeight;
    bool fit;
  } cases[] = {
      {"no width", 0, 480, 96, 8, 10, false},
      {"no height", 960, 0, 96, 8, 10, true},
      {"no resolution", 960, 480, 0, 8, 10, false},
      {"negative resolution", 960, 480, -96, 8, 10, false},
      {"negative width", -960, 480, 96, 8, 10, true},
      {"unknown resolution", 960, 480, nan, 8, 10, false},
      {"fitting into no width", 960, 480, 96, 0, 10, true},
      {"fitting into a negative height", 960, 480, 96, 8, -1, true},
      {"fitting into no height", 960, 480, 96, 8, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PageRect placed = PlaceShot(c.widthPx, c.heightPx, c.ppi, c.printableWidth, c.printableHeight, c.fit, 4);
    ExpectRect(placed, {0, 0, 0, 0});
  }
}

TEST(PageGeometry, TheOrientationTurnsThePageAndAutomaticFollowsTheShot) {
  using O = PrintOrientation;
  using T = PaperTurn;
  const struct {
    PrintOrientation orientation;
    double widthPx, heightPx;
    PaperTurn turn;
  } cases[] = {
      {O::AsPrinterIsSet, 1920, 1080, T::AsPrinterIsSet},
      {O::AsPrinterIsSet, 480, 640, T::AsPrinterIsSet},
      {O::Automatic, 1920, 1080, T::Landscape},
      {O::Automatic, 480, 640, T::Portrait},
      {O::Automatic, 500, 500, T::Portrait},
      {O::Automatic, 0, 0, T::Portrait},
      {O::Portrait, 1920, 1080, T::Portrait},
      {O::Landscape, 480, 640, T::Landscape},
      {static_cast<O>(kPrintOrientationCount), 1920, 1080, T::AsPrinterIsSet},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.orientation));
    SCOPED_TRACE(c.widthPx);
    EXPECT_EQ(TurnFor(c.orientation, c.widthPx, c.heightPx), c.turn);
  }
}

TEST(PageGeometry, DevicePixelsRoundEachEdgeAsGdiplusDoes) {
  // The printable width of A4 at 300 dpi, as the device gives it: 2479 dots.
  const float a4Width = 2479.0f / 300.0f;
  const struct {
    const char* name;
    PageRect inches;
    double dpiX, dpiY;
    DeviceRect pixels;
  } cases[] = {
      {"whole dots", {0.1, 0.2, 7.5, 4.22}, 300, 300, {30, 60, 2280, 1326}},
      {"each edge on its own, not the width", {0.1017, 0.2, 7.49933, 4.22}, 300, 300, {31, 60, 2280, 1326}},
      {"below a half rounds down", {0.1013, 0.2, 7.5, 4.22}, 300, 300, {30, 60, 2280, 1326}},
      {"above a half rounds up", {0.102, 0.2, 7.5, 4.22}, 300, 300, {31, 60, 2281, 1326}},
      {"each axis at its resolution", {1, 1, 2, 2}, 300, 600, {300, 600, 900, 1800}},
      {"off the page", {-6, -2.5, 20, 15}, 300, 300, {-1800, -750, 4200, 3750}},
      {"nothing to place", {}, 300, 300, {0, 0, 0, 0}},
      {"a half rounds up", {0.005, 0.005, 1, 1}, 300, 300, {2, 2, 302, 302}},
      // Four pixels at natural size against the right edge of A4: their left
      // edge is 2466.4999962 dots in doubles, 2466.5 in floats.
      {"natural size at the right edge", PlaceShot(4, 4, 96, a4Width, 10, false, 2), 300, 300, {2467, 0, 2479, 13}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const DeviceRect pixels = ToDevicePixels(c.inches, c.dpiX, c.dpiY);
    EXPECT_EQ(pixels.Left, c.pixels.Left);
    EXPECT_EQ(pixels.Top, c.pixels.Top);
    EXPECT_EQ(pixels.Right, c.pixels.Right);
    EXPECT_EQ(pixels.Bottom, c.pixels.Bottom);
  }
}

TEST(PageGeometry, OnlyThePixelsOnThePageAreDrawnWhereTheWholePictureWouldPutThem) {
  const struct {
    const char* name;
    DeviceRect target;
    int32_t widthPx, heightPx, pageWidth, pageHeight;
    PicturePart part;
  } cases[] = {
      {"on the page: all of it", {10, 20, 110, 70}, 50, 25, 200, 100, {0, 0, 50, 25, {10, 20, 110, 70}}},
      {"filling the page exactly", {0, 0, 200, 100}, 50, 25, 200, 100, {0, 0, 50, 25, {0, 0, 200, 100}}},
      {"off the left edge", {-150, 0, 50, 200}, 20, 20, 1920, 1080, {15, 0, 5, 20, {0, 0, 50, 200}}},
      {"off the right and bottom edges",
       {1900, 1060, 2100, 1260},
       20,
       20,
       1920,
       1080,
       {0, 0, 2, 2, {1900, 1060, 1920, 1080}}},
      {"over both edges", {-100, 0, 2100, 100}, 22, 1, 1920, 1080, {1, 0, 20, 1, {0, 0, 2000, 100}}},
      // 170 x 240 pixels at 20 to the inch, centred on A4 at 300 dpi: the cut
      // edges move by less than half a dot and stay off the page.
      {"at a scale of no whole dots",
       {-35, -46, 2514, 3554},
       170,
       240,
       2479,
       3508,
       {2, 3, 166, 234, {-5, -1, 2484, 3509}}},
      {"beside the page", {2000, 0, 2100, 100}, 10, 10, 1920, 1080, {0, 0, 0, 10, {2000, 0, 2000, 100}}},
      {"beside the page on the left, touching it",
       {-100, 0, 0, 10},
       10,
       10,
       1000,
       100,
       {0, 0, 0, 10, {-100, 0, -100, 10}}},
      {"a dot a pixel, half off the left edge",
       {-100, 0, 100, 10},
       200,
       10,
       1000,
       100,
       {100, 0, 100, 10, {0, 0, 100, 10}}},
      // Three dots of the page reach just past the first pixel's three.
      {"a sliver of the second pixel on the page", {0, 0, 299, 10}, 100, 10, 3, 100, {0, 0, 2, 10, {0, 0, 6, 10}}},
      {"nothing to draw", {0, 0, 0, 0}, 10, 10, 1920, 1080, {0, 0, 10, 10, {0, 0, 0, 0}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PicturePart part = PartOnPage(c.target, c.widthPx, c.heightPx, c.pageWidth, c.pageHeight);
    EXPECT_EQ(part.SourceX, c.part.SourceX);
    EXPECT_EQ(part.SourceY, c.part.SourceY);
    EXPECT_EQ(part.SourceWidth, c.part.SourceWidth);
    EXPECT_EQ(part.SourceHeight, c.part.SourceHeight);
    EXPECT_EQ(part.Target.Left, c.part.Target.Left);
    EXPECT_EQ(part.Target.Top, c.part.Target.Top);
    EXPECT_EQ(part.Target.Right, c.part.Target.Right);
    EXPECT_EQ(part.Target.Bottom, c.part.Target.Bottom);
  }
}

TEST(PageGeometry, ASheetsCellsAreEqualInReadingOrderAndStackedOnlyOnATallPage) {
  constexpr double kCellHeight = (10.5 - kCellGap) / 2;  // of two rows on 8 x 10.5 inches
  constexpr double kLower = kCellHeight + kCellGap;
  constexpr double kCellWidth = (8 - kCellGap) / 2;  // of two columns
  constexpr double kRight = kCellWidth + kCellGap;
  const struct {
    const char* name;
    int32_t cells, index;
    double printableWidth, printableHeight;
    PageRect cell;
  } cases[] = {
      {"one: the whole area", 1, 0, 8, 10.5, {0, 0, 8, 10.5}},
      {"two on a tall page: above", 2, 0, 8, 10.5, {0, 0, 8, kCellHeight}},
      {"two on a tall page: below", 2, 1, 8, 10.5, {0, kLower, 8, kCellHeight}},
      {"two on a wide page: right", 2, 1, 10.5, 8, {kLower, 0, kCellHeight, 8}},
      {"two on a square page: side by side", 2, 1, 8, 8, {kRight, 0, kCellWidth, 8}},
      {"four: first row, right", 4, 1, 8, 10.5, {kRight, 0, kCellWidth, kCellHeight}},
      {"four: second row, left", 4, 2, 8, 10.5, {0, kLower, kCellWidth, kCellHeight}},
      {"four: second row, right", 4, 3, 8, 10.5, {kRight, kLower, kCellWidth, kCellHeight}},
      {"any other count is one cell", 3, 0, 8, 10.5, {0, 0, 8, 10.5}},
      {"a cell beyond the sheet", 2, 2, 8, 10.5, {}},
      {"a cell before the sheet", 4, -1, 8, 10.5, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectRect(SheetCell(c.cells, c.index, c.printableWidth, c.printableHeight), c.cell);
  }
}

TEST(PageGeometry, AShotFillsItsCellAsAPageAndCoversNoOther) {
  const PageRect lower = SheetCell(2, 1, 8, 10.5);   // {0, 5.375, 8, 5.125}
  const PageRect fourth = SheetCell(4, 3, 8, 10.5);  // {4.125, 5.375, 3.875, 5.125}
  const PageRect first = SheetCell(4, 0, 8, 10.5);   // {0, 0, 3.875, 5.125}
  const struct {
    const char* name;
    double widthPx, heightPx;
    PageRect cell;
    int32_t cells;
    bool fit;
    int32_t position;
    PageRect placed;
  } cases[] = {
      {"alone, as on a page: oversized", 1920, 1440, {0, 0, 8, 10}, 1, false, 4, {-6, -2.5, 20, 15}},
      {"shared, beyond its cell: fitted", 1920, 1080, lower, 2, false, 4, {0, 5.6875, 8, 4.5}},
      {"shared, within its cell: natural", 96, 48, fourth, 4, false, 0, {4.125, 5.375, 1, 0.5}},
      {"shared, fitted, enlarged", 96, 96, lower, 2, true, 5, {8 - 5.125, 5.375, 5.125, 5.125}},
      {"shared, fitted, bottom right", 1920, 1080, first, 4, true, 8, {0, 5.125 - 2.1796875, 3.875, 2.1796875}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectRect(PlaceInCell(c.widthPx, c.heightPx, 96, c.cell, c.cells, c.fit, c.position), c.placed);
  }
}

TEST(PageGeometry, AutomaticGivesASheetsCellsTheShapeOfItsShots) {
  using O = PrintOrientation;
  using T = PaperTurn;
  const struct {
    PrintOrientation orientation;
    int32_t cells;
    double widthPx, heightPx;
    PaperTurn turn;
  } cases[] = {
      {O::Automatic, 1, 1920, 1080, T::Landscape}, {O::Automatic, 4, 1920, 1080, T::Landscape},
      {O::Automatic, 2, 1920, 1080, T::Portrait},  {O::Automatic, 2, 480, 640, T::Landscape},
      {O::Automatic, 2, 500, 500, T::Portrait},    {O::AsPrinterIsSet, 2, 480, 640, T::AsPrinterIsSet},
      {O::Landscape, 2, 1920, 1080, T::Landscape},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.orientation) << ", " << c.cells << " cells, " << c.widthPx
                                    << " x " << c.heightPx);
    EXPECT_EQ(SheetTurnFor(c.orientation, c.cells, c.widthPx, c.heightPx), c.turn);
  }
}
