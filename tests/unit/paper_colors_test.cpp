#include "core/output/paper_colors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <random>
#include <vector>

#include "core/output/gray_pixels.h"
#include "core/output/paper_ink.h"

namespace {

constexpr PixelColour kWhite{255, 255, 255};
constexpr PixelColour kEditor{0x1E, 0x1E, 0x1E};

// The hue angle in degrees, and how far two lie apart round the circle.
double HueApart(PixelColour a, PixelColour b) {
  const auto hue = [](PixelColour c) {
    return std::atan2(std::sqrt(3.0) * (c.green - c.blue), 2.0 * c.red - c.green - c.blue);
  };
  const double apart = std::fabs(hue(a) - hue(b)) * 180 / std::numbers::pi;
  return std::min(apart, 360 - apart);
}

// Text: strokes two pixels wide and a crossbar, in lines of eight rows.
bool IsText(int32_t x, int32_t y) { return (y % 8 < 5 && x % 6 < 2) || (y % 8 == 2 && x % 12 < 6); }

// 24-bit pixels in rows of DIB stride.
struct Picture {
  int32_t width, height;
  std::vector<uint8_t> bits;
  Picture(int32_t w, int32_t h, PixelColour fill) : width(w), height(h), bits(DibStride(w, 24) * h) {
    Paint({0, 0, w, h}, fill);
  }
  ColourRows Rows() { return {bits.data(), width, height, DibStride(width, 24)}; }
  uint8_t* At(int32_t x, int32_t y) { return bits.data() + y * DibStride(width, 24) + x * 3; }
  PixelColour Pixel(int32_t x, int32_t y) { return {At(x, y)[2], At(x, y)[1], At(x, y)[0]}; }
  void Set(int32_t x, int32_t y, PixelColour c) { At(x, y)[0] = c.blue, At(x, y)[1] = c.green, At(x, y)[2] = c.red; }
  void Paint(ScreenRect r, PixelColour c, bool onlyText = false) {
    for (int32_t y = r.top; y < r.bottom; ++y)
      for (int32_t x = r.left; x < r.right; ++x)
        if (!onlyText || IsText(x, y)) Set(x, y, c);
  }
};

void LightenInPlace(Picture& picture, std::span<const ScreenRect> windows) {
  PaintParts(picture.Rows(), picture.Rows(), JudgeParts(picture.Rows(), windows));
}

}  // namespace

TEST(PaperColors, EachColourGetsAgainstWhiteTheContrastItHadWithItsHue) {
  // What the formulas give in double precision, rounded to the nearest level.
  const struct {
    const char* name;
    PixelColour colour, background, painted;
  } cases[] = {
      {"editor text", {0xD4, 0xD4, 0xD4}, kEditor, {0x3B, 0x3B, 0x3B}},
      {"keyword blue", {0x56, 0x9C, 0xD6}, kEditor, {0x39, 0x6B, 0x94}},
      {"string orange", {0xCE, 0x91, 0x78}, kEditor, {0x7E, 0x57, 0x47}},
      {"comment green", {0x6A, 0x99, 0x55}, kEditor, {0x53, 0x79, 0x42}},
      {"pale yellow", {0xDC, 0xDC, 0xAA}, kEditor, {0x39, 0x39, 0x29}},
      {"status bar blue", {0x00, 0x7A, 0xCC}, kEditor, {0x00, 0x89, 0xE4}},
      {"white text on black", kWhite, {0, 0, 0}, {0, 0, 0}},
      {"the background itself", kEditor, kEditor, kWhite},
      {"a navy background", {0x1E, 0x1E, 0x3C}, {0x1E, 0x1E, 0x3C}, kWhite},
      {"white text takes the background's place", kWhite, kEditor, kEditor},
      {"a shadow darker than the background", {0, 0, 0}, kEditor, {0xE5, 0xE5, 0xE5}},
      {"a panel a little lighter", {0x25, 0x25, 0x26}, kEditor, {0xF5, 0xF5, 0xFA}},
      // Scaled to their contrast they would leave sRGB: mixed with white instead.
      {"pure red on a bluish background", {255, 0, 0}, {0x28, 0x2C, 0x34}, {0xFF, 0x3D, 0x3D}},
      {"pure blue", {0, 0, 255}, kEditor, {0xB3, 0xB3, 0xFF}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PixelColour painted = OnPaper(c.colour, c.background);
    EXPECT_EQ(painted, c.painted);
    const double before = ContrastRatio(RelativeLuminance(c.colour), RelativeLuminance(c.background));
    EXPECT_NEAR(ContrastRatio(RelativeLuminance(painted), 1.0) / before, 1.0, 0.01);
    EXPECT_TRUE(painted == kWhite || HueApart(painted, c.colour) <= 1.5);  // white has no hue
    EXPECT_TRUE(IsDark(c.background));
  }
  // Black and white text read alike between these grays: a dark background is one white text reads better on.
  EXPECT_TRUE(IsDark({0x75, 0x75, 0x75}));
  EXPECT_FALSE(IsDark({0x76, 0x76, 0x76}));
  EXPECT_FALSE(IsDark(kWhite));
}

TEST(PaperColors, EachWindowIsJudgedOnWhatItShowsDarkOnesTurnLightTheRestStaysToTheByte) {
  const PixelColour text{0x56, 0x9C, 0xD6};
  const std::vector<ScreenRect> halves = {{0, 0, 40, 30}, {40, 0, 80, 30}};
  const struct {
    const char* name;
    PixelColour left, right;
    std::vector<ScreenRect> windows;
    bool leftPainted, rightPainted;
  } cases[] = {
      {"a light shot", kWhite, kWhite, {}, false, false},
      {"a dark shot", kEditor, kEditor, {}, true, true},
      {"a dark window beside a light one", kEditor, kWhite, halves, true, false},
      {"a light window beside a dark one", kWhite, kEditor, halves, false, true},
      {"a dark window partly off the shot", kEditor, kWhite, {{-10, -10, 40, 40}}, true, false},
      // What the light window in front leaves of the dark one is judged alone.
      {"a light window in front of a dark one", kEditor, kWhite, {{40, 0, 80, 30}, {0, 0, 80, 30}}, true, false},
      {"a dark window in front of a light one", kEditor, kWhite, {{0, 0, 40, 30}, {-5, 0, 80, 30}}, true, false},
      // The rest of the shot, judged as one, has the light half's background.
      {"only part of the dark window known", kEditor, kWhite, {{0, 0, 20, 30}}, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Picture picture(80, 30, c.left);
    picture.Paint({40, 0, 80, 30}, c.right);
    picture.Paint({2, 2, 78, 28}, text, true);
    Picture shared = picture;
    const std::vector<uint8_t> before = picture.bits;
    LightenInPlace(picture, c.windows);
    // Painted from pixels it shares into pixels of its own, it comes out the same.
    Picture own(80, 30, {1, 2, 3});
    const std::vector<JudgedPart> parts = JudgeParts(shared.Rows(), c.windows);
    EXPECT_EQ(AnyDark(parts), c.leftPainted || c.rightPainted);
    PaintParts(shared.Rows(), own.Rows(), parts);
    EXPECT_EQ(own.bits, picture.bits);
    EXPECT_EQ(shared.bits, before);
    for (const auto& [x, painted, background] : {std::tuple{4, c.leftPainted, c.left}, {52, c.rightPainted, c.right}}) {
      EXPECT_EQ(picture.Pixel(x, 1), painted ? kWhite : background);
      EXPECT_EQ(picture.Pixel(x, 2), painted ? OnPaper(text, background) : text);
    }
    EXPECT_EQ(picture.bits == before, !c.leftPainted && !c.rightPainted);
  }
}

TEST(PaperColors, EveryPixelIsPaintedAsAloneWhateverRunsItComesInAndAPhotoAloneNotAtAll) {
  std::mt19937 random(7);
  const auto anyColour = [&] { return PixelColour{uint8_t(random()), uint8_t(random()), uint8_t(random())}; };
  const PixelColour few[] = {kEditor, kEditor, kWhite, {0x56, 0x9C, 0xD6}, {0xCE, 0x91, 0x78}};
  PixelColour run = kEditor;
  int runLeft = 0;
  const struct {
    const char* name;
    std::function<PixelColour()> pixel;
    bool painted;
  } cases[] = {
      // Every slot of the cache of painted colours is taken over and over.
      {"random colours on a background a quarter of the pixels show",
       [&] { return random() % 4 ? anyColour() : kEditor; }, true},
      // Runs end at every place of a block of pixels compared at once, and at a row's end.
      {"runs of one to nine pixels of a few colours",
       [&] {
         if (runLeft-- == 0) run = few[random() % std::size(few)], runLeft = int(random() % 9);
         return run;
       },
       true},
      {"a photo", anyColour, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Picture picture(301, 200, kEditor);
    for (int32_t y = 0; y < picture.height; ++y)
      for (int32_t x = 0; x < picture.width; ++x) picture.Set(x, y, c.pixel());
    Picture painted = picture;
    LightenInPlace(painted, {});
    for (int32_t y = 0; y < picture.height; ++y)
      for (int32_t x = 0; x < picture.width; ++x)
        ASSERT_EQ(painted.Pixel(x, y), c.painted ? OnPaper(picture.Pixel(x, y), kEditor) : picture.Pixel(x, y));
  }
}

TEST(PaperColors, TextOfAnyColourPrintsBlackOnWhiteInOneBit) {
  const struct {
    const char* name;
    PixelColour background, text, panel;
  } cases[] = {
      {"black on white", kWhite, {0, 0, 0}, kWhite},
      {"orange on white", kWhite, {0xE6, 0x95, 0x00}, kWhite},
      {"light blue on white", kWhite, {0x4F, 0xC3, 0xF7}, kWhite},
      {"yellow on white", kWhite, {0xE6, 0xC2, 0x00}, kWhite},
      {"gray on a toolbar's gray", {0xF0, 0xF0, 0xF0}, {0x80, 0x80, 0x80}, {0xE0, 0xE0, 0xE0}},
      {"a gray panel beside dark red text", kWhite, {0xC0, 0, 0}, {0xC8, 0xC8, 0xC8}},
      {"the dark editor's green, painted", kWhite, OnPaper({0x6A, 0x99, 0x55}, kEditor), kWhite},
      {"light text on a dark background left dark", {0x30, 0x30, 0x30}, {0xD4, 0xD4, 0xD4}, {0x30, 0x30, 0x30}},
  };
  const int32_t width = 96, height = 64;
  const size_t stride = DibStride(width, 8), bitStride = DibStride(width, 1);
  const auto gray = [](PixelColour c) { return int{GrayLevel(c.red, c.green, c.blue)}; };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    // A gray panel on the right; text on the left, the strokes' right edges smoothed by a pixel three
    // quarters and one a quarter of the way.
    const int paper = gray(c.background), ink = gray(c.text);
    std::vector<uint8_t> levels(stride * height), bits(bitStride * height, 0x55);
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        const bool inside = x >= 2 && x < 62 && y >= 2 && y < 62, edge = y % 8 < 5 && y % 8 != 2;
        const int share = !inside ? 0 : IsText(x, y) ? 4 : edge && x % 6 == 2 ? 3 : edge && x % 6 == 3 ? 1 : 0;
        levels[y * stride + x] = uint8_t(x >= 64 ? gray(c.panel) : paper + (ink - paper) * share / 4);
      }
    }
    InkRows({levels.data(), width, height, stride}, {}, bits.data(), bitStride);
    int textPixels = 0, backgroundPixels = 0, wrong = 0;
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        const bool black = !(bits[y * bitStride + x / 8] & (0x80 >> (x % 8)));
        const int apart = std::abs(levels[y * stride + x] - paper);
        if (x >= 64 || apart == 0) ++backgroundPixels, wrong += black;
        if (x < 64 && 2 * apart >= std::abs(ink - paper)) ++textPixels, wrong += !black;
      }
    }
    EXPECT_GT(textPixels, 600);
    EXPECT_GT(backgroundPixels, 3000);
    EXPECT_EQ(wrong, 0);
  }
}
