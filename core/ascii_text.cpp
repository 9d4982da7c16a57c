#include "core/ascii_text.h"

#include <array>
#include <charconv>

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = Upper(c);
  return upper;
}

std::string ZeroPadded(uint32_t value, size_t digits, int base) {
  std::array<char, 32> buffer{};
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, base).ptr;
  std::string text = AsciiUpper(std::string_view(buffer.data(), static_cast<size_t>(written - buffer.data())));
  return std::string(digits > text.size() ? digits - text.size() : 0, '0') + text;
}

bool AsciiSameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}
