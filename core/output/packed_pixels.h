#pragma once
// A small lossless packing of a shot's 24-bit pixels, to keep the shot in
// memory at a fraction of its size. Screens are made of runs of one colour,
// rows like the row above and a few colours used again and again (the shades
// of anti-aliased text): each of these takes a byte or a few, where a pixel
// of a colour not seen lately takes its three.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// rows: height rows of width pixels of 3 bytes each (blue, green, red), the
// rows stride bytes apart. Nothing of the bytes between the rows is kept.
// Nothing when the packing would take more than most bytes: it is counted
// before it is made, so that a picture that does not pack costs no memory
// to find out.
std::optional<std::vector<uint8_t>> PackPixels(const uint8_t* rows, int32_t width, int32_t height, size_t stride,
                                               size_t most = SIZE_MAX);

// Writes what PackPixels made back into rows of the same shape. False when
// packed is not such a packing: the rows are then partly written.
bool UnpackPixels(std::span<const uint8_t> packed, uint8_t* rows, int32_t width, int32_t height, size_t stride);
