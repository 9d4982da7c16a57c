#pragma once
// The rows of a device-independent bitmap, and the gray a colour prints as.
#include <cstddef>
#include <cstdint>

// Bytes from the start of one row to the next: rows start on 4-byte bounds.
size_t DibStride(int32_t width, int32_t bitsPerPixel);

// The gray of a colour's luminance (ITU-R BT.601 weights), rounded.
uint8_t GrayLevel(uint8_t red, uint8_t green, uint8_t blue);

// Turns width pixels of 24 bits (blue, green, red) into one byte of gray each.
void GrayRow(const uint8_t* colour, size_t width, uint8_t* gray);
