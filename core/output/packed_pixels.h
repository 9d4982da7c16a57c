#pragma once
// A small lossless packing of a shot's 24-bit pixels, to keep the shot in
// memory at a fraction of its size. Screens are made of runs of one colour,
// rows like the row above and a few colours used again and again (the shades
// of anti-aliased text): each of these takes a byte or a few, where a pixel
// of a colour not seen lately takes its three.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// rows: height rows of width pixels of 3 bytes each (blue, green, red), the
// rows stride bytes apart. Nothing of the bytes between the rows is kept.
// The vector holds room for pixels that do not pack, which its owner gives
// back (shrink_to_fit) once it has let go of the rows.
std::vector<uint8_t> PackPixels(const uint8_t* rows, int32_t width, int32_t height, size_t stride);

// Writes what PackPixels made back into rows of the same shape. False when
// packed is not such a packing: the rows are then partly written.
bool UnpackPixels(std::span<const uint8_t> packed, uint8_t* rows, int32_t width, int32_t height, size_t stride);
