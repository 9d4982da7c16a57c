#pragma once
// Texts at the boundary with the system. Inside the program every text is
// UTF-8; the system's W functions take and give UTF-16. These convert in one
// place: ill-formed input (broken UTF-8, an unpaired surrogate) becomes
// U+FFFD and the rest of the text goes on.
#include <string>
#include <string_view>

std::wstring Wide(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// Bytes in the system's ANSI code page, as UTF-8.
std::string FromAnsiCodePage(std::string_view ansi);

// Equality ignoring case in the user's default locale.
bool SameTextInUserLocale(const std::string& a, const std::string& b);
