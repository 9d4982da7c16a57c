#include "core/output/gray_pixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

TEST(GrayPixels, RowsStartOnFourByteBounds) {
  const struct {
    int32_t width, bitsPerPixel;
    size_t stride;
  } cases[] = {
      {1, 32, 4},
      {1920, 24, 5760},
      {1, 8, 4},
      {4, 8, 4},
      {5, 8, 8},
      {1921, 8, 1924},
      {1, 24, 4},
      {2, 24, 8},
      {0, 8, 0},
      {-3, 8, 0},
      {3, 0, 0},
      // One bit a pixel; a width whose bits wrap round when taken unsigned.
      {1, 1, 4},
      {33, 1, 8},
      {-5, 24, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.bitsPerPixel);
    EXPECT_EQ(DibStride(c.width, c.bitsPerPixel), c.stride);
  }
}

TEST(GrayPixels, EachColourPrintsAsTheGrayOfItsLuminance) {
  const struct {
    const char* name;
    uint8_t red, green, blue, gray;
  } cases[] = {
      {"black", 0, 0, 0, 0},
      {"white", 255, 255, 255, 255},
      {"gray stays", 128, 128, 128, 128},
      {"red", 255, 0, 0, 76},
      {"green", 0, 255, 0, 150},
      {"blue", 0, 0, 255, 29},
      {"yellow", 255, 255, 0, 226},
      {"cyan", 0, 255, 255, 179},
      {"one step of red", 2, 0, 0, 1},
      // Where a weight one thousandth off would round the other way.
      {"dark red", 82, 0, 0, 25},
      {"red of 102", 102, 0, 0, 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GrayLevel(c.red, c.green, c.blue), c.gray);
  }
}

TEST(GrayPixels, ARowTakesBlueGreenRedAndWritesOnlyItsWidth) {
  const std::vector<uint8_t> colour = {0, 0, 255, 255, 0, 0, 0, 255, 0, 10, 20, 30};
  std::vector<uint8_t> gray(5, 0xAA);
  GrayRow(colour.data(), 4, gray.data());
  EXPECT_EQ(gray, (std::vector<uint8_t>{76, 29, 150, GrayLevel(30, 20, 10), 0xAA}));
}
