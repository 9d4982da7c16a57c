#include "core/output/paper_ink.h"

#include <algorithm>
#include <array>

#include "core/output/paper_colors.h"

namespace {

constexpr int kLevels = 256;
constexpr int kMiddle = 128;
constexpr int64_t kTextShare = 100;      // a text's gray holds at least one in a hundred of the other pixels
constexpr int64_t kStrokeShare = 4;      // at least one in four of its pixels borders another gray
constexpr int64_t kCoreShare = 2;        // and at least half of them are a stroke's core
// Closer to the background than this no gray counts as text: a toolbar's
// tint is no text, and text this faint cannot be read anyway.
constexpr int kFaintestText = 40;

const uint8_t* Row(const GrayRows& gray, int32_t y) { return gray.bits + static_cast<size_t>(y) * gray.stride; }

// How far the gray lies from the background towards the far end of the scale; 0 on the other side.
int Distance(uint8_t gray, uint8_t background) {
  return background >= kMiddle ? std::max(0, background - gray) : std::max(0, gray - background);
}

struct Histogram {
  std::array<int64_t, kLevels> pixels{};
  std::array<int64_t, kLevels> edges{};  // of them, those with a neighbour of another gray
  std::array<int64_t, kLevels> cores{};  // and those with no neighbour farther from the background
};

template <typename Visit>
void EachPixel(const GrayRows& gray, std::span<const ScreenRect> part, Visit visit) {
  for (const ScreenRect& rect : part) {
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
      const uint8_t* row = Row(gray, y);
      const uint8_t* above = y > 0 ? Row(gray, y - 1) : row;
      const uint8_t* below = y + 1 < gray.height ? Row(gray, y + 1) : row;
      for (int32_t x = rect.left; x < rect.right; ++x) {
        visit(row[x], {above[x], below[x], x > 0 ? row[x - 1] : row[x], x + 1 < gray.width ? row[x + 1] : row[x]});
      }
    }
  }
}

// How a part prints: a gray at least inkFrom levels from the background
// towards the far end of the scale prints black, the rest white.
struct InkRule {
  uint8_t background = 255;
  int inkFrom = kMiddle;

  bool Black(uint8_t gray) const { return Distance(gray, background) >= inkFrom; }
};

InkRule InkRuleOf(const GrayRows& gray, std::span<const ScreenRect> part) {
  Histogram counted;
  EachPixel(gray, part, [&counted](uint8_t level, std::array<uint8_t, 4>) { ++counted.pixels[level]; });
  int64_t total = 0;
  for (const int64_t pixels : counted.pixels) total += pixels;
  const auto commonest = static_cast<uint8_t>(std::ranges::max_element(counted.pixels) - counted.pixels.begin());
  if (counted.pixels[commonest] * kBackgroundShare < total) return {};

  std::array<int, kLevels> distance{};
  int64_t inkSide = 0;
  for (int level = 0; level < kLevels; ++level) {
    distance[level] = Distance(static_cast<uint8_t>(level), commonest);
    if (distance[level] > 0) inkSide += counted.pixels[level];
  }
  // A stroke's smoothed edge lies between the background and the stroke's
  // core: its pixels have a neighbour farther out, so they are no text of their own.
  EachPixel(gray, part, [&](uint8_t level, std::array<uint8_t, 4> neighbours) {
    if (distance[level] < kFaintestText) return;
    bool edge = false, core = true;
    for (const uint8_t next : neighbours) {
      edge = edge || next != level;
      core = core && distance[next] <= distance[level];
    }
    counted.edges[level] += edge ? 1 : 0;
    counted.cores[level] += core ? 1 : 0;
  });
  // Without text, what lies beyond halfway to the far end prints black.
  int faintest = commonest >= kMiddle ? commonest : kLevels - 1 - commonest;
  for (int level = 0; level < kLevels; ++level) {
    const int64_t pixels = counted.pixels[level];
    const bool text = distance[level] >= kFaintestText && pixels > 0 && pixels * kTextShare >= inkSide &&
                      counted.edges[level] * kStrokeShare >= pixels && counted.cores[level] * kCoreShare >= pixels;
    if (text) faintest = std::min(faintest, distance[level]);
  }
  return {commonest, std::max(1, (faintest + 1) / 2)};
}

}  // namespace

void InkRows(const GrayRows& gray, std::span<const ScreenRect> windows, uint8_t* bits, size_t stride) {
  std::fill(bits, bits + stride * static_cast<size_t>(gray.height), uint8_t{0});
  for (const ShotPart& part : ShotParts(gray.width, gray.height, windows)) {
    const InkRule rule = InkRuleOf(gray, part);
    std::array<bool, kLevels> paper{};
    for (int level = 0; level < kLevels; ++level) paper[level] = !rule.Black(static_cast<uint8_t>(level));
    for (const ScreenRect& rect : part) {
      for (int32_t y = rect.top; y < rect.bottom; ++y) {
        const uint8_t* row = Row(gray, y);
        uint8_t* out = bits + static_cast<size_t>(y) * stride;
        for (int32_t x = rect.left; x < rect.right; ++x) {
          if (paper[row[x]]) out[x >> 3] |= static_cast<uint8_t>(0x80u >> (x & 7));
        }
      }
    }
  }
}
