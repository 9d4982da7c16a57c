#pragma once
// Black and white: one bit a pixel, black ink on white paper, from a picture
// in gray whose dark parts have been turned light first. Each part of the
// shot (ShotParts) gets a threshold of its own, chosen so that its faintest
// text still prints.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/capture/screen_choice.h"

// Pixels of 8-bit gray, top row first, rows stride bytes apart.
struct GrayRows {
  const uint8_t* bits = nullptr;
  int32_t width = 0;
  int32_t height = 0;
  size_t stride = 0;
};

// How a part prints: a gray at least inkFrom levels from the background
// towards the far end of the scale (darker on a light background, lighter
// on a dark one) prints black, the rest white.
struct InkRule {
  uint8_t background = 255;
  int32_t inkFrom = 128;
  bool operator==(const InkRule&) const = default;

  bool Black(uint8_t gray) const;
};

// The part's background is the gray most of its pixels have, where at
// least a fifth have it; its text, the grays that hold at least 1 % of the
// rest and lie along edges as strokes do and areas do not, without a
// neighbour farther from the background as a stroke's smoothed edge has. A
// gray prints black from halfway between the background and the faintest
// text on. A part without background (a photo) prints black where it is
// darker than middle gray.
InkRule InkRuleOf(const GrayRows& gray, std::span<const ScreenRect> part);

// Writes the picture in one bit a pixel, rows of DibStride(width, 1) bytes:
// a set bit is paper and a clear bit ink, the leftmost pixel in the highest
// bit. windows as for ShotParts.
void InkRows(const GrayRows& gray, std::span<const ScreenRect> windows, uint8_t* bits, size_t stride);
