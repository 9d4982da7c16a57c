#pragma once
// The shot as the page carries it: its own pixels, once, in a
// device-independent bitmap, and the rectangle of the page they fill.
#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

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
  // The same picture over the same pixels, which stay shared until one of
  // the two is drawn on (GdiplusBitmap) or has its colours changed
  // (LightenDarkParts): it then makes them its own first.
  PagePicture Share() const;

  // A colour picture's pixels packed small (PackPixels), when that takes at
  // most `most` bytes; nothing otherwise, nor for a picture not in colour.
  std::optional<std::vector<uint8_t>> Packed(size_t most) const;
  // The bytes its pixels take.
  size_t Bytes() const;
  // The colour picture of width x height pixels that Packed gave; one without
  // pixels when packed is no such packing.
  static PagePicture Unpacked(std::span<const uint8_t> packed, int width, int height);

  // The same gray picture in one bit a pixel, black ink on white paper,
  // each window of the shot (frontmost first, in its pixels) with a
  // threshold of its own (InkRows); a picture that is not in gray gives one
  // without pixels.
  PagePicture InkCopy(std::span<const ScreenRect> windows) const;
  // Turns the dark windows of a colour picture light (PaintParts), in pixels
  // of its own where it shares them.
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

  // A GDI+ bitmap over these very pixels, made the picture's own first: what
  // is drawn on it changes this picture alone. Empty for a picture without
  // pixels; the picture must outlive it.
  owners::GpBitmap GdiplusBitmap();

 private:
  PagePicture(int width, int height, int bitsPerPixel);
  // Copies pixels shared with another picture (Share), so that they can be
  // changed: whatever writes the pixels calls it first. False when no copy
  // can be made.
  bool MakeOwn();

  Header header_{};
  std::shared_ptr<const owners::Bitmap> section_;  // holds the pixels, shared with the pictures of Share
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

// The cell of a sheet a picture fills (SheetCell); the one cell of a sheet
// of one is the page's whole printable area.
struct SheetPlace {
  int32_t cells = 1;
  int32_t cell = 0;
};

// Where the fit rule and the position put the picture in its cell, in inches
// from the corner of the page's printable area; screenPpi gives the natural
// size.
PageRect PlacePicture(HDC page, const PagePicture& picture, SheetPlace place, bool fitToPage, int32_t position,
                      double screenPpi);

// Draws the picture into its place on the page.
void DrawPicture(HDC page, PagePicture& picture, const PageRect& place, PageScaling scaling);
