#pragma once
// Lookup of one text in a language file (INI format, bytes in the system's
// ANSI code page, used as they stand).
#include <string>
#include <string_view>

// Longest text a lookup returns; a longer value is cut after this many bytes.
inline constexpr size_t kMaxLanguageText = 1023;

// The value of `key` in the first `section` of the file's contents, or
// `fallback` when the section or key is absent. Section and key match without
// regard to ASCII letter case; blanks around names and values are ignored; a
// value enclosed in a matching pair of ' or " loses them; an empty value stays
// empty. Follows the platform's private-profile reader where it matters: the
// first section of a name and the first key of a name win, a key line without
// '=' gives the fallback, ';' lines are not special, CR, LF and CR LF end
// lines, and a byte-order mark is not special.
std::string ReadLanguageStringFrom(std::string_view contents, std::string_view section, std::string_view key,
                                   std::string_view fallback);

// The same over a file, read anew on every call; a missing or unreadable file
// gives the fallback.
std::string ReadLanguageString(const std::string& path, const std::string& section, const std::string& key,
                               const std::string& fallback);
