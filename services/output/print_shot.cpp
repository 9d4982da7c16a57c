#include "services/output/print_shot.h"

#include <utility>

#include "core/output/page_geometry.h"
#include "services/output/page_file.h"
#include "services/output/stamp_watermark.h"

namespace {

namespace gp = Gdiplus::DllExports;

// The page's printable area in inches. It is measured in device pixels and
// divided by the device resolution, because some GDI+ builds round visible
// clip bounds to whole page units, and a whole inch is far too coarse.
Gdiplus::GpRectF PrintableInches(Gdiplus::GpGraphics* graphics) {
  gp::GdipSetPageUnit(graphics, Gdiplus::UnitPixel);
  Gdiplus::GpRectF bounds{};
  gp::GdipGetVisibleClipBounds(graphics, &bounds);
  Gdiplus::REAL dpiX = 0;
  Gdiplus::REAL dpiY = 0;
  gp::GdipGetDpiX(graphics, &dpiX);
  gp::GdipGetDpiY(graphics, &dpiY);
  if (dpiX <= 0 || dpiY <= 0) return {};
  return {bounds.X / dpiX, bounds.Y / dpiY, bounds.Width / dpiX, bounds.Height / dpiY};
}

constexpr const char* kDocumentName = "Vorlane";

// Each colour becomes the gray of its luminance (ITU-R BT.601 weights);
// transparency stays.
constexpr Gdiplus::ColorMatrix kGrayMatrix = {{
    {0.299f, 0.299f, 0.299f, 0, 0},
    {0.587f, 0.587f, 0.587f, 0, 0},
    {0.114f, 0.114f, 0.114f, 0, 0},
    {0, 0, 0, 1, 0},
    {0, 0, 0, 0, 1},
}};

owners::GpImageAttributes GrayAttributes() {
  Gdiplus::GpImageAttributes* made = nullptr;
  gp::GdipCreateImageAttributes(&made);
  owners::GpImageAttributes attributes(made);
  if (attributes) {
    gp::GdipSetImageAttributesColorMatrix(attributes.get(), Gdiplus::ColorAdjustTypeDefault, TRUE, &kGrayMatrix,
                                          nullptr, Gdiplus::ColorMatrixFlagsDefault);
  }
  return attributes;
}

// Draws the shot on the page as the fit rule and the position place it.
// A shot GDI+ could not copy has no pixels: the page stays blank.
void DrawPage(HDC dc, Gdiplus::GpBitmap* shot, UINT widthPx, UINT heightPx, Gdiplus::GpImageAttributes* colors,
              const Preferences& preferences, double screenPpi) {
  if (!shot) return;
  Gdiplus::GpGraphics* page = nullptr;
  gp::GdipCreateFromHDC(dc, &page);
  const owners::GpGraphics printerGraphics(page);
  const Gdiplus::GpRectF printable = PrintableInches(printerGraphics.get());
  gp::GdipSetPageUnit(printerGraphics.get(), Gdiplus::UnitInch);
  gp::GdipSetInterpolationMode(printerGraphics.get(), Gdiplus::InterpolationModeHighQuality);
  const PageRect place = PlaceShot(widthPx, heightPx, screenPpi, printable.Width, printable.Height,
                                   preferences.PrintFitToPage, preferences.PrintPagePosition);
  gp::GdipDrawImageRectRect(printerGraphics.get(), shot, static_cast<float>(place.X), static_cast<float>(place.Y),
                            static_cast<float>(place.Width), static_cast<float>(place.Height), 0, 0,
                            static_cast<float>(widthPx), static_cast<float>(heightPx), Gdiplus::UnitPixel, colors,
                            nullptr, nullptr);
}

}  // namespace

void PrintShot(Printer& printer, owners::Bitmap capturedBitmap, const std::string& windowTitle,
               const Preferences& preferences, double screenPpi) {
  // Declared first so that it is released last, after the GDI+ copy.
  const owners::Bitmap captured = std::move(capturedBitmap);
  // Chosen first: while another job is open this refuses at once.
  printer.SelectIndex(printer.IndexOfPrinter(preferences.PrintPrinter));
  // Made before the page is drawn: a folder that cannot take it ends the shot at once.
  PageFile pageFile = MakePageFile(printer.SelectedPrinterName(), preferences);

  Gdiplus::GpBitmap* copy = nullptr;
  gp::GdipCreateBitmapFromHBITMAP(captured.get(), nullptr, &copy);
  const owners::GpBitmap shotImage(copy);
  Gdiplus::GpGraphics* drawing = nullptr;
  gp::GdipGetImageGraphicsContext(shotImage.get(), &drawing);
  const owners::GpGraphics imageGraphics(drawing);
  UINT widthPx = 0;
  UINT heightPx = 0;
  gp::GdipGetImageWidth(shotImage.get(), &widthPx);
  gp::GdipGetImageHeight(shotImage.get(), &heightPx);

  if (preferences.WatermarkMake) {
    StampWatermark(imageGraphics.get(), widthPx, heightPx, windowTitle, preferences);
  }

  const owners::GpImageAttributes gray = preferences.PrintGrayscale ? GrayAttributes() : owners::GpImageAttributes();
  const PaperTurn turn = TurnFor(static_cast<PrintOrientation>(preferences.PrintOrientation), widthPx, heightPx);
  PrintJob job(printer, kDocumentName, {turn, preferences.PrintCopies, pageFile.Path()});
  for (int page = 0; page < job.Pages(); ++page) {
    if (page > 0) job.NextPage();
    DrawPage(job.dc(), shotImage.get(), widthPx, heightPx, gray.get(), preferences, screenPpi);
  }
  job.End();
  pageFile.Keep();
}
