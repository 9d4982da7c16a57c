#pragma once
// The shot as the page carries it: its own pixels, once, in a
// device-independent bitmap, and the rectangle of the page they fill.
#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <span>

#include "base/owners.h"
#include "core/capture/screen_choice.h"
#include "core/output/page_geometry.h"

class PagePicture {
 public:
  // A copy of the shot's pixels in 24-bit colour, top row first; the shot is
  // released. A bitmap that cannot be copied gives a picture without pixels,
  // which draws nothing.
  static PagePicture Of(owners::Bitmap shot);
  // A picture moved from has no pixels.
  PagePicture(PagePicture&& other) noexcept;
  PagePicture& operator=(PagePicture&& other) noexcept;
  PagePicture(const PagePicture&) = delete;
  PagePicture& operator=(const PagePicture&) = delete;
  ~PagePicture() = default;
  // The same colour picture in 8-bit gray, each pixel the gray of its
  // colour; a picture that is not in colour gives one without pixels.
  PagePicture GrayCopy() const;
  // The same gray picture in one bit a pixel, black ink on white paper,
  // each window of the shot (frontmost first, in its pixels) with a
  // threshold of its own (InkRows); a picture that is not in gray gives one
  // without pixels.
  PagePicture InkCopy(std::span<const ScreenRect> windows) const;
  // Turns the dark windows of a colour picture light (LightenDarkParts).
  void LightenDarkParts(std::span<const ScreenRect> windows);

  struct Header {
    BITMAPINFOHEADER info;
    RGBQUAD colors[256];  // the gray scale of an 8-bit picture, black and white of a 1-bit one
  };
  // Some rows of a picture as a device-independent bitmap of their own, over
  // the picture's pixels.
  struct Rows {
    Header header;
    const void* bits;
    const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(&header); }
  };

  int Width() const { return header_.info.biWidth; }
  int Height() const { return -header_.info.biHeight; }
  bool Empty() const { return bits_ == nullptr; }
  // count rows from the row first, counted from the top.
  Rows RowsFrom(int first, int count) const;

  // A GDI+ bitmap over these very pixels: what is drawn on it changes the
  // picture. Empty for a picture without pixels; the picture must outlive it.
  owners::GpBitmap GdiplusBitmap();

 private:
  PagePicture(int width, int height, int bitsPerPixel);

  Header header_{};
  owners::Bitmap section_;  // holds the pixels
  void* bits_ = nullptr;
};

// The picture's colours as PrintColors asks, right after the shot became a
// picture: as on screen it stays as it is; with a light background, and in
// black and white before it turns to one bit, the dark windows of the shot
// turn light.
void PaintForPaper(PagePicture& picture, int32_t printColors, std::span<const ScreenRect> windows);

// Who scales the picture to the rectangle it fills on the page.
enum class PageScaling {
  ByDevice,   // the driver gets the picture and the rectangle
  ByProgram,  // GDI+ resamples the picture to the device's resolution first
};

// ByDevice, unless the device's driver cannot stretch a picture itself.
PageScaling ScalingFor(HDC page);

// Where the fit rule and the position put the picture, in inches from the
// corner of the page's printable area; screenPpi gives the natural size.
PageRect PlacePicture(HDC page, const PagePicture& picture, bool fitToPage, int32_t position, double screenPpi);

// Draws the picture into its place on the page.
void DrawPicture(HDC page, PagePicture& picture, const PageRect& place, PageScaling scaling);
