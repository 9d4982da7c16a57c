#include "services/output/print_shot.h"

#include <utility>

#include "services/output/page_file.h"
#include "services/output/stamp_watermark.h"

namespace {

namespace gp = Gdiplus::DllExports;

constexpr const char* kDocumentName = "Vorlane";

// The watermark goes into the picture's own pixels, so that the page carries
// it at the shot's resolution like the rest of the shot.
void StampPicture(PagePicture& picture, const KeptShot& shot, const Preferences& preferences) {
  const owners::GpBitmap image = picture.GdiplusBitmap();
  Gdiplus::GpGraphics* made = nullptr;
  if (image) gp::GdipGetImageGraphicsContext(image.get(), &made);
  const owners::GpGraphics graphics(made);
  StampWatermark(graphics.get(), static_cast<UINT>(picture.Width()), static_cast<UINT>(picture.Height()),
                 shot.WindowTitle(), shot.Taken(), preferences);
}

}  // namespace

KeptShot::KeptShot(owners::Bitmap captured, std::string windowTitle, const SYSTEMTIME& taken,
                   std::vector<ScreenRect> windows)
    : picture_(PagePicture::Of(std::move(captured))),
      width_(picture_->Width()),
      height_(picture_->Height()),
      windowTitle_(std::move(windowTitle)),
      taken_(taken),
      windows_(std::move(windows)) {}

PagePicture KeptShot::Picture() const {
  return picture_ ? picture_->Share() : PagePicture::Unpacked(packed_, width_, height_);
}

// Pixels that would not pack to half their room (noise, photographs) are
// kept as taken: packing them would save little and cost time to unpack.
void KeptShot::Pack() {
  if (!picture_ || std::exchange(packingTried_, true)) return;
  std::optional<std::vector<uint8_t>> packed = picture_->Packed(picture_->Bytes() / 2);
  if (!packed) return;
  packed_ = std::move(*packed);
  picture_.reset();
}

// Every step that writes pixels makes the picture's pixels its own first
// (LightenDarkParts, GdiplusBitmap), so that the kept shot stays as taken.
PagePicture FinishedPicture(const KeptShot& shot, const Preferences& preferences) {
  PagePicture picture = shot.Picture();
  PaintForPaper(picture, preferences.PrintColors, shot.Windows());
  // Stamped on the colours made for paper, the watermark keeps the colour chosen for it.
  if (preferences.WatermarkMake) StampPicture(picture, shot, preferences);
  const bool blackAndWhite = static_cast<PaperColors>(preferences.PrintColors) == PaperColors::BlackAndWhite;
  if (preferences.PrintGrayscale || blackAndWhite) picture = picture.GrayCopy();
  if (blackAndWhite) picture = picture.InkCopy(shot.Windows());
  return picture;
}

void PrintSheet(Printer& printer, std::span<const KeptShot> shots, int32_t cells, const Preferences& preferences,
                double screenPpi) {
  if (shots.empty()) return;
  // Chosen first: while another job is open this refuses at once.
  printer.SelectIndex(printer.IndexOfPrinter(preferences.PrintPrinter));
  // Made before the page is drawn: a folder that cannot take it ends the sheet at once.
  PageFile pageFile = MakePageFile(printer.SelectedPrinterName(), preferences);

  std::vector<PagePicture> pictures;
  for (const KeptShot& shot : shots) pictures.push_back(FinishedPicture(shot, preferences));

  const PaperTurn turn = SheetTurnFor(static_cast<PrintOrientation>(preferences.PrintOrientation), cells,
                                      pictures.front().Width(), pictures.front().Height());
  PrintJob job(printer, kDocumentName, {turn, preferences.PrintCopies, pageFile.Path()});
  const PageScaling scaling = ScalingFor(job.dc());
  std::vector<PageRect> places;
  for (size_t cell = 0; cell < pictures.size(); ++cell) {
    places.push_back(PlacePicture(job.dc(), pictures[cell], {cells, static_cast<int32_t>(cell)},
                                  preferences.PrintFitToPage, preferences.PrintPagePosition, screenPpi));
  }
  for (int page = 0; page < job.Pages(); ++page) {
    if (page > 0) job.NextPage();
    for (size_t cell = 0; cell < pictures.size(); ++cell) DrawPicture(job.dc(), pictures[cell], places[cell], scaling);
  }
  job.End();
  pageFile.Keep();
}
