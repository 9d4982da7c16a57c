#include "core/output/paper_colors.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr int kLevels = 256;
constexpr double kMaxLevel = 255.0;
// sRGB's transfer function.
constexpr double kLinearLimit = 0.04045;
constexpr double kLinearSlope = 12.92;
constexpr double kOffset = 0.055;
constexpr double kGamma = 2.4;
// WCAG's luminance weights and the flare added to both sides of a contrast ratio.
constexpr double kRedWeight = 0.2126, kGreenWeight = 0.7152, kBlueWeight = 0.0722;
constexpr double kFlare = 0.05;
constexpr double kWhiteLuminance = 1.0;
// White and black text stand out equally on this luminance: sqrt(1.05 * 0.05) - 0.05.
constexpr double kEqualContrastLuminance = 0.1791287847;

// About how many pixels of a part its background is judged from.
constexpr int64_t kBackgroundSamples = 16384;

// The colours of a part already painted, by their place in a table of this
// many (a power of two): a screen holds a few hundred, so nearly every pixel
// that is not the one before it finds its colour there.
constexpr size_t kCacheSlots = size_t{1} << 15;
constexpr uint64_t kCacheTaken = uint64_t{1} << 24;  // set in the key of a slot in use
constexpr uint32_t kSpreadFactor = 2654435761u;      // Knuth's multiplicative hash
constexpr int kCacheShift = 32 - 15;

// Steps of linear light in the table that encodes it: finer than the
// closest two levels lie apart (1 / 3295, next to black), so that a step
// holds at most one level's bound.
constexpr int kLinearSteps = 4096;

// The linear light of an encoded value from 0 to 1.
double Decode(double value) {
  return value <= kLinearLimit ? value / kLinearSlope : std::pow((value + kOffset) / (1 + kOffset), kGamma);
}

struct SrgbTables {
  double linear[kLevels];
  // The linear light from which a level rounds up to the next: halfway
  // between the two levels' encoded values; the top level's lies beyond any.
  double nextLevelFrom[kLevels];
  uint8_t levelAtStep[kLinearSteps + 1];  // the level the start of each step rounds to
};

SrgbTables MakeTables() {
  SrgbTables tables{};
  for (int level = 0; level < kLevels; ++level) {
    tables.linear[level] = (Decode(level / kMaxLevel));
    tables.nextLevelFrom[level] = (Decode((level + 0.5) / kMaxLevel));
  }
  tables.nextLevelFrom[kLevels - 1] = std::numeric_limits<double>::infinity();
  for (int step = 0, level = 0; step <= kLinearSteps; ++step) {
    const double start = static_cast<double>(step) / kLinearSteps;
    while (start >= tables.nextLevelFrom[level]) ++level;
    tables.levelAtStep[step] = static_cast<uint8_t>(level);
  }
  return tables;
}

const SrgbTables& Tables() {
  static const SrgbTables tables = MakeTables();
  return tables;
}

// The level whose encoded value lies nearest the linear light's, exactly:
// the level its step starts at, or the next where the light passes that
// level's bound inside the step. No light below 0 comes here but for a
// rounding error, which the conversion to a step takes to 0.
uint8_t Encode(const SrgbTables& tables, double linear) {
  const int step = std::min(static_cast<int>(linear * kLinearSteps), kLinearSteps);
  const uint8_t level = tables.levelAtStep[step];
  return static_cast<uint8_t>(level + (linear >= tables.nextLevelFrom[level] ? 1 : 0));
}

// OnPaper with the background's luminance known; colours as 0xRRGGBB.
uint32_t PaintColour(const SrgbTables& tables, uint32_t colour, double backgroundLuminance) {
  const double red = tables.linear[colour >> 16], green = tables.linear[(colour >> 8) & 0xFF],
               blue = tables.linear[colour & 0xFF];
  const double luminance = kRedWeight * red + kGreenWeight * green + kBlueWeight * blue;
  // The same ratio of the darker to the lighter of the pair, now against white.
  const double target = (kWhiteLuminance + kFlare) * (std::min(luminance, backgroundLuminance) + kFlare) /
                            (std::max(luminance, backgroundLuminance) + kFlare) -
                        kFlare;
  const double brightest = std::max(red, std::max(green, blue));
  // The colour scaled to the target luminance keeps its chromaticity; where
  // that takes a channel past full, the mix with white that reaches the
  // target with that channel full keeps its hue. Black has no hue: it turns gray.
  double scale = 0, white = target;
  if (luminance > 0 && brightest * target <= luminance) {
    scale = target / luminance, white = 0;
  } else if (luminance > 0) {
    scale = (kWhiteLuminance - target) / (brightest - luminance);
    white = target - scale * luminance;
  }
  return uint32_t{Encode(tables, scale * red + white)} << 16 | uint32_t{Encode(tables, scale * green + white)} << 8 |
         Encode(tables, scale * blue + white);
}

uint32_t Pack(PixelColour colour) { return uint32_t{colour.red} << 16 | uint32_t{colour.green} << 8 | colour.blue; }

PixelColour Unpack(uint32_t colour) {
  return {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8), static_cast<uint8_t>(colour)};
}

uint32_t PixelAt(const uint8_t* pixel) { return uint32_t{pixel[2]} << 16 | uint32_t{pixel[1]} << 8 | pixel[0]; }

// What of the pieces the rectangle does not cover: each piece loses the
// band above, below, left and right of the overlap.
ShotPart Without(const ShotPart& pieces, const ScreenRect& cut) {
  ShotPart left;
  for (const ScreenRect& piece : pieces) {
    const ScreenRect overlap = Overlap(piece, cut);
    if (overlap.Empty()) {
      left.push_back(piece);
      continue;
    }
    const ScreenRect bands[] = {
        {piece.left, piece.top, piece.right, overlap.top},
        {piece.left, overlap.bottom, piece.right, piece.bottom},
        {piece.left, overlap.top, overlap.left, overlap.bottom},
        {overlap.right, overlap.top, piece.right, overlap.bottom},
    };
    for (const ScreenRect& band : bands) {
      if (!band.Empty()) left.push_back(band);
    }
  }
  return left;
}

// A colour as it is shown and as it is painted, each as a few pixels' bytes
// side by side: a run of one colour, as screens are made of, is compared
// and painted that many pixels at a time.
constexpr size_t kBlockPixels = 4;
constexpr size_t kBlockBytes = kBlockPixels * 3;
struct Run {
  uint8_t shown[kBlockBytes];
  uint8_t painted[kBlockBytes];
};

void SetRun(Run& run, uint32_t shown, uint32_t painted) {
  for (size_t i = 0; i < kBlockBytes; i += 3) {
    for (size_t channel = 0; channel < 3; ++channel) {
      run.shown[i + channel] = static_cast<uint8_t>(shown >> (8 * channel));
      run.painted[i + channel] = static_cast<uint8_t>(painted >> (8 * channel));
    }
  }
}

// The part's pixels of one picture painted into the same place of another, or
// of the same picture.
void PaintPart(const ColourRows& from, const ColourRows& to, std::span<const ScreenRect> part, PixelColour background) {
  const double backgroundLuminance = RelativeLuminance(background);
  const SrgbTables& tables = Tables();
  std::vector<uint64_t> cache(kCacheSlots, 0);
  const auto painted = [&](uint32_t colour) {
    const uint64_t key = colour | kCacheTaken;
    uint64_t& slot = cache[(colour * kSpreadFactor) >> kCacheShift];
    if (slot >> 32 != key) slot = key << 32 | PaintColour(tables, colour, backgroundLuminance);
    return static_cast<uint32_t>(slot);
  };
  for (const ScreenRect& rect : part) {
    if (rect.Empty()) continue;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
      const size_t start = static_cast<size_t>(rect.left) * 3;
      const uint8_t* pixel = from.bits + static_cast<size_t>(y) * from.stride + start;
      const uint8_t* const end = pixel + static_cast<size_t>(rect.Width()) * 3;
      uint8_t* out = to.bits + static_cast<size_t>(y) * to.stride + start;
      Run run{};
      uint32_t last = PixelAt(pixel);
      SetRun(run, last, painted(last));
      while (pixel < end) {
        while (static_cast<size_t>(end - pixel) >= kBlockBytes && std::memcmp(pixel, run.shown, kBlockBytes) == 0) {
          std::memcpy(out, run.painted, kBlockBytes);
          pixel += kBlockBytes, out += kBlockBytes;
        }
        if (pixel == end) break;
        const uint32_t colour = PixelAt(pixel);
        if (colour != last) SetRun(run, colour, painted(colour)), last = colour;
        std::memcpy(out, run.painted, 3);
        pixel += 3, out += 3;
      }
    }
  }
}

void CopyPart(const ColourRows& from, const ColourRows& to, std::span<const ScreenRect> part) {
  for (const ScreenRect& rect : part) {
    if (rect.Empty()) continue;
    const size_t start = static_cast<size_t>(rect.left) * 3;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
      std::memcpy(to.bits + static_cast<size_t>(y) * to.stride + start,
                  from.bits + static_cast<size_t>(y) * from.stride + start, static_cast<size_t>(rect.Width()) * 3);
    }
  }
}

}  // namespace

double RelativeLuminance(PixelColour colour) {
  const SrgbTables& tables = Tables();
  return kRedWeight * tables.linear[colour.red] + kGreenWeight * tables.linear[colour.green] +
         kBlueWeight * tables.linear[colour.blue];
}

double ContrastRatio(double luminance, double otherLuminance) {
  return (std::max(luminance, otherLuminance) + kFlare) / (std::min(luminance, otherLuminance) + kFlare);
}

bool IsDark(PixelColour background) { return RelativeLuminance(background) < kEqualContrastLuminance; }

PixelColour OnPaper(PixelColour colour, PixelColour background) {
  return Unpack(PaintColour(Tables(), Pack(colour), RelativeLuminance(background)));
}

std::vector<ShotPart> ShotParts(int32_t width, int32_t height, std::span<const ScreenRect> windows) {
  const ScreenRect shot{0, 0, width, height};
  std::vector<ShotPart> parts;
  for (size_t i = 0; i <= windows.size(); ++i) {
    ShotPart part{i < windows.size() ? Overlap(windows[i], shot) : shot};
    if (part.front().Empty()) continue;
    for (size_t front = 0; front < i && !part.empty(); ++front) part = Without(part, windows[front]);
    if (!part.empty()) parts.push_back(std::move(part));
  }
  return parts;
}

std::optional<PixelColour> BackgroundOf(const ColourRows& picture, std::span<const ScreenRect> part) {
  int64_t area = 0;
  for (const ScreenRect& rect : part) area += int64_t{rect.Width()} * rect.Height();
  // Every step-th pixel of every step-th row: a grid of about the samples wanted.
  const auto step = static_cast<int32_t>(
      std::max<int64_t>(1, static_cast<int64_t>(std::ceil(std::sqrt(static_cast<double>(area) / kBackgroundSamples)))));
  std::vector<uint32_t> samples;
  for (const ScreenRect& rect : part) {
    for (int32_t y = rect.top; y < rect.bottom; y += step) {
      const uint8_t* row = picture.bits + static_cast<size_t>(y) * picture.stride;
      for (int32_t x = rect.left; x < rect.right; x += step)
        samples.push_back(PixelAt(row + static_cast<size_t>(x) * 3));
    }
  }
  std::sort(samples.begin(), samples.end());
  size_t most = 0;
  uint32_t commonest = 0;
  for (auto run = samples.begin(); run != samples.end();) {
    const auto end = std::upper_bound(run, samples.end(), *run);
    if (static_cast<size_t>(end - run) > most) most = static_cast<size_t>(end - run), commonest = *run;
    run = end;
  }
  if (most == 0 || most * static_cast<size_t>(kBackgroundShare) < samples.size()) return std::nullopt;
  return Unpack(commonest);
}

std::vector<JudgedPart> JudgeParts(const ColourRows& picture, std::span<const ScreenRect> windows) {
  // Each window is judged by its own background, so that a dark window beside
  // a light one turns light and the light one stays as it is. The program
  // knows the windows' rectangles exactly; guessing regions from the pixels
  // would misjudge their edges and take a dark photo in a light page for a
  // dark background.
  std::vector<JudgedPart> judged;
  for (ShotPart& part : ShotParts(picture.width, picture.height, windows)) {
    std::optional<PixelColour> background = BackgroundOf(picture, part);
    if (background && !IsDark(*background)) background.reset();
    judged.push_back({std::move(part), background});
  }
  return judged;
}

bool AnyDark(std::span<const JudgedPart> parts) {
  return std::any_of(parts.begin(), parts.end(), [](const JudgedPart& part) { return part.darkBackground.has_value(); });
}

void PaintParts(const ColourRows& from, const ColourRows& to, std::span<const JudgedPart> parts) {
  for (const JudgedPart& part : parts) {
    if (part.darkBackground) {
      PaintPart(from, to, part.rects, *part.darkBackground);
    } else if (from.bits != to.bits) {
      CopyPart(from, to, part.rects);
    }
  }
}
