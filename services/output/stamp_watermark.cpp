#include "services/output/stamp_watermark.h"

#include <algorithm>
#include <vector>

#include "base/owners.h"
#include "base/system_text.h"
#include "core/output/watermark.h"

namespace gp = Gdiplus::DllExports;

namespace {

constexpr int kFirstBufferLength = 100;
// No locale format comes near this; it only keeps a broken formatter from
// doubling forever.
constexpr int kLongestBuffer = 1 << 20;

owners::GpFontFamily MakeFamily(const std::string& name) {
  Gdiplus::GpFontFamily* family = nullptr;
  // An empty name, a bitmap font or one no longer installed would leave the
  // watermark the user asked for off the page.
  if (gp::GdipCreateFontFamilyFromName(Wide(name).c_str(), nullptr, &family) != Gdiplus::Ok) {
    family = nullptr;
    gp::GdipGetGenericFontFamilySansSerif(&family);
  }
  // GDI+ counts references to its generic families too, so this one is
  // deleted like a created one.
  return owners::GpFontFamily(family);
}

// Narrows the clip of a graphics for one drawing and gives the caller back
// the graphics as it was.
class ClipToRect {
 public:
  ClipToRect(Gdiplus::GpGraphics* graphics, const Gdiplus::RectF& rect) : graphics_(graphics) {
    gp::GdipSaveGraphics(graphics_, &state_);
    gp::GdipSetClipRect(graphics_, rect.X, rect.Y, rect.Width, rect.Height, Gdiplus::CombineModeIntersect);
  }
  ~ClipToRect() { gp::GdipRestoreGraphics(graphics_, state_); }
  ClipToRect(const ClipToRect&) = delete;
  ClipToRect& operator=(const ClipToRect&) = delete;

 private:
  Gdiplus::GpGraphics* graphics_;
  Gdiplus::GraphicsState state_ = 0;
};

}  // namespace

std::string FetchLocaleText(const std::function<int(wchar_t* buffer, int length)>& format) {
  for (int length = kFirstBufferLength; length <= kLongestBuffer; length *= 2) {
    std::vector<wchar_t> buffer(static_cast<size_t>(length));
    const int written = format(buffer.data(), length);
    // The count includes the terminator.
    if (written > 0)
      return Narrow(std::wstring_view(buffer.data(), static_cast<size_t>(std::min(written, length) - 1)));
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
  }
  return {};
}

DateTimeTexts FormatDateAndTime(const SYSTEMTIME& when) {
  return {
      FetchLocaleText([&when](wchar_t* buffer, int length) {
        return GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr, buffer, length);
      }),
      FetchLocaleText([&when](wchar_t* buffer, int length) {
        return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &when, nullptr, buffer, length);
      }),
  };
}

std::string WatermarkTextAt(const std::string& text, const std::string& windowTitle, const SYSTEMTIME& taken) {
  const DateTimeTexts stamp = FormatDateAndTime(taken);
  return ExpandWatermarkText(text, stamp.date, stamp.time, windowTitle);
}

void StampWatermark(Gdiplus::GpGraphics* imageGraphics, UINT imageWidth, UINT imageHeight,
                    const std::string& windowTitle, const SYSTEMTIME& taken, const Preferences& preferences) {
  const std::string text = WatermarkTextAt(preferences.WatermarkText, windowTitle, taken);
  const LayoutRect layout = WatermarkLayout(imageWidth, imageHeight);
  if (!imageGraphics || text.empty() || !HasRoom(layout)) return;

  // Declared in reverse of the release order: brush, family, font, format.
  owners::GpStringFormat format;
  owners::GpFont font;
  owners::GpFontFamily family;
  owners::GpSolidFill brush;

  Gdiplus::GpStringFormat* newFormat = nullptr;
  gp::GdipCreateStringFormat(0, LANG_NEUTRAL, &newFormat);
  format.reset(newFormat);
  if (const CornerAlignment* corner = FindCornerAlignment(preferences.WatermarkLocation)) {
    gp::GdipSetStringFormatLineAlign(format.get(), static_cast<Gdiplus::StringAlignment>(corner->vertical));
    gp::GdipSetStringFormatAlign(format.get(), static_cast<Gdiplus::StringAlignment>(corner->horizontal));
  }

  Gdiplus::GpSolidFill* newBrush = nullptr;
  gp::GdipCreateSolidFill(WatermarkArgb(preferences.WatermarkFontColor, preferences.WatermarkFontTransparency),
                          &newBrush);
  brush.reset(newBrush);

  family = MakeFamily(preferences.WatermarkFontName);
  Gdiplus::GpFont* newFont = nullptr;
  gp::GdipCreateFont(family.get(), static_cast<Gdiplus::REAL>(preferences.WatermarkFontSize),
                     preferences.WatermarkFontStyle, Gdiplus::UnitPixel, &newFont);
  font.reset(newFont);

  gp::GdipSetTextRenderingHint(imageGraphics, Gdiplus::TextRenderingHintAntiAlias);

  const Gdiplus::RectF rect(layout.x, layout.y, layout.width, layout.height);
  // The string format clips to the rectangle already, but some GDI+ builds
  // let a last, partly fitting line spill over the margin.
  const ClipToRect clip(imageGraphics, rect);
  gp::GdipDrawString(imageGraphics, Wide(text).c_str(), -1, font.get(), &rect, format.get(), brush.get());
}
