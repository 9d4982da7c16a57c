#include "core/output/packed_pixels.h"

#include <array>
#include <cstring>

namespace {

// Each step starts with a byte: what it is in the two high bits, a count or a
// place in the six low ones. No step reaches beyond the end of its row.
constexpr uint8_t kRepeat = 0x00;  // count pixels like the pixel before (the row before's last, for the first)
constexpr uint8_t kAbove = 0x40;   // count pixels as the row above has them
constexpr uint8_t kNew = 0x80;     // count pixels follow, three bytes each
constexpr uint8_t kRecent = 0xC0;  // one pixel: the recent colour at the place the low bits give
constexpr uint8_t kKindBits = 0xC0;
constexpr uint8_t kLowBits = 0x3F;

// A count up to 63 is the low bits plus one. A larger one has all six low
// bits set, and count - 64 follows in groups of 7 bits, the lowest first,
// each but the last with its high bit set.
constexpr uint32_t kShortCounts = 63;
constexpr uint8_t kLongCount = 0x3F;
constexpr int kGroupBits = 7;
constexpr uint8_t kGroup = 0x7F;
constexpr uint8_t kMoreGroups = 0x80;
constexpr int kLongestCountBits = 32;

constexpr size_t kPixelBytes = 3;
constexpr int kByteBits = 8;

// Where the pixel at x begins in its row, in bytes.
constexpr size_t PixelOffset(int32_t x) { return static_cast<size_t>(x) * kPixelBytes; }

// The colours of the last new pixels, each at a place its own colour gives.
using RecentColours = std::array<uint32_t, kLowBits + 1>;

uint32_t Load(const uint8_t* at) {
  return at[0] | static_cast<uint32_t>(at[1]) << kByteBits | static_cast<uint32_t>(at[2]) << 2 * kByteBits;
}

void Store(uint8_t* at, uint32_t pixel) {
  at[0] = static_cast<uint8_t>(pixel);
  at[1] = static_cast<uint8_t>(pixel >> kByteBits);
  at[2] = static_cast<uint8_t>(pixel >> 2 * kByteBits);
}

// Six bits of a multiplicative hash of the colour.
uint8_t PlaceOf(uint32_t pixel) { return static_cast<uint8_t>((pixel * 0x9E3779B1u) >> (32 - 6)); }

// Where the steps go: only their bytes counted, or the bytes themselves.
struct Counted {
  void Put(uint8_t) { ++size; }
  void Append(const uint8_t* first, const uint8_t* last) { size += static_cast<size_t>(last - first); }
  size_t size = 0;
};

struct Written {
  void Put(uint8_t byte) { bytes.push_back(byte); }
  void Append(const uint8_t* first, const uint8_t* last) { bytes.insert(bytes.end(), first, last); }
  std::vector<uint8_t>& bytes;
};

template <typename Out>
void PutStep(Out& packed, uint8_t kind, uint32_t count) {
  if (count <= kShortCounts) {
    packed.Put(static_cast<uint8_t>(kind | (count - 1)));
    return;
  }
  packed.Put(kind | kLongCount);
  uint32_t rest = count - kShortCounts - 1;
  for (; rest > kGroup; rest >>= kGroupBits) packed.Put(static_cast<uint8_t>((rest & kGroup) | kMoreGroups));
  packed.Put(static_cast<uint8_t>(rest));
}

bool TakeCount(std::span<const uint8_t> packed, size_t& at, uint8_t low, uint64_t& count) {
  if (low != kLongCount) {
    count = low + 1u;
    return true;
  }
  uint64_t rest = 0;
  for (int shift = 0; shift < kLongestCountBits; shift += kGroupBits) {
    if (at >= packed.size()) return false;
    const uint8_t group = packed[at++];
    rest |= static_cast<uint64_t>(group & kGroup) << shift;
    if (!(group & kMoreGroups)) {
      count = rest + kShortCounts + 1;
      return true;
    }
  }
  return false;
}

// One row: what it shares with the row above and the pixel before it, and
// what it has of its own.
class RowPacker {
 public:
  RowPacker(const uint8_t* row, const uint8_t* above, int32_t width) : row_(row), above_(above), width_(width) {}

  // The steps of the row, from the pixel before it (none for the first row).
  template <typename Out>
  void Pack(Out& packed, RecentColours& recent, const uint32_t* before) {
    int32_t x = 0;
    while (x < width_) {
      const int32_t aboveRun = RunFrom(x, [&](int32_t at) { return SameAsAbove(at); });
      const int32_t repeatRun = before ? RunFrom(x, [&](int32_t at) { return At(at) == *before; }) : 0;
      const uint32_t pixel = At(x);
      if (aboveRun > 0 || repeatRun > 0) {
        const bool fromAbove = aboveRun >= repeatRun;
        PutStep(packed, fromAbove ? kAbove : kRepeat, static_cast<uint32_t>(fromAbove ? aboveRun : repeatRun));
        x += fromAbove ? aboveRun : repeatRun;
      } else if (recent[PlaceOf(pixel)] == pixel) {
        packed.Put(kRecent | PlaceOf(pixel));
        ++x;
      } else {
        x = PackNew(packed, recent, x);
      }
      last_ = At(x - 1);
      before = &last_;
    }
  }

 private:
  uint32_t At(int32_t x) const { return Load(row_ + PixelOffset(x)); }
  bool SameAsAbove(int32_t x) const { return above_ && Load(above_ + PixelOffset(x)) == At(x); }

  template <typename Same>
  int32_t RunFrom(int32_t x, Same same) const {
    int32_t end = x;
    while (end < width_ && same(end)) ++end;
    return end - x;
  }

  // New colours from x up to the next pixel another step takes; returns
  // where they end. Each goes into the recent colours as the unpacking reads it.
  template <typename Out>
  int32_t PackNew(Out& packed, RecentColours& recent, int32_t x) const {
    int32_t end = x;
    do {
      const uint32_t pixel = At(end++);
      recent[PlaceOf(pixel)] = pixel;
    } while (end < width_ && !SameAsAbove(end) && At(end) != At(end - 1) && recent[PlaceOf(At(end))] != At(end));
    PutStep(packed, kNew, static_cast<uint32_t>(end - x));
    packed.Append(row_ + PixelOffset(x), row_ + PixelOffset(end));
    return end;
  }

  const uint8_t* row_;
  const uint8_t* above_;
  int32_t width_;
  uint32_t last_ = 0;
};

template <typename Out>
void PackRows(Out& packed, const uint8_t* rows, int32_t width, int32_t height, size_t stride) {
  if (width <= 0 || height <= 0) return;
  RecentColours recent{};
  uint32_t before = 0;
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = rows + y * stride;
    RowPacker(row, y > 0 ? row - stride : nullptr, width).Pack(packed, recent, y > 0 ? &before : nullptr);
    before = Load(row + PixelOffset(width - 1));
  }
}

}  // namespace

std::optional<std::vector<uint8_t>> PackPixels(const uint8_t* rows, int32_t width, int32_t height, size_t stride,
                                               size_t most) {
  Counted counted;
  PackRows(counted, rows, width, height, stride);
  if (counted.size > most) return std::nullopt;
  std::vector<uint8_t> packed;
  packed.reserve(counted.size);
  Written written{packed};
  PackRows(written, rows, width, height, stride);
  return packed;
}

bool UnpackPixels(std::span<const uint8_t> packed, uint8_t* rows, int32_t width, int32_t height, size_t stride) {
  if (width <= 0 || height <= 0) return packed.empty();
  RecentColours recent{};
  size_t at = 0;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = rows + y * stride;
    const uint8_t* above = y > 0 ? row - stride : nullptr;
    int32_t x = 0;
    while (x < width) {
      if (at >= packed.size()) return false;
      const uint8_t head = packed[at++];
      uint8_t* pixels = row + PixelOffset(x);
      if ((head & kKindBits) == kRecent) {
        Store(pixels, recent[head & kLowBits]);
        ++x;
        continue;
      }
      uint64_t count = 0;
      if (!TakeCount(packed, at, head & kLowBits, count) || count > static_cast<uint64_t>(width - x)) return false;
      const auto bytes = static_cast<size_t>(count) * kPixelBytes;
      switch (head & kKindBits) {
        case kRepeat: {
          if (x == 0 && y == 0) return false;
          const uint32_t before = Load(pixels - (x > 0 ? kPixelBytes : stride - PixelOffset(width - 1)));
          for (size_t i = 0; i < bytes; i += kPixelBytes) Store(pixels + i, before);
          break;
        }
        case kAbove:
          if (!above) return false;
          std::memcpy(pixels, above + PixelOffset(x), bytes);
          break;
        default:  // new colours
          if (packed.size() - at < bytes) return false;
          std::memcpy(pixels, packed.data() + at, bytes);
          at += bytes;
          for (size_t i = 0; i < bytes; i += kPixelBytes) recent[PlaceOf(Load(pixels + i))] = Load(pixels + i);
      }
      x += static_cast<int32_t>(count);
    }
  }
  return at == packed.size();
}
