#pragma once
// The number fields of the Preferences window (delay, number of shots,
// interval, copies): what counts as an integer and how the text is kept tidy.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The value of a text that reads completely as one signed 32-bit integer:
// optional leading blanks, an optional sign, then decimal digits, or
// hexadecimal digits after "$" or "0x" (either case). Hexadecimal digits are a
// magnitude like decimal ones, so "$FFFFFFFF" is beyond the range rather than
// -1: numbers beyond the range are no integer, whatever their base.
std::optional<int32_t> ParseInteger(std::string_view text);

// The integer value of a text, or `fallback` when it is no integer.
int32_t IntegerOr(std::string_view text, int32_t fallback);

struct NumberFieldText {
  std::string text;
  size_t caret = 0;
  bool selectAll = false;  // the field holds "0", which the next digit typed replaces
};

// The field's text after a change: the decimal form of its value, or "0" when
// it is no integer; the caret stays where it was, within the new text.
// Applying it to its own result gives the same text.
NumberFieldText NormaliseNumberText(std::string_view text, size_t caret);

// The field's text when the focus leaves it: "1" instead of 0 or a text that is
// no integer, otherwise the text unchanged.
std::string LeaveNumberText(std::string_view text);
