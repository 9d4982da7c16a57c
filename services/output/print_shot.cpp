#include "services/output/print_shot.h"

#include <utility>

#include "services/output/page_file.h"
#include "services/output/page_picture.h"
#include "services/output/stamp_watermark.h"

namespace {

namespace gp = Gdiplus::DllExports;

constexpr const char* kDocumentName = "Vorlane";

// The watermark goes into the picture's own pixels, so that the page carries
// it at the shot's resolution like the rest of the shot.
void StampPicture(PagePicture& picture, const std::string& windowTitle, const Preferences& preferences) {
  const owners::GpBitmap image = picture.GdiplusBitmap();
  Gdiplus::GpGraphics* made = nullptr;
  if (image) gp::GdipGetImageGraphicsContext(image.get(), &made);
  const owners::GpGraphics graphics(made);
  StampWatermark(graphics.get(), static_cast<UINT>(picture.Width()), static_cast<UINT>(picture.Height()), windowTitle,
                 preferences);
}

}  // namespace

void PrintShot(Printer& printer, owners::Bitmap capturedBitmap, const std::string& windowTitle,
               std::span<const ScreenRect> windows, const Preferences& preferences, double screenPpi) {
  // Owned from here on, so that it is released on every path.
  owners::Bitmap captured = std::move(capturedBitmap);
  // Chosen first: while another job is open this refuses at once.
  printer.SelectIndex(printer.IndexOfPrinter(preferences.PrintPrinter));
  // Made before the page is drawn: a folder that cannot take it ends the shot at once.
  PageFile pageFile = MakePageFile(printer.SelectedPrinterName(), preferences);

  PagePicture picture = PagePicture::Of(std::move(captured));
  PaintForPaper(picture, preferences.PrintColors, windows);
  // Stamped on the colours made for paper, the watermark keeps the colour chosen for it.
  if (preferences.WatermarkMake) StampPicture(picture, windowTitle, preferences);
  const bool blackAndWhite = static_cast<PaperColors>(preferences.PrintColors) == PaperColors::BlackAndWhite;
  if (preferences.PrintGrayscale || blackAndWhite) picture = picture.GrayCopy();
  if (blackAndWhite) picture = picture.InkCopy(windows);

  const PaperTurn turn =
      TurnFor(static_cast<PrintOrientation>(preferences.PrintOrientation), picture.Width(), picture.Height());
  PrintJob job(printer, kDocumentName, {turn, preferences.PrintCopies, pageFile.Path()});
  const PageScaling scaling = ScalingFor(job.dc());
  const PageRect place =
      PlacePicture(job.dc(), picture, preferences.PrintFitToPage, preferences.PrintPagePosition, screenPpi);
  for (int page = 0; page < job.Pages(); ++page) {
    if (page > 0) job.NextPage();
    DrawPicture(job.dc(), picture, place, scaling);
  }
  job.End();
  pageFile.Keep();
}
