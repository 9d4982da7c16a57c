#pragma once
// Language files: INI text, saved by translators in UTF-8 (with or without a
// byte-order mark), in UTF-16 LE with a mark, or in the system's ANSI code
// page. Their text is decoded to UTF-8 once, then indexed.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// Longest text a lookup returns, in characters (code points); a longer value
// is cut after this many, never inside one.
inline constexpr size_t kMaxLanguageText = 1023;

// Turns text in the system's ANSI code page into UTF-8.
using AnsiDecoder = std::function<std::string(std::string_view ansi)>;

// The text of a language file's bytes, in UTF-8:
// - after a UTF-8 byte-order mark (EF BB BF), the rest;
// - after a UTF-16 LE mark (FF FE), the rest read as UTF-16 LE code units (a
//   last odd byte is dropped);
// - bytes that are valid UTF-8 and hold a byte above 127, as they stand;
// - any other bytes, ASCII alone included, through `fromAnsi`.
// Ill-formed UTF-8 after a mark and unpaired UTF-16 surrogates become U+FFFD.
std::string DecodeLanguageFile(std::string_view bytes, const AnsiDecoder& fromAnsi);

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
// and CR LF end lines, and a U+FEFF left in the text is not special (the
// decoding drops the mark at the start of a file).
class LanguageFile {
 public:
  LanguageFile() = default;  // no file: every lookup gives its fallback
  // `text` is a file's decoded text (DecodeLanguageFile).
  explicit LanguageFile(std::string_view text);

  // The value of `key` in the first `section` of that name, or `fallback` when
  // the section or key is absent.
  std::string Text(std::string_view section, std::string_view key, std::string_view fallback) const;

 private:
  // Key -> value; no value for a key line without '='. Names are kept upper-cased.
  using Keys = std::map<std::string, std::optional<std::string>, std::less<>>;
  std::map<std::string, Keys, std::less<>> sections_;
};

// One lookup in a file's bytes, decoded with the code page's bytes kept as
// they stand.
std::string ReadLanguageStringFrom(std::string_view contents, std::string_view section, std::string_view key,
                                   std::string_view fallback);
