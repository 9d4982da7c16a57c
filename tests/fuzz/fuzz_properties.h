#pragma once
// Properties that must hold for any input, shared by the fuzz targets and the
// unit test that replays their corpora. Each check returns a description of
// the first broken property, or nothing.
#include <charconv>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/unicode.h"
#include "core/languages/language_file.h"
#include "core/settings/number_field.h"

namespace fuzz {

inline bool IsIniBlank(char c) { return (c >= '\t' && c <= '\r') || c == '\x1a' || c == ' '; }

inline std::string_view IniTrim(std::string_view text) {
  while (!text.empty() && IsIniBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsIniBlank(text.back())) text.remove_suffix(1);
  return text;
}

inline std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

inline std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// A second reader built the other way round: the whole file is parsed into
// sections of keys first, as the platform's reader does, then searched.
struct ModelKey {
  std::string name;
  std::optional<std::string> value;
};
struct ModelSection {
  std::string name;
  std::vector<ModelKey> keys;
};

inline std::vector<ModelSection> ParseModel(std::string_view contents) {
  std::vector<ModelSection> sections(1);  // the nameless one above every header
  std::string line;
  auto finishLine = [&] {
    const std::string_view text = IniTrim(line);
    if (!text.empty()) {
      const size_t close = text.find_last_of(']');
      if (text[0] == '[' && close != std::string_view::npos && close > 0) {
        sections.push_back({std::string(IniTrim(text.substr(1, close - 1))), {}});
      } else if (const size_t equals = text.find('='); equals != std::string_view::npos) {
        sections.back().keys.push_back(
            {std::string(IniTrim(text.substr(0, equals))), std::string(IniTrim(text.substr(equals + 1)))});
      } else {
        sections.back().keys.push_back({std::string(text), std::nullopt});
      }
    }
    line.clear();
  };
  for (char c : contents) {
    if (c == '\r' || c == '\n') {
      finishLine();
    } else {
      line += c;
    }
  }
  finishLine();
  return sections;
}

// Every byte of well-formed UTF-8 but a continuation byte (80..BF) starts a character.
inline bool StartsCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }

// The first kMaxLanguageText characters of well-formed UTF-8.
inline std::string ModelCut(std::string_view utf8) {
  size_t characters = 0;
  size_t end = 0;
  for (; end < utf8.size(); ++end) {
    if (StartsCharacter(utf8[end]) && characters++ == kMaxLanguageText) break;
  }
  return std::string(utf8.substr(0, end));
}

// The value a lookup finds, before it is cut to the longest text.
inline std::string ModelValue(const std::vector<ModelSection>& sections, std::string_view section, std::string_view key,
                              std::string_view fallback) {
  std::string result(fallback);
  while (!result.empty() && result.back() == ' ') result.pop_back();
  for (const ModelSection& s : sections) {
    if (AsciiUpper(s.name) != AsciiUpper(IniTrim(section))) continue;
    for (const ModelKey& k : s.keys) {
      if (AsciiUpper(k.name) != AsciiUpper(IniTrim(key))) continue;
      if (k.value) {
        std::string value = k.value->substr(0, k.value->find('\0'));
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
          value = value.substr(1, value.size() - 2);
        }
        result = value;
      }
      break;
    }
    break;
  }
  return result;
}

// A lookup in well-formed UTF-8 text.
inline std::string ModelLookup(std::string_view text, std::string_view section, std::string_view key,
                               std::string_view fallback) {
  return ModelCut(ModelValue(ParseModel(text), section, key, fallback));
}

// A stand-in for the system's code page in which each byte is the character
// of that number (ISO 8859-1): its text is always valid UTF-8.
inline std::string Latin1ToUtf8(std::string_view ansi) {
  std::string text;
  for (const char c : ansi) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      text += c;
    } else {
      text += static_cast<char>(0xC0 | (byte >> 6));
      text += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return text;
}

inline std::string KeepBytes(std::string_view ansi) { return std::string(ansi); }

// A file saved in UTF-16 LE with its byte-order mark, made from well-formed
// UTF-8 without the program's converters.
inline std::string ModelUtf16LeFile(std::string_view utf8) {
  std::string bytes = "\xFF\xFE";
  auto unit = [&bytes](char32_t value) {
    bytes += static_cast<char>(value & 0xFF);
    bytes += static_cast<char>(value >> 8);
  };
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i++]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length && i < utf8.size(); ++k) codePoint = codePoint << 6 | (utf8[i++] & 0x3F);
    if (codePoint < 0x10000) {
      unit(codePoint);
    } else {
      unit(0xD800 + ((codePoint - 0x10000) >> 10));
      unit(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    }
  }
  return bytes;
}

// Code points, an ill-formed part of UTF-8 counting as one.
inline size_t CodePoints(std::string_view text) {
  size_t count = 0;
  for (const char16_t unit : Utf8ToUtf16(text)) count += unit < 0xDC00 || unit > 0xDFFF;
  return count;
}

// Lookups worth making in a given file: fixed names, plus the names that its
// first lines seem to use, so that found keys are exercised too.
inline std::vector<std::pair<std::string, std::string>> Queries(std::string_view contents) {
  std::vector<std::pair<std::string, std::string>> queries = {
      {"PreferencesWindow", "Title"}, {"TrayMenu", "Exit"}, {"FileInfo", "HelpFileName"}, {"", ""}, {"", "Title"},
  };
  std::string section;
  size_t lines = 0;
  while (!contents.empty() && lines++ < 16) {
    const size_t end = contents.find_first_of("\r\n");
    const std::string_view line = IniTrim(contents.substr(0, end));
    contents.remove_prefix(end == std::string_view::npos ? contents.size() : end + 1);
    if (line.starts_with('[') && line.find(']') != std::string_view::npos) {
      section = std::string(line.substr(1, line.find(']') - 1));
    } else if (!line.empty()) {
      queries.push_back({section, std::string(line.substr(0, line.find('=')))});
    }
  }
  return queries;
}

// The decoding of a file's bytes, then lookups in the text.
inline std::string CheckLanguageFile(std::string_view bytes) {
  const std::string text = DecodeLanguageFile(bytes, Latin1ToUtf8);
  if (!IsValidUtf8(text)) return "decoded text is not UTF-8";
  if (DecodeLanguageFile(ModelUtf16LeFile(text), Latin1ToUtf8) != text) return "UTF-16 LE file does not decode back";
  if (DecodeLanguageFile("\xEF\xBB\xBF" + text, Latin1ToUtf8) != text)
    return "UTF-8 file with a mark does not decode back";
  // The code page's decoder is asked for the bytes as they are, or not at all.
  const std::string kept = DecodeLanguageFile(bytes, KeepBytes);
  if (kept != text && (kept != bytes || text != Latin1ToUtf8(bytes))) return "the code page decoded a part of the file";

  const std::string fallback = "fallback text";
  const std::vector<ModelSection> model = ParseModel(text);
  const LanguageFile file(text);
  for (const auto& [section, key] : Queries(text)) {
    const std::string where = " for [" + section + "] " + key;
    const std::string found = file.Text(section, key, fallback);
    if (CodePoints(found) > kMaxLanguageText) return "result longer than the limit" + where;
    if (found != fallback && found.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
      return "a line end or NUL in a value" + where;
    }
    if (found != ModelCut(ModelValue(model, section, key, fallback))) return "differs from the parsed model" + where;
    if (file.Text(AsciiLower(section), AsciiUpper(key), fallback) != found) {
      return "depends on the letter case of the names" + where;
    }
  }

  // The file helpers keep code-page bytes as they stand, which need not be UTF-8.
  const std::vector<ModelSection> keptModel = ParseModel(kept);
  for (const auto& [section, key] : Queries(kept)) {
    const std::string where = " in the bytes as they stand for [" + section + "] " + key;
    const std::string found = ReadLanguageStringFrom(bytes, section, key, fallback);
    if (CodePoints(found) > kMaxLanguageText) return "result longer than the limit" + where;
    if (!ModelValue(keptModel, section, key, fallback).starts_with(found))
      return "not the parsed model's value" + where;
  }
  return {};
}

// A second integer reader: the digits are left to std::from_chars.
inline std::optional<int32_t> ModelInteger(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) text.remove_prefix(1);
  int base = 10;
  if (text.starts_with('$')) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  // from_chars takes no sign or prefix of its own here.
  if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
  uint64_t magnitude = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  const uint64_t limit = uint64_t{std::numeric_limits<int32_t>::max()} + (negative ? 1 : 0);
  if (magnitude > limit) return std::nullopt;
  return static_cast<int32_t>(negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude));
}

inline std::string CheckNumberText(std::string_view text, size_t caret) {
  const std::optional<int32_t> value = ParseInteger(text);
  if (value != ModelInteger(text)) return "differs from from_chars";
  if (value && ParseInteger(std::to_string(*value)) != value) return "decimal form does not read back";

  const NumberFieldText field = NormaliseNumberText(text, caret);
  if (field.text != (value ? std::to_string(*value) : "0")) return "change rule gave another text";
  if (field.caret > field.text.size() || field.caret > caret) return "caret outside the text or moved on";
  if (field.selectAll != (field.text == "0")) return "selection does not match the text";
  const NumberFieldText again = NormaliseNumberText(field.text, field.caret);
  if (again.text != field.text || again.caret != field.caret) return "change rule does not settle";

  const std::string left = LeaveNumberText(text);
  if (IntegerOr(left, 0) == 0) return "a field left holding zero or no integer";
  if (value && *value != 0 && left != text) return "leaving changed a valid number";
  return {};
}

// The fuzz input for the number field: a caret in the first byte, the text after it.
inline std::string CheckNumberInput(std::string_view input) {
  if (input.empty()) return CheckNumberText(input, 0);
  return CheckNumberText(input.substr(1), static_cast<unsigned char>(input[0]) % 16);
}

}  // namespace fuzz
