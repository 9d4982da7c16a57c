#include "base/unicode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace std::string_literals;

struct Utf8Case {
  const char* label;
  std::string utf8;
  std::u16string utf16;
  bool valid;
};

// The letters after an escape are beyond 'f', so that the escape ends before them.
const std::vector<Utf8Case>& Utf8Cases() {
  static const std::vector<Utf8Case> cases = {
      {"ASCII", "Print Screen 1.0", u"Print Screen 1.0", true},
      {"NUL inside", "a\0z"s, u"a\0z"s, true},
      {"two bytes: Greek", "\xCE\xB1\xCE\xB2\xCE\xB3", u"\u03B1\u03B2\u03B3", true},
      {"three bytes: CJK", "\xE4\xB8\xAD\xE6\x96\x87", u"\u4E2D\u6587", true},
      {"four bytes: an emoji", "a\xF0\x9F\x96\xA8z", u"a\U0001F5A8z", true},
      {"first and last of each length",
       "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
       u"\u007F\u0080\u07FF\u0800\uD7FF\uE000\uFFFF\U00010000\U0010FFFF", true},
      {"continuation byte alone", "a\x80z", u"a\uFFFDz", false},
      {"overlong two bytes", "a\xC0\x80z", u"a\uFFFD\uFFFDz", false},
      {"overlong three and four bytes", "a\xE0\x80\xAF\xF0\x8F\xBF\xBFz",
       u"a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDz", false},
      {"truncated at the end", "ab\xE4\xB8", u"ab\uFFFD", false},
      {"truncated four bytes at the end", "ab\xF0\x9F\x96", u"ab\uFFFD", false},
      {"truncated in the middle", "a\xE4\xB8y\xF0\x9F\x96z", u"a\uFFFDy\uFFFDz", false},
      {"truncated before another lead", "a\xC3\xE4\xB8\xAD", u"a\uFFFD\u4E2D", false},
      {"surrogate encoded", "a\xED\xA0\x80y\xED\xBF\xBFz", u"a\uFFFD\uFFFD\uFFFDy\uFFFD\uFFFD\uFFFDz", false},
      {"beyond U+10FFFF", "a\xF4\x90\x80\x80z", u"a\uFFFD\uFFFD\uFFFD\uFFFDz", false},
      {"bytes F5 to FF", "a\xF5\xF8\xFB\xFE\xFFz", u"a\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDz", false},
      // Each maximal ill-formed part is one U+FFFD: F1 80 80 | E1 80 | C2 | 80 | 80 BF.
      {"maximal ill-formed parts", "a\xF1\x80\x80\xE1\x80\xC2w\x80x\x80\xBFz",
       u"a\uFFFD\uFFFD\uFFFDw\uFFFDx\uFFFD\uFFFDz", false},
  };
  return cases;
}

struct Utf16Case {
  const char* label;
  std::u16string utf16;
  std::string utf8;
  bool wellFormed;
};

const std::vector<Utf16Case>& Utf16Cases() {
  static const std::vector<Utf16Case> cases = {
      {"surrogate pair", u"a\xD83D\xDDA8z", "a\xF0\x9F\x96\xA8z", true},
      {"first and last pair", u"\xD800\xDC00\xDBFF\xDFFF", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", true},
      {"byte order mark is a character", u"\uFEFFz", "\xEF\xBB\xBFz", true},
      {"high surrogate before a letter", u"a\xD83Dz", "a\xEF\xBF\xBDz", false},
      {"high surrogate at the end", u"ab\xD83D", "ab\xEF\xBF\xBD", false},
      {"low surrogate alone", u"a\xDDA8z", "a\xEF\xBF\xBDz", false},
      {"low before high", u"\xDDA8\xD83Dz", "\xEF\xBF\xBD\xEF\xBF\xBDz", false},
      {"two highs, then a low", u"\xD83D\xD83D\xDDA8z", "\xEF\xBF\xBD\xF0\x9F\x96\xA8z", false},
  };
  return cases;
}

std::u16string Utf16Of(char32_t codePoint) {
  if (codePoint < 0x10000) return std::u16string(1, static_cast<char16_t>(codePoint));
  const char32_t offset = codePoint - 0x10000;
  return {static_cast<char16_t>(0xD800 + (offset >> 10)), static_cast<char16_t>(0xDC00 + (offset & 0x3FF))};
}

}  // namespace

TEST(Unicode, Utf8CasesConvertAndRoundTrip) {
  for (const Utf8Case& c : Utf8Cases()) {
    EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.label;
    EXPECT_EQ(IsValidUtf8(c.utf8), c.valid) << c.label;
    if (c.valid) {
      EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.label;
    }
  }
}

TEST(Unicode, Utf16CasesConvertAndRoundTrip) {
  for (const Utf16Case& c : Utf16Cases()) {
    EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8) << c.label;
    EXPECT_TRUE(IsValidUtf8(c.utf8)) << c.label;
    if (c.wellFormed) {
      EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.label;
    }
  }
  // A view that ends on a high surrogate whose low one follows in memory:
  // the view's end is the end, not the terminating zero.
  const std::u16string pair = u"a\xD83D\xDDA8";
  EXPECT_EQ(Utf16ToUtf8(std::u16string_view(pair).substr(0, 2)), "a\xEF\xBF\xBD");
}

// Every scalar value takes the shortest form and comes back; a surrogate
// written as three bytes is three ill-formed parts.
TEST(Unicode, EveryCodePointRoundTrips) {
  for (char32_t codePoint = 0; codePoint <= 0x10FFFF; ++codePoint) {
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
      const std::string encoded = {'\xED', static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)),
                                   static_cast<char>(0x80 | (codePoint & 0x3F))};
      ASSERT_FALSE(IsValidUtf8(encoded)) << static_cast<uint32_t>(codePoint);
      ASSERT_EQ(Utf8ToUtf16(encoded), u"\uFFFD\uFFFD\uFFFD") << static_cast<uint32_t>(codePoint);
      continue;
    }
    const std::u16string utf16 = Utf16Of(codePoint);
    const std::string utf8 = Utf16ToUtf8(utf16);
    const size_t length = codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
    // One check for all three: a million assertions would make the test slow.
    if (utf8.size() != length || !IsValidUtf8(utf8) || Utf8ToUtf16(utf8) != utf16) {
      FAIL() << "U+" << std::hex << static_cast<uint32_t>(codePoint);
    }
  }
}

TEST(Unicode, PrefixEndsBetweenCharacters) {
  const struct {
    const char* label;
    std::string text;
    size_t characters;
    std::string expected;
  } cases[] = {
      {"ASCII", "abcdef", 3, "abc"},
      {"one character of each length", "\xCE\xB1\xE4\xB8\xAD\xF0\x9F\x96\xA8z", 3,
       "\xCE\xB1\xE4\xB8\xAD\xF0\x9F\x96\xA8"},
      {"cut before a four-byte character", "\xCE\xB1\xF0\x9F\x96\xA8", 1, "\xCE\xB1"},
      {"fewer characters than asked", "\xCE\xB1z", 5, "\xCE\xB1z"},
      {"none asked", "abc", 0, ""},
      {"each byte outside a sequence is one", "\xC4n\xE4\xB8z", 3, "\xC4n\xE4"},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8Prefix(c.text, c.characters), c.expected) << c.label;
}

TEST(Windows1252, EveryByteBecomesItsCharacterTheUnassignedOnesThemselves) {
  const std::pair<std::string, std::string> rows[] = {
      {"Vorlane", "Vorlane"},
      {"\xDC", "\xC3\x9C"},      // U with diaeresis
      {"\xE7", "\xC3\xA7"},      // c with cedilla
      {"\x80", "\xE2\x82\xAC"},  // the euro sign
      {"\x9F", "\xC5\xB8"},      // Y with diaeresis
      {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
      {"\xFF", "\xC3\xBF"},
      {"", ""},
  };
  for (const auto& [ansi, utf8] : rows) EXPECT_EQ(Windows1252ToUtf8(ansi), utf8) << ansi;
}
