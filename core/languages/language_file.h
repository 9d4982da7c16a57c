#pragma once
// Language files: INI text, bytes in the system's ANSI code page, used as
// they stand.
#include <map>
#include <optional>
#include <string>
#include <string_view>

// Longest text a lookup returns; a longer value is cut after this many bytes.
inline constexpr size_t kMaxLanguageText = 1023;

// A language file read once and indexed, so that looking up every text of the
// catalogue costs one pass over the file, however large it is.
//
// Section and key match without regard to ASCII letter case; blanks around
// names and values are ignored; a value enclosed in a matching pair of ' or "
// loses them; an empty value stays empty. Follows the platform's
// private-profile reader where it matters: the first section of a name and
// the first key of a name win, lines above the first header form a section
// without a name, a header ends the section before it (an empty "[]" too), a
// key line without '=' gives the fallback, ';' lines are not special, CR, LF
// and CR LF end lines, and a byte-order mark is not special.
class LanguageFile {
 public:
  LanguageFile() = default;  // no file: every lookup gives its fallback
  explicit LanguageFile(std::string_view contents);

  // The value of `key` in the first `section` of that name, or `fallback` when
  // the section or key is absent.
  std::string Text(std::string_view section, std::string_view key, std::string_view fallback) const;

 private:
  // Key -> value; no value for a key line without '='. Names are kept upper-cased.
  using Keys = std::map<std::string, std::optional<std::string>, std::less<>>;
  std::map<std::string, Keys, std::less<>> sections_;
};

// The file at `path`; a missing or unreadable file gives an empty one.
LanguageFile ReadLanguageFile(const std::string& path);

// One lookup in the given contents, or in the file at a path.
std::string ReadLanguageStringFrom(std::string_view contents, std::string_view section, std::string_view key,
                                   std::string_view fallback);
std::string ReadLanguageString(const std::string& path, const std::string& section, const std::string& key,
                               const std::string& fallback);
