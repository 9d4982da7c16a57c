#pragma once
// Letter case as the ASCII letters a to z and A to Z have it; every other
// byte stands for itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

std::string AsciiUpper(std::string_view text);

// Equal when compared with ASCII letters in upper case.
bool AsciiSameText(std::string_view a, std::string_view b);

// The digits of value in base 10 or 16 (in capitals), with zeros in front to
// make at least the given number of digits.
std::string ZeroPadded(uint32_t value, size_t digits, int base = 10);
