#include "core/output/gray_pixels.h"

namespace {

constexpr int32_t kRowAlignmentBits = 32;
constexpr uint32_t kRedWeight = 299;
constexpr uint32_t kGreenWeight = 587;
constexpr uint32_t kBlueWeight = 114;
constexpr uint32_t kWeightTotal = kRedWeight + kGreenWeight + kBlueWeight;
constexpr size_t kColourPixelBytes = 3;

}  // namespace

size_t DibStride(int32_t width, int32_t bitsPerPixel) {
  if (width <= 0 || bitsPerPixel <= 0) return 0;
  const size_t bits = static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel);
  return (bits + kRowAlignmentBits - 1) / kRowAlignmentBits * (kRowAlignmentBits / 8);
}

uint8_t GrayLevel(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<uint8_t>((kRedWeight * red + kGreenWeight * green + kBlueWeight * blue + kWeightTotal / 2) /
                              kWeightTotal);
}

void GrayRow(const uint8_t* colour, size_t width, uint8_t* gray) {
  for (size_t x = 0; x < width; ++x, colour += kColourPixelBytes) gray[x] = GrayLevel(colour[2], colour[1], colour[0]);
}
