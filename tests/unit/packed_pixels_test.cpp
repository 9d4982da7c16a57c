#include "core/output/packed_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <vector>

#include "core/output/gray_pixels.h"

namespace {

using Colour = std::function<uint32_t(int32_t x, int32_t y)>;

// A 24-bit picture with rows as a device-independent bitmap lays them out;
// the bytes between the rows hold a mark that no packing may keep.
struct Picture {
  int32_t width, height;
  size_t stride = DibStride(width, 24);
  std::vector<uint8_t> bytes = std::vector<uint8_t>(stride * static_cast<size_t>(height), 0xA5);

  void Paint(const Colour& colour) {
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        for (int byte = 0; byte < 3; ++byte) bytes[y * stride + x * 3 + byte] = uint8_t(colour(x, y) >> 8 * byte);
      }
    }
  }
  std::optional<std::vector<uint8_t>> Pack(size_t most = SIZE_MAX) const {
    return PackPixels(bytes.data(), width, height, stride, most);
  }
  bool Unpack(const std::vector<uint8_t>& packed) {
    bytes.assign(bytes.size(), 0xA5);
    return UnpackPixels(packed, bytes.data(), width, height, stride);
  }
};

uint32_t Noise(int32_t x, int32_t y) { return static_cast<uint32_t>(std::minstd_rand(y * 7919 + x)()) & 0xFFFFFF; }

// Black text in four shades on white, the same glyph again along each line
// and lines 16 rows apart.
uint32_t Text(int32_t x, int32_t y) {
  constexpr uint32_t kShades[] = {0x000000, 0x555555, 0xAAAAAA, 0x303030};
  const int32_t inGlyph = (x % 9) * 7 + (y % 16);
  return (y % 16 < 11 && inGlyph % 5 == 0) ? kShades[(inGlyph / 5) % 4] : 0xFFFFFF;
}

}  // namespace

TEST(PackedPixels, EveryPictureComesBackPixelForPixelAndScreensPackSmall) {
  const struct {
    const char* name;
    int32_t width, height;
    Colour colour;
    size_t mostBytes;
  } cases[] = {
      {"one pixel", 1, 1, [](int32_t, int32_t) { return 0x123456u; }, 4},
      {"one black pixel, a recent colour from the start", 1, 1, [](int32_t, int32_t) { return 0u; }, 1},
      {"a white screen", 1920, 1080, [](int32_t, int32_t) { return 0xFFFFFFu; }, 4 + 1080 * 3},
      {"stripes down, each row as the one above", 333, 200,
       [](int32_t x, int32_t) { return x % 2 ? 0x00FF00u : 0xFF00FFu; }, 333 * 2 + 200 * 3},
      // A byte a pixel, a third of their size.
      {"a few colours again and again", 256, 64, [](int32_t x, int32_t y) { return 0x111111u * ((x * 3 + y) % 5); },
       256 * 64 + 64},
      {"text", 1920, 160, Text, 1920 * 160 * 3 / 6},
      {"runs longer than any count of one byte", 70000, 2,
       [](int32_t x, int32_t) { return x < 20000 ? 0x000001u : 0x000002u; }, 20},
      // The worst case: no pixel like any other; the steps cost a byte in 63.
      {"noise", 640, 480, Noise, 640 * 480 * 3 + 640 * 480 / 63 + 480 * 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Picture picture{c.width, c.height};
    picture.Paint(c.colour);
    const std::vector<uint8_t> original = picture.bytes;
    const std::optional<std::vector<uint8_t>> packed = picture.Pack(c.mostBytes);
    ASSERT_TRUE(packed) << "more than " << c.mostBytes << " bytes";
    EXPECT_FALSE(picture.Pack(packed->size() - 1)) << "packed although it takes more";
    ASSERT_TRUE(picture.Unpack(*packed));
    EXPECT_TRUE(picture.bytes == original);
  }
}

TEST(PackedPixels, WhatNoPackingOfThatShapeIsIsRefused) {
  Picture picture{5, 3};
  picture.Paint(Text);
  const std::vector<uint8_t> packed = *picture.Pack();
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"cut short", std::vector<uint8_t>(packed.begin(), packed.end() - 1)},
      {"nothing", {}},
      {"a step beyond its row", {0x85, 1, 2, 3}},
      {"a repeat before any pixel", {0x00}},
      {"the row above on the first row", {0x80, 1, 2, 3, 0x43}},
      {"new pixels cut short", {0x84, 1, 2, 3}},
      {"a long count cut short", {0xBF, 0x80}},
      {"a long count beyond 32 bits", {0xBF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(picture.Unpack(c.bytes));
  }
  std::vector<uint8_t> longer = packed;
  longer.push_back(0xC0);
  EXPECT_FALSE(picture.Unpack(longer)) << "with more after it";
  EXPECT_TRUE(picture.Unpack(packed));
  // A picture without pixels packs to nothing, and only nothing unpacks to it.
  EXPECT_TRUE(PackPixels(nullptr, 0, 10, 0, 0)->empty());
  EXPECT_TRUE(UnpackPixels({}, nullptr, 10, -1, 32));
  EXPECT_FALSE(UnpackPixels(std::vector<uint8_t>{0x80, 1, 2, 3}, nullptr, 0, 0, 0));
}
