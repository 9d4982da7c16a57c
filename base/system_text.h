#pragma once
// Texts as the system sees them.
#include <string>

// Equality ignoring case in the user's default locale.
bool SameTextInUserLocale(const std::string& a, const std::string& b);
