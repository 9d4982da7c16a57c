#pragma once
// Letter case as the ASCII letters a to z and A to Z have it; every other
// byte stands for itself.
#include <string>
#include <string_view>

std::string AsciiUpper(std::string_view text);

// Equal when compared with ASCII letters in upper case.
bool AsciiSameText(std::string_view a, std::string_view b);
