#pragma once
// Language-file lookups with their expected results. The unit tests check the
// reader against them; the platform tests check the platform's own
// private-profile reader against the same table, which keeps the expectations
// honest.
#include <string>
#include <string_view>
#include <vector>

struct LanguageFileCase {
  std::string label;
  std::string contents;
  std::string section;
  std::string key;
  std::string fallback;
  std::string expected;
  // False where the platform emulator is known to differ from Windows, or
  // where the reader departs from the platform's ANSI reader on purpose.
  bool sameOnPlatform = true;
};

inline std::vector<LanguageFileCase> LanguageFileCases() {
  using namespace std::string_literals;
  const std::string window = "[PreferencesWindow]\r\n";
  const std::string pattern = [] {
    std::string text;
    for (int i = 0; text.size() < 2000; ++i) text += std::to_string(i) + ",";
    return text.substr(0, 2000);
  }();
  return {
      {"value of its section", window + "Title=Einstellungen\r\n", "PreferencesWindow", "Title", "Preferences",
       "Einstellungen"},
      {"key of another section", "[TrayMenu]\r\nTitle=Menu\r\n" + window, "PreferencesWindow", "Title", "Preferences",
       "Preferences"},
      {"names in lower case", "[preferenceswindow]\r\ntitle=Einstellungen\r\n", "PreferencesWindow", "Title", "P",
       "Einstellungen"},
      {"names in mixed case", "[tRAYmENU]\r\nEXIT=Quitter\r\n", "TrayMenu", "Exit", "Exit", "Quitter"},
      {"a and z in either case", "[za]\r\nAZ=Zeta\r\n", "ZA", "az", "P", "Zeta"},
      {"blanks around key and value", window + "   Title   =   Hello World   \r\n", "PreferencesWindow", "Title", "P",
       "Hello World"},
      {"tabs around key and value", window + "\tTitle\t=\tHello\t\r\n", "PreferencesWindow", "Title", "P", "Hello"},
      {"double quotes", window + "Title = \" spaced \" \r\n", "PreferencesWindow", "Title", "P", " spaced "},
      {"single quotes", window + "Title='quoted'\r\n", "PreferencesWindow", "Title", "P", "quoted"},
      {"unmatched quotes stay", window + "Title='mixed\"\r\n", "PreferencesWindow", "Title", "P", "'mixed\""},
      {"quote at one end stays", window + "Title=\"open\r\n", "PreferencesWindow", "Title", "P", "\"open"},
      {"a lone quote stays", window + "Title=\"\r\n", "PreferencesWindow", "Title", "P", "\""},
      {"a pair of quotes is empty", window + "Title=\"\"\r\n", "PreferencesWindow", "Title", "P", ""},
      {"inner quotes stay", window + "Title=\"a\"b\"\r\n", "PreferencesWindow", "Title", "P", "a\"b"},
      {"apostrophe inside", window + "Title=l'ecran\r\n", "PreferencesWindow", "Title", "P", "l'ecran"},
      {"missing section", "[TrayMenu]\r\nExit=Quitter\r\n", "PreferencesWindow", "Title", "Preferences", "Preferences"},
      {"missing key", window + "ButtonOK=Ja\r\n", "PreferencesWindow", "Title", "Preferences", "Preferences"},
      {"empty file", "", "PreferencesWindow", "Title", "Preferences", "Preferences"},
      {"empty value", window + "Title=\r\n", "PreferencesWindow", "Title", "Preferences", ""},
      {"blank value", window + "Title =    \r\n", "PreferencesWindow", "Title", "Preferences", ""},
      {"value of 1023 characters", window + "Title=" + pattern.substr(0, 1023) + "\r\n", "PreferencesWindow", "Title",
       "P", pattern.substr(0, 1023)},
      {"value of 1024 characters", window + "Title=" + pattern.substr(0, 1024) + "\r\n", "PreferencesWindow", "Title",
       "P", pattern.substr(0, 1023)},
      {"value of 2000 characters", window + "Title=" + pattern + "\r\n", "PreferencesWindow", "Title", "P",
       pattern.substr(0, 1023)},
      {"quoted value of 2000 characters", window + "Title=\"" + pattern + "\"\r\n", "PreferencesWindow", "Title", "P",
       pattern.substr(0, 1023)},
      {"first of two sections", window + "ButtonOK=Ja\r\n[TrayMenu]\r\n" + window + "Title=Later\r\n",
       "PreferencesWindow", "Title", "Preferences", "Preferences"},
      {"first of two keys", window + "Title=First\r\ntitle=Second\r\n", "PreferencesWindow", "Title", "P", "First"},
      {"key line without equals", window + "Title\r\n", "PreferencesWindow", "Title", "Preferences", "Preferences"},
      {"key line without equals hides a later one", window + "Title\r\nTitle=Later\r\n", "PreferencesWindow", "Title",
       "Preferences", "Preferences"},
      {"comment line", window + ";Title=Commented\r\n", "PreferencesWindow", "Title", "Preferences", "Preferences"},
      {"comment before the key", "; translated by hand\r\n" + window + "; Title=Old\r\nTitle=New\r\n",
       "PreferencesWindow", "Title", "P", "New"},
      {"LF line ends", "[PreferencesWindow]\nButtonOK=Ja\nTitle=Einstellungen\n", "PreferencesWindow", "Title", "P",
       "Einstellungen"},
      {"CR line ends", "[PreferencesWindow]\rButtonOK=Ja\rTitle=Einstellungen", "PreferencesWindow", "Title", "P",
       "Einstellungen"},
      {"empty lines between", "\r\n\r\n" + window + "\n\r\n\nTitle=Einstellungen", "PreferencesWindow", "Title", "P",
       "Einstellungen"},
      {"blanks inside brackets", "[  PreferencesWindow\t]\r\nTitle=Einstellungen\r\n", "PreferencesWindow", "Title",
       "P", "Einstellungen"},
      {"blanks before a header", "   [PreferencesWindow]   \r\nTitle=Einstellungen\r\n", "PreferencesWindow", "Title",
       "P", "Einstellungen"},
      {"text after the bracket", "[PreferencesWindow] ; window\r\nTitle=Einstellungen\r\n", "PreferencesWindow",
       "Title", "P", "Einstellungen"},
      {"an empty header ends the section", window + "ButtonOK=Ja\r\n[]\r\nTitle=Later\r\n", "PreferencesWindow",
       "Title", "Preferences", "Preferences"},
      {"header without closing bracket", "[PreferencesWindow\r\nTitle=Einstellungen\r\n", "PreferencesWindow", "Title",
       "Preferences", "Preferences"},
      {"key above every header", "Title=Outside\r\n" + window, "PreferencesWindow", "Title", "Preferences",
       "Preferences"},
      {"equals sign in the value", window + "Title = a=b\r\n", "PreferencesWindow", "Title", "P", "a=b"},
      {"blanks inside a key", window + "My  Key = v\r\n", "PreferencesWindow", "My  Key", "P", "v"},
      {"blanks around requested names", window + "Title=Einstellungen\r\n", " PreferencesWindow ", " Title ", "P",
       "Einstellungen"},
      {"bytes above 127 as they stand", window + "Title=\xC4nderungen \x80 \xFF\r\n", "PreferencesWindow", "Title", "P",
       "\xC4nderungen \x80 \xFF"},
      {"NUL ends a value", window + "Title=ab\0cd\r\n"s, "PreferencesWindow", "Title", "P", "ab"},
      {"trailing spaces of a default", window, "PreferencesWindow", "Title", "Preferences  ", "Preferences"},
      {"one trailing space of a default", window, "PreferencesWindow", "Title", "Preferences ", "Preferences"},
      // The file is UTF-8: the mark is dropped and the first header is found. The
      // platform's ANSI reader on Windows reads the mark as part of the first line
      // and loses that header; the emulator skips the mark.
      {"byte-order mark before the first header", "\xEF\xBB\xBF" + window + "Title=Einstellungen\r\n",
       "PreferencesWindow", "Title", "Preferences", "Einstellungen", false},
      // The emulator loses the last character of a quoted value of exactly 1023.
      {"quoted value of 1023 characters", window + "Title=\"" + pattern.substr(0, 1023) + "\"\r\n", "PreferencesWindow",
       "Title", "P", pattern.substr(0, 1023), false},
  };
}
