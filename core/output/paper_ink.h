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

// Writes the picture in one bit a pixel, rows of DibStride(width, 1) bytes:
// a set bit is paper and a clear bit ink, the leftmost pixel in the highest
// bit. windows as for ShotParts.
//
// A part's background is the gray most of its pixels have, where at least
// a fifth have it; its text, the grays that hold at least 1 % of the rest
// and lie along edges as strokes do and areas do not, without a neighbour
// farther from the background as a stroke's smoothed edge has. A gray
// prints black from halfway between the background and the faintest text
// on, darker than a light background or lighter than a dark one. A part
// without background (a photo) prints black where it is darker than middle
// gray.
void InkRows(const GrayRows& gray, std::span<const ScreenRect> windows, uint8_t* bits, size_t stride);
