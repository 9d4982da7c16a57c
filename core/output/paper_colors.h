#pragma once
// Colours on paper: a shot whose background is dark printed on white paper,
// each colour keeping the contrast it had against that background.
//
// Luminance and contrast are WCAG's: the relative luminance of an sRGB
// colour, and (L1 + 0.05) / (L2 + 0.05) for the lighter over the darker. A
// colour keeps its hue and saturation by keeping its chromaticity: its
// linear red, green and blue are scaled together.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/capture/screen_choice.h"

// The PrintColors setting, in the order of its list.
enum class PaperColors : int32_t { AsOnScreen, LightBackground, BlackAndWhite };
inline constexpr int32_t kPaperColorsCount = 3;

struct PixelColour {
  uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const PixelColour&) const = default;
};

// 0 for black to 1 for white.
double RelativeLuminance(PixelColour colour);
// 1 for equal luminances to 21 for black on white.
double ContrastRatio(double luminance, double otherLuminance);

// A background on which white text stands out more than black text does.
bool IsDark(PixelColour background);

// The colour with, against white, the contrast the colour had against the
// dark background: the background itself becomes white, and its lightest
// colours the darkest. Where that colour lies beyond what sRGB shows it is
// mixed with white, which keeps its hue and gives up some saturation.
PixelColour OnPaper(PixelColour colour, PixelColour background);

// The parts of a shot that are each judged on their own, in shot
// coordinates: what each window shows of itself (the windows frontmost
// first, as rectangles in shot coordinates), then what no window covers.
// A part that shows nothing is left out.
using ShotPart = std::vector<ScreenRect>;
std::vector<ShotPart> ShotParts(int32_t width, int32_t height, std::span<const ScreenRect> windows);

// Pixels of 24 bits (blue, green, red), top row first, rows stride bytes apart.
struct ColourRows {
  uint8_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  size_t stride = 0;
};

// A part's background is the colour, or the gray, that at least one in this
// many of its pixels show.
inline constexpr int64_t kBackgroundShare = 5;

// The colour most pixels of the part have, where at least a fifth of them
// have it; a photo has none. Judged from about 16000 pixels spread evenly
// over the part.
std::optional<PixelColour> BackgroundOf(const ColourRows& picture, std::span<const ScreenRect> part);

// A part of a shot with its background where that is dark.
struct JudgedPart {
  ShotPart rects;
  std::optional<PixelColour> darkBackground;
};
std::vector<JudgedPart> JudgeParts(const ColourRows& picture, std::span<const ScreenRect> windows);
bool AnyDark(std::span<const JudgedPart> parts);

// "Light background": every part whose background is dark gets its colours
// OnPaper; the other parts stay as they are, to the byte. The painted
// picture may be the one painted from (the same size), or another.
void PaintParts(const ColourRows& from, const ColourRows& to, std::span<const JudgedPart> parts);
