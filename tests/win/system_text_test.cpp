// Texts crossing into the system and back: UTF-8 inside, UTF-16 at the
// boundary, and what is broken on either side.
#include "base/system_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "base/owners.h"
#include "tests/win/test_window.h"
#include "ui/settings/controls.h"

TEST(SystemText, TextsCrossTheBoundaryAndBrokenOnesKeepTheirRest) {
  const owners::Window window(test_window::Make());
  ASSERT_TRUE(window);
  const struct {
    const char* label;
    std::wstring set;  // what the system holds
    std::string read;  // what the program reads
  } cases[] = {
      {"ascii", L"Printer", "Printer"},
      {"greek, cjk, emoji", L"\u0395\u03bb\u03bb\u03ac\u03b4\u03b1 \u4e2d\u6587 \U0001F600",
       "\u0395\u03bb\u03bb\u03ac\u03b4\u03b1 \u4e2d\u6587 \U0001F600"},
      {"high surrogate alone", std::wstring(L"a") + wchar_t(0xD83D) + L"b", "a\uFFFDb"},
      {"low surrogate alone", std::wstring(L"a") + wchar_t(0xDE00) + L"b", "a\uFFFDb"},
      {"surrogates in the wrong order", std::wstring(L"a") + wchar_t(0xDE00) + wchar_t(0xD83D) + L"b",
       "a\uFFFD\uFFFDb"},
  };
  for (const auto& c : cases) {
    SetWindowTextW(window.get(), c.set.c_str());
    EXPECT_EQ(WindowText(window.get()), c.read) << c.label;
    EXPECT_EQ(Narrow(c.set), c.read) << c.label;
  }

  // Broken UTF-8 from the program reaches the system with its rest.
  SetWindowTextOf(window.get(),
                  "a\xFF"
                  "b\xC3");
  EXPECT_EQ(WindowText(window.get()), "a\uFFFDb\uFFFD");
  EXPECT_EQ(Wide("\xE2\x82"), std::wstring(1, wchar_t(0xFFFD)));
}

TEST(SystemText, TheAnsiCodePageBecomesUtf8) {
  if (GetACP() != 1252) GTEST_SKIP() << "the bytes below are those of code page 1252";
  EXPECT_EQ(FromAnsiCodePage("Fran\xE7"
                             "ais \x80 \xA9"),
            "Fran\u00e7ais \u20ac \u00a9");
  EXPECT_EQ(FromAnsiCodePage(""), "");
}
