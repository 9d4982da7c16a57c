#include "core/settings/number_field.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int64_t kLargestMagnitude = int64_t{std::numeric_limits<int32_t>::max()} + 1;  // of a negative value

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::optional<int> DigitValue(char c, int base) {
  int value = base;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  if (value >= base) return std::nullopt;
  return value;
}

// Takes a hexadecimal prefix off the text and gives the base of what follows.
int TakeBase(std::string_view& text) {
  if (text.starts_with('$')) {
    text.remove_prefix(1);
    return 16;
  }
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    return 16;
  }
  return 10;
}

}  // namespace

std::optional<int32_t> ParseInteger(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  const int base = TakeBase(text);
  if (text.empty()) return std::nullopt;
  const int64_t limit = negative ? kLargestMagnitude : kLargestMagnitude - 1;
  int64_t magnitude = 0;
  for (char c : text) {
    const std::optional<int> digit = DigitValue(c, base);
    if (!digit) return std::nullopt;
    magnitude = magnitude * base + *digit;
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

int32_t IntegerOr(std::string_view text, int32_t fallback) { return ParseInteger(text).value_or(fallback); }

NumberFieldText NormaliseNumberText(std::string_view text, size_t caret) {
  NumberFieldText field;
  field.text = std::to_string(IntegerOr(text, 0));
  field.caret = std::min(caret, field.text.size());
  field.selectAll = field.text == "0";
  return field;
}

std::string LeaveNumberText(std::string_view text) {
  return IntegerOr(text, 0) == 0 ? std::string("1") : std::string(text);
}
