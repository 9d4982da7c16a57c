#include "services/output/page_picture.h"

#include <cstddef>
#include <cstring>
#include <utility>

#include "core/output/gray_pixels.h"
#include "core/output/packed_pixels.h"
#include "core/output/paper_colors.h"
#include "core/output/paper_ink.h"

namespace {

namespace gp = Gdiplus::DllExports;

constexpr int kColourBits = 24;
constexpr int kGrayBits = 8;
constexpr int kInkBits = 1;
constexpr int kGrayLevels = 256;
constexpr int kInkColours = 2;  // black ink, white paper
constexpr Gdiplus::ARGB kOpaque = 0xFF000000;
constexpr Gdiplus::ARGB kGrayStep = 0x010101;  // one step of red, green and blue alike

// A GDI+ palette of up to 256 grays; ColorPalette itself declares one entry.
struct GrayPalette {
  UINT flags = Gdiplus::PaletteFlagsGrayScale;
  UINT count = 0;
  Gdiplus::ARGB entries[kGrayLevels]{};
};

// The program's own scaling: GDI+ resamples the picture to the device's
// resolution at high quality and draws that, as the page was always made
// before the driver was given the picture itself.
void DrawResampled(HDC page, PagePicture& picture, const PageRect& place) {
  const owners::GpBitmap image = picture.GdiplusBitmap();
  Gdiplus::GpGraphics* made = nullptr;
  gp::GdipCreateFromHDC(page, &made);
  const owners::GpGraphics graphics(made);
  gp::GdipSetPageUnit(graphics.get(), Gdiplus::UnitInch);
  gp::GdipSetInterpolationMode(graphics.get(), Gdiplus::InterpolationModeHighQuality);
  gp::GdipDrawImageRectRect(graphics.get(), image.get(), static_cast<float>(place.X), static_cast<float>(place.Y),
                            static_cast<float>(place.Width), static_cast<float>(place.Height), 0, 0,
                            static_cast<float>(picture.Width()), static_cast<float>(picture.Height()),
                            Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
}

}  // namespace

PagePicture::PagePicture(int width, int height, int bitsPerPixel) {
  header_.info.biSize = sizeof header_.info;
  header_.info.biPlanes = 1;
  header_.info.biBitCount = static_cast<WORD>(bitsPerPixel);
  header_.info.biCompression = BI_RGB;
  if (bitsPerPixel == kGrayBits || bitsPerPixel == kInkBits) {
    const int levels = bitsPerPixel == kGrayBits ? kGrayLevels : kInkColours;
    header_.info.biClrUsed = static_cast<DWORD>(levels);
    for (int level = 0; level < levels; ++level) {
      const auto gray = static_cast<BYTE>(level * (kGrayLevels - 1) / (levels - 1));
      header_.colors[level] = {gray, gray, gray, 0};
    }
  }
  if (width <= 0 || height <= 0) return;
  header_.info.biWidth = width;
  // Negative: the top row comes first, as GDI+ expects its rows.
  header_.info.biHeight = -height;
  owners::Bitmap section(
      CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&header_), DIB_RGB_COLORS, &bits_, nullptr, 0));
  if (!section) {
    bits_ = nullptr;
    return;
  }
  section_ = std::make_shared<const owners::Bitmap>(std::move(section));
}

PagePicture::PagePicture(PagePicture&& other) noexcept
    : header_(other.header_), section_(std::move(other.section_)), bits_(std::exchange(other.bits_, nullptr)) {}

PagePicture& PagePicture::operator=(PagePicture&& other) noexcept {
  header_ = other.header_;
  section_ = std::move(other.section_);
  bits_ = std::exchange(other.bits_, nullptr);
  return *this;
}

PagePicture PagePicture::Of(owners::Bitmap shot) {
  BITMAP size{};
  if (!GetObjectW(shot.get(), sizeof size, &size)) return PagePicture(0, 0, kColourBits);
  PagePicture picture(size.bmWidth, size.bmHeight, kColourBits);
  if (picture.Empty()) return picture;
  // GetDIBits writes into the header it is given: it gets a copy.
  BITMAPINFO header{};
  header.bmiHeader = picture.header_.info;
  const owners::MemoryDc dc(CreateCompatibleDC(nullptr));
  if (GetDIBits(dc.get(), shot.get(), 0, size.bmHeight, picture.bits_, &header, DIB_RGB_COLORS) != size.bmHeight) {
    return PagePicture(0, 0, kColourBits);
  }
  return picture;
}

PagePicture PagePicture::GrayCopy() const {
  if (Empty() || header_.info.biBitCount != kColourBits) return PagePicture(0, 0, kGrayBits);
  PagePicture gray(Width(), Height(), kGrayBits);
  if (gray.Empty()) return gray;
  const size_t colourStride = DibStride(Width(), kColourBits);
  const size_t grayStride = DibStride(Width(), kGrayBits);
  const auto* colour = static_cast<const uint8_t*>(bits_);
  auto* grayRows = static_cast<uint8_t*>(gray.bits_);
  for (int row = 0; row < Height(); ++row) {
    GrayRow(colour + row * colourStride, static_cast<size_t>(Width()), grayRows + row * grayStride);
  }
  return gray;
}

PagePicture PagePicture::Share() const {
  PagePicture shared(0, 0, header_.info.biBitCount);
  shared.header_ = header_;
  shared.section_ = section_;
  shared.bits_ = bits_;
  return shared;
}

std::optional<std::vector<uint8_t>> PagePicture::Packed(size_t most) const {
  if (header_.info.biBitCount != kColourBits) return std::nullopt;
  if (Empty()) return std::vector<uint8_t>();
  return PackPixels(static_cast<const uint8_t*>(bits_), Width(), Height(), DibStride(Width(), kColourBits), most);
}

size_t PagePicture::Bytes() const {
  return Empty() ? 0 : DibStride(Width(), header_.info.biBitCount) * static_cast<size_t>(Height());
}

PagePicture PagePicture::Unpacked(std::span<const uint8_t> packed, int width, int height) {
  PagePicture picture(width, height, kColourBits);
  if (picture.Empty() ||
      !UnpackPixels(packed, static_cast<uint8_t*>(picture.bits_), width, height, DibStride(width, kColourBits))) {
    return PagePicture(0, 0, kColourBits);
  }
  return picture;
}

PagePicture PagePicture::InkCopy(std::span<const ScreenRect> windows) const {
  if (Empty() || header_.info.biBitCount != kGrayBits) return PagePicture(0, 0, kInkBits);
  PagePicture ink(Width(), Height(), kInkBits);
  if (ink.Empty()) return ink;
  InkRows({static_cast<const uint8_t*>(bits_), Width(), Height(), DibStride(Width(), kGrayBits)}, windows,
          static_cast<uint8_t*>(ink.bits_), DibStride(Width(), kInkBits));
  return ink;
}

// A picture with nothing dark stays shared with its kept shot. Pixels shared
// otherwise are painted into the picture's own, in the one pass, so that the
// shot stays as taken; a picture that cannot have its own is left without
// pixels, as a gray copy that cannot be made is.
void PagePicture::LightenDarkParts(std::span<const ScreenRect> windows) {
  if (Empty() || header_.info.biBitCount != kColourBits) return;
  const size_t stride = DibStride(Width(), kColourBits);
  const ColourRows rows{static_cast<uint8_t*>(bits_), Width(), Height(), stride};
  const std::vector<JudgedPart> parts = JudgeParts(rows, windows);
  if (!AnyDark(parts)) return;
  if (section_.use_count() <= 1) {
    PaintParts(rows, rows, parts);
    return;
  }
  PagePicture own(Width(), Height(), kColourBits);
  if (!own.Empty()) PaintParts(rows, {static_cast<uint8_t*>(own.bits_), Width(), Height(), stride}, parts);
  *this = std::move(own);
}

void PaintForPaper(PagePicture& picture, int32_t printColors, std::span<const ScreenRect> windows) {
  if (static_cast<PaperColors>(printColors) != PaperColors::AsOnScreen) picture.LightenDarkParts(windows);
}

PagePicture::Rows PagePicture::RowsFrom(int first, int count) const {
  Rows rows{header_, static_cast<const uint8_t*>(bits_) + first * DibStride(Width(), header_.info.biBitCount)};
  rows.header.info.biHeight = -count;
  return rows;
}

bool PagePicture::MakeOwn() {
  if (section_.use_count() <= 1) return true;
  const int bits = header_.info.biBitCount;
  PagePicture own(Width(), Height(), bits);
  if (own.Empty()) return false;
  std::memcpy(own.bits_, bits_, Bytes());
  *this = std::move(own);
  return true;
}

owners::GpBitmap PagePicture::GdiplusBitmap() {
  if (Empty() || !MakeOwn()) return {};
  const int bits = header_.info.biBitCount;
  const Gdiplus::PixelFormat format = bits == kGrayBits  ? PixelFormat8bppIndexed
                                      : bits == kInkBits ? PixelFormat1bppIndexed
                                                         : PixelFormat24bppRGB;
  Gdiplus::GpBitmap* made = nullptr;
  gp::GdipCreateBitmapFromScan0(Width(), Height(), static_cast<INT>(DibStride(Width(), bits)), format,
                                static_cast<BYTE*>(bits_), &made);
  owners::GpBitmap image(made);
  if (image && bits != kColourBits) {
    GrayPalette palette;
    palette.count = header_.info.biClrUsed;
    for (UINT level = 0; level < palette.count; ++level) {
      palette.entries[level] = kOpaque | static_cast<Gdiplus::ARGB>(header_.colors[level].rgbBlue) * kGrayStep;
    }
    gp::GdipSetImagePalette(image.get(), reinterpret_cast<const Gdiplus::ColorPalette*>(&palette));
  }
  return image;
}

// A driver that cannot stretch a picture (no RC_STRETCHDIB) leaves that to
// GDI, which makes a picture of the device's resolution from it with a
// coarser stretch than GDI+'s and sends the driver that: as many bytes as a
// resampled page, and a rougher one. Such a driver gets the program's own
// resampling, as every page did before.
PageScaling ScalingFor(HDC page) {
  return (GetDeviceCaps(page, RASTERCAPS) & RC_STRETCHDIB) ? PageScaling::ByDevice : PageScaling::ByProgram;
}

// The printable area is divided in single precision, as GDI+ measured it when
// it drew the page, so that the picture keeps the place it had to the dot.
PageRect PlacePicture(HDC page, const PagePicture& picture, SheetPlace place, bool fitToPage, int32_t position,
                      double screenPpi) {
  const auto dpiX = static_cast<float>(GetDeviceCaps(page, LOGPIXELSX));
  const auto dpiY = static_cast<float>(GetDeviceCaps(page, LOGPIXELSY));
  const float printableWidth = dpiX > 0 ? static_cast<float>(GetDeviceCaps(page, HORZRES)) / dpiX : 0;
  const float printableHeight = dpiY > 0 ? static_cast<float>(GetDeviceCaps(page, VERTRES)) / dpiY : 0;
  const PageRect cell = SheetCell(place.cells, place.cell, printableWidth, printableHeight);
  return PlaceInCell(picture.Width(), picture.Height(), screenPpi, cell, place.cells, fitToPage, position);
}

void DrawPicture(HDC page, PagePicture& picture, const PageRect& place, PageScaling scaling) {
  if (picture.Empty()) return;
  if (scaling == PageScaling::ByProgram) {
    DrawResampled(page, picture, place);
    return;
  }
  const DeviceRect target = ToDevicePixels(place, GetDeviceCaps(page, LOGPIXELSX), GetDeviceCaps(page, LOGPIXELSY));
  // A shot larger than the page at its natural size sends only what the paper shows.
  const PicturePart part =
      PartOnPage(target, picture.Width(), picture.Height(), GetDeviceCaps(page, HORZRES), GetDeviceCaps(page, VERTRES));
  // The rows go as a picture of their own: systems differ on which end of a
  // top-down picture StretchDIBits counts its source rows from.
  const PagePicture::Rows rows = picture.RowsFrom(part.SourceY, part.SourceHeight);
  // Asks for the smoothing the device has; HALFTONE wants the brush origin set after it.
  SetStretchBltMode(page, HALFTONE);
  SetBrushOrgEx(page, 0, 0, nullptr);
  // As the GDI+ drawing was, a picture the driver refuses leaves the page blank.
  StretchDIBits(page, part.Target.Left, part.Target.Top, part.Target.Right - part.Target.Left,
                part.Target.Bottom - part.Target.Top, part.SourceX, 0, part.SourceWidth, part.SourceHeight, rows.bits,
                rows.Info(), DIB_RGB_COLORS, SRCCOPY);
}
