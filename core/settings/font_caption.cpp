#include "core/settings/font_caption.h"

#include <string_view>

#include "core/ascii_text.h"

namespace {

std::string StyleSuffix(bool bold, bool italic) {
  std::string suffix;
  if (bold) suffix += " Bold";
  if (italic) suffix += " Italic";
  return suffix;
}

// Blanks and control characters off both ends.
std::string_view Trim(std::string_view text) {
  const auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string ChosenFontCaption(const std::string& name, bool bold, bool italic, uint32_t pointSize) {
  const std::string style = StyleSuffix(bold, italic);
  return name + " " + std::string(Trim(style)) + ", " + std::to_string(pointSize) + " pt";
}

std::string StoredFontCaption(const std::string& name, bool bold, bool italic, int32_t pointSize,
                              const std::string& browseFont) {
  if (name.empty()) return browseFont;
  return name + StyleSuffix(bold, italic) + ", " + std::to_string(pointSize) + "pt";
}

std::string ColorCaption(const std::string& caption, int32_t color) {
  const auto bits = static_cast<uint32_t>(color);
  const auto channel = [&](int shift) { return ZeroPadded((bits >> shift) & 0xFF, 2, 16); };
  return caption + " #" + channel(0) + channel(8) + channel(16);
}
