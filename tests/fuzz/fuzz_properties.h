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

inline std::string ModelLookup(const std::vector<ModelSection>& sections, std::string_view section,
                               std::string_view key, std::string_view fallback) {
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
  return result.substr(0, kMaxLanguageText);
}

inline std::string ModelLookup(std::string_view contents, std::string_view section, std::string_view key,
                               std::string_view fallback) {
  return ModelLookup(ParseModel(contents), section, key, fallback);
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

inline std::string CheckLanguageFile(std::string_view contents) {
  const std::string fallback = "fallback text";
  const std::vector<ModelSection> model = ParseModel(contents);
  for (const auto& [section, key] : Queries(contents)) {
    const std::string where = " for [" + section + "] " + key;
    const std::string text = ReadLanguageStringFrom(contents, section, key, fallback);
    if (text.size() > kMaxLanguageText) return "result longer than the limit" + where;
    if (text != fallback && text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) {
      return "a line end or NUL in a value" + where;
    }
    if (text != ModelLookup(model, section, key, fallback)) return "differs from the parsed model" + where;
    if (ReadLanguageStringFrom(contents, AsciiLower(section), AsciiUpper(key), fallback) != text) {
      return "depends on the letter case of the names" + where;
    }
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
