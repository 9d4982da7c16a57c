#include "core/languages/language_file.h"

#include <gtest/gtest.h>

#include "base/unicode.h"
#include "tests/unit/language_file_cases.h"

namespace {

// A file saved as UTF-16 LE with its byte-order mark.
std::string Utf16LeFile(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::string Repeat(std::string_view text, size_t count) {
  std::string repeated;
  for (size_t i = 0; i < count; ++i) repeated += text;
  return repeated;
}

struct EncodingCase {
  std::string label;
  std::string bytes;
  std::string expected;  // [PreferencesWindow] Title, in UTF-8, with "Preferences" as the fallback
  bool viaAnsi;          // whether the code page's decoder was asked
};

// The letters after an escape are beyond 'f', so that the escape ends before them.
std::vector<EncodingCase> EncodingCases() {
  const std::string window = "[PreferencesWindow]\r\n";
  // Characters of one, two and four bytes; a cut after 1023 bytes would split one.
  const std::string mixed = "a\xC3\xA9\xF0\x9F\x96\xA8";
  const std::string longValue = "x" + Repeat(mixed, 400);
  const std::string first1023 = "x" + Repeat(mixed, 340) + "a\xC3\xA9";
  const std::string euros1023 = Repeat("\xE2\x82\xAC", 1023);
  return {
      {"UTF-8 without a mark", window + "Title=R\xC3\xA9glages \xE2\x82\xAC\r\n", "R\xC3\xA9glages \xE2\x82\xAC",
       false},
      {"UTF-8 mark before the first header", "\xEF\xBB\xBF" + window + "Title=Einstellungen\r\n", "Einstellungen",
       false},
      {"UTF-8 mark, then an ill-formed byte", "\xEF\xBB\xBF" + window + "Title=a\xE9z\r\n", "a\xEF\xBF\xBDz", false},
      {"UTF-16 LE mark before the first header",
       Utf16LeFile(u"[PreferencesWindow]\r\nTitle=\u03A1\u03C5\u03B8\u03BC \U0001F5A8\r\n"),
       "\xCE\xA1\xCF\x85\xCE\xB8\xCE\xBC \xF0\x9F\x96\xA8", false},
      {"UTF-16 LE, a last odd byte dropped", Utf16LeFile(u"[PreferencesWindow]\r\nTitle=Ab") + "c", "Ab", false},
      {"UTF-16 LE, an unpaired surrogate", Utf16LeFile(u"[PreferencesWindow]\r\nTitle=a\xD800z"), "a\xEF\xBF\xBDz",
       false},
      {"invalid UTF-8 goes to the code page", window + "Title=R\xE9glages \x80\r\n", "R\xC3\xA9glages \xE2\x82\xAC",
       true},
      {"pure ASCII goes to the code page", window + "Title=Settings\r\n", "Settings", true},
      {"ASCII up to DEL goes to the code page", window + "Title=Set\x7Ftings\r\n", "Set\x7Ftings", true},
      // In Windows-1252 these bytes would read as four characters.
      {"code-page bytes that form UTF-8 read as UTF-8", window + "Title=\xC3\xA9t\xC3\xA9\r\n", "\xC3\xA9t\xC3\xA9",
       false},
      {"1023 characters of three bytes stay whole", window + "Title=" + euros1023 + "\r\n", euros1023, false},
      {"UTF-8 value cut after 1023 characters", window + "Title=" + longValue + "\r\n", first1023, false},
      {"UTF-16 value cut after 1023 characters", Utf16LeFile(Utf8ToUtf16(window + "Title=\"" + longValue + "\"")),
       first1023, false},
  };
}

}  // namespace

TEST(LanguageFileContents, EveryCaseGivesItsExpectedText) {
  for (const LanguageFileCase& c : LanguageFileCases()) {
    EXPECT_EQ(ReadLanguageStringFrom(c.contents, c.section, c.key, c.fallback), c.expected) << c.label;
  }
}

TEST(LanguageFileEncodings, EveryCaseGivesItsExpectedText) {
  for (const EncodingCase& c : EncodingCases()) {
    bool askedAnsi = false;
    const std::string text = DecodeLanguageFile(c.bytes, [&askedAnsi](std::string_view ansi) {
      askedAnsi = true;
      return Windows1252ToUtf8(ansi);
    });
    EXPECT_TRUE(IsValidUtf8(text)) << c.label;
    EXPECT_EQ(LanguageFile(text).Text("PreferencesWindow", "Title", "Preferences"), c.expected) << c.label;
    EXPECT_EQ(askedAnsi, c.viaAnsi) << c.label;
  }
}

TEST(LanguageFileContents, NoResultIsLongerThanTheLimit) {
  const std::string huge(5000, 'x');
  EXPECT_EQ(ReadLanguageStringFrom("[S]\nK=" + huge, "S", "K", "").size(), kMaxLanguageText);
  EXPECT_EQ(ReadLanguageStringFrom("[S]\nK=\"" + huge + "\"", "S", "K", "").size(), kMaxLanguageText);
  EXPECT_EQ(ReadLanguageStringFrom("", "S", "K", huge).size(), kMaxLanguageText);
}
