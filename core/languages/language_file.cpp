#include "core/languages/language_file.h"

#include "base/unicode.h"
#include "core/ascii_text.h"

namespace {

// The private-profile reader's blanks; ^Z is the DOS end-of-file mark.
bool IsBlank(char c) { return (c >= '\t' && c <= '\r') || c == '\x1a' || c == ' '; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string_view TrimLeft(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return text;
}

std::string_view TrimRight(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

// Names compare without regard to ASCII letter case: they are kept upper-cased.
std::string NameKey(std::string_view name) { return AsciiUpper(name); }

// Splits off the next line; a run of CR and LF characters ends it.
std::string_view NextLine(std::string_view& rest) {
  size_t end = 0;
  while (end < rest.size() && !IsLineEnd(rest[end])) ++end;
  std::string_view line = rest.substr(0, end);
  while (end < rest.size() && IsLineEnd(rest[end])) ++end;
  rest.remove_prefix(end);
  return line;
}

std::string Cut(std::string_view text) { return std::string(Utf8Prefix(text, kMaxLanguageText)); }

std::string FromValue(std::string_view value) {
  // The value is a C string to the platform reader: it ends at a NUL.
  value = value.substr(0, value.find('\0'));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return Cut(value);
}

// Trailing spaces of a default are dropped, as the platform reader does.
std::string FromFallback(std::string_view fallback) {
  while (!fallback.empty() && fallback.back() == ' ') fallback.remove_suffix(1);
  return Cut(fallback);
}

std::u16string FromUtf16Le(std::string_view bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return units;
}

bool HasNonAscii(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// Where no code page is at hand, its bytes are used as they stand.
std::string KeepBytes(std::string_view ansi) { return std::string(ansi); }

}  // namespace

std::string DecodeLanguageFile(std::string_view bytes, const AnsiDecoder& fromAnsi) {
  // Through UTF-16 and back: what follows the mark may still be ill-formed.
  if (bytes.starts_with("\xEF\xBB\xBF")) return Utf16ToUtf8(Utf8ToUtf16(bytes.substr(3)));
  if (bytes.starts_with("\xFF\xFE")) return Utf16ToUtf8(FromUtf16Le(bytes.substr(2)));
  // Only bytes above 127 that form valid UTF-8 tell UTF-8 from the code page;
  // ASCII alone is left to the code page.
  if (HasNonAscii(bytes) && IsValidUtf8(bytes)) return std::string(bytes);
  return fromAnsi(bytes);
}

LanguageFile::LanguageFile(std::string_view text) {
  // Lines above the first header form a section without a name, which is
  // therefore always the first of that name.
  Keys* section = &sections_[""];
  while (!text.empty()) {
    const std::string_view line = Trim(NextLine(text));
    if (line.empty()) continue;
    const size_t close = line.rfind(']');
    if (line.front() == '[' && close != std::string_view::npos && close > 0) {
      // A later section of a name already seen is never searched.
      const auto [entry, isNew] = sections_.try_emplace(NameKey(Trim(line.substr(1, close - 1))));
      section = isNew ? &entry->second : nullptr;
      continue;
    }
    if (!section) continue;
    const size_t equals = line.find('=');
    std::string name = NameKey(equals == std::string_view::npos ? line : TrimRight(line.substr(0, equals)));
    if (section->contains(name)) continue;  // the first key of a name wins
    std::optional<std::string> value;
    if (equals != std::string_view::npos) value = FromValue(TrimLeft(line.substr(equals + 1)));
    section->emplace(std::move(name), std::move(value));
  }
}

std::string LanguageFile::Text(std::string_view section, std::string_view key, std::string_view fallback) const {
  const auto keys = sections_.find(NameKey(Trim(section)));
  if (keys == sections_.end()) return FromFallback(fallback);
  const auto value = keys->second.find(NameKey(Trim(key)));
  if (value == keys->second.end() || !value->second) return FromFallback(fallback);
  return *value->second;
}

std::string ReadLanguageStringFrom(std::string_view contents, std::string_view section, std::string_view key,
                                   std::string_view fallback) {
  return LanguageFile(DecodeLanguageFile(contents, KeepBytes)).Text(section, key, fallback);
}
