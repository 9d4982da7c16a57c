#include "core/output/watermark.h"

#include <algorithm>
#include <iterator>

bool ReplaceFirst(std::string& text, const std::string& pattern, const std::string& replacement) {
  if (pattern.empty()) return false;
  const auto at = text.find(pattern);
  if (at == std::string::npos) return false;
  text.replace(at, pattern.size(), replacement);
  return true;
}

std::string ExpandWatermarkText(const std::string& text, const std::string& date, const std::string& time,
                                const std::string& windowTitle) {
  struct Macro {
    const char* name;
    const std::string& value;
  };
  const Macro macros[] = {{"%DATE%", date}, {"%TIME%", time}, {"%WINDOW%", windowTitle}};
  std::string expanded = text;
  for (const auto& macro : macros) ReplaceFirst(expanded, macro.name, macro.value);
  return expanded;
}

uint32_t WatermarkArgb(int32_t colorRef, int32_t transparency) {
  const auto color = static_cast<uint32_t>(colorRef);
  const uint32_t alpha = (255u - static_cast<uint32_t>(transparency)) & 0xFFu;
  const uint32_t red = color & 0xFFu;
  const uint32_t green = (color >> 8) & 0xFFu;
  const uint32_t blue = (color >> 16) & 0xFFu;
  return alpha << 24 | red << 16 | green << 8 | blue;
}

const CornerAlignment kCornerAlignments[kCornerCount] = {
    {0, TextAlignment::Near, TextAlignment::Near},
    {1, TextAlignment::Near, TextAlignment::Far},
    {2, TextAlignment::Far, TextAlignment::Near},
    {3, TextAlignment::Far, TextAlignment::Far},
};

const CornerAlignment* FindCornerAlignment(int32_t location) {
  const auto* end = std::end(kCornerAlignments);
  const auto* found = std::find_if(std::begin(kCornerAlignments), end,
                                   [location](const CornerAlignment& row) { return row.location == location; });
  return found == end ? nullptr : found;
}

LayoutRect WatermarkLayout(uint32_t imageWidth, uint32_t imageHeight) {
  // Signed and wide, so that an image smaller than both margins gives no
  // room instead of a wrapped-around four billion pixels.
  const auto inner = [](uint32_t size) {
    const int64_t room = static_cast<int64_t>(size) - 2 * static_cast<int64_t>(kWatermarkMargin);
    return static_cast<float>(std::max<int64_t>(room, 0));
  };
  return {kWatermarkMargin, kWatermarkMargin, inner(imageWidth), inner(imageHeight)};
}

bool HasRoom(const LayoutRect& layout) { return layout.width > 0.0f && layout.height > 0.0f; }
