#pragma once
// The arithmetic of the watermark: macro expansion, the brush colour, the
// corner alignment and the layout rectangle. The drawing itself is in
// stamp_watermark.cpp.
#include <cstdint>
#include <string>

// Replaces the first occurrence of pattern (exact, case-sensitive) and tells
// whether there was one. An empty pattern matches nothing.
bool ReplaceFirst(std::string& text, const std::string& pattern, const std::string& replacement);

// Replaces the first "%DATE%", then the first "%TIME%", then the first
// "%WINDOW%". Text brought in by a replacement is not scanned again, so a
// window title holding "%DATE%" stays as it is.
std::string ExpandWatermarkText(const std::string& text, const std::string& date, const std::string& time,
                                const std::string& windowTitle);

// The brush colour as GDI+ ARGB from a COLORREF (0x00BBGGRR) and a
// transparency from 0 (solid) to 255 (invisible), taken modulo 256.
uint32_t WatermarkArgb(int32_t colorRef, int32_t transparency);

// GDI+ StringAlignment values used for the corners; Center is never used.
enum class TextAlignment : int32_t { Near = 0, Far = 2 };

struct CornerAlignment {
  int32_t location;
  TextAlignment vertical;    // line alignment
  TextAlignment horizontal;  // alignment
};

inline constexpr int kCornerCount = 4;
extern const CornerAlignment kCornerAlignments[kCornerCount];

// The alignments for a WatermarkLocation, or nullptr when the location is no
// corner and the string format keeps its defaults (left top).
const CornerAlignment* FindCornerAlignment(int32_t location);

// Distance of the text from every edge of the image, in image pixels.
inline constexpr float kWatermarkMargin = 10.0f;

struct LayoutRect {
  float x;
  float y;
  float width;
  float height;
};

// The rectangle inside the margins. On an image too small to leave room it
// has zero width or height and nothing must be drawn: GDI+ reads a zero size
// as "unbounded", not as "empty".
LayoutRect WatermarkLayout(uint32_t imageWidth, uint32_t imageHeight);
bool HasRoom(const LayoutRect& layout);
