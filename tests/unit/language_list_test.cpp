#include "core/languages/language_list.h"

#include <gtest/gtest.h>

namespace {

std::vector<DirectoryEntry> Files(std::initializer_list<const char*> names) {
  std::vector<DirectoryEntry> entries;
  for (const char* name : names) entries.push_back({name, false});
  return entries;
}

}  // namespace

TEST(LanguageFilePath, JoinsTheFolderTheLanguageFolderAndTheName) {
  const struct {
    const char* directory;
    const char* name;
    const char* expected;
  } cases[] = {
      {"C:\\Program Files\\Vorlane\\", "Deutsch", "C:\\Program Files\\Vorlane\\langs\\Deutsch.lng"},
      {"C:\\Vorlane\\", "English", "C:\\Vorlane\\langs\\English.lng"},
      {"C:\\Vorlane\\", "My.Lang", "C:\\Vorlane\\langs\\My.Lang.lng"},
      {"C:\\Vorlane\\", "", "C:\\Vorlane\\langs\\.lng"},
      {"C:\\Vorlane", "Deutsch", "C:\\Vorlane\\langs\\Deutsch.lng"},
  };
  for (const auto& c : cases) EXPECT_EQ(LanguageFilePath(c.directory, c.name), c.expected) << c.name;
  EXPECT_EQ(LanguageSearchPattern("C:\\Vorlane\\"), "C:\\Vorlane\\langs\\*.lng");
}

TEST(RefreshLanguages, OffersEnglishThenLanguageFilesInDirectoryOrder) {
  const struct {
    const char* label;
    std::vector<DirectoryEntry> listing;
    std::vector<std::string> names;
    std::vector<std::string> fileNames;
  } cases[] = {
      {"missing or empty folder", {}, {"English"}, {"English.lng"}},
      {"unsorted files",
       Files({"Espa\xF1ol.lng", "Deutsch.lng",
              "Fran\xE7"
              "ais.lng"}),
       {"English", "Espa\xF1ol", "Deutsch",
        "Fran\xE7"
        "ais"},
       {"English.lng", "Espa\xF1ol.lng", "Deutsch.lng",
        "Fran\xE7"
        "ais.lng"}},
      {"extension in any case",
       Files({"Deutsch.LNG", "Polski.Lng"}),
       {"English", "Deutsch", "Polski"},
       {"English.lng", "Deutsch.LNG", "Polski.Lng"}},
      {"only the last extension goes", Files({"My.Lang.lng"}), {"English", "My.Lang"}, {"English.lng", "My.Lang.lng"}},
      {"other files and short-name matches skipped",
       Files({"readme.txt", "x.lngx", "lng", "Deutsch.lng.bak"}),
       {"English"},
       {"English.lng"}},
      {"dot entries and folders skipped",
       {{".", true}, {"..", true}, {"Old.lng", true}, {".", false}, {"..", false}, {"Deutsch.lng", false}},
       {"English", "Deutsch"},
       {"English.lng", "Deutsch.lng"}},
      {"a file of the built-in language is not offered again",
       Files({"english.lng", "Deutsch.lng", "ENGLISH.LNG"}),
       {"English", "Deutsch"},
       {"english.lng", "Deutsch.lng"}},
      {"only ASCII letters fold",
       Files({"ENGL\xCDSH.lng"}),
       {"English", "ENGL\xCDSH"},
       {"English.lng", "ENGL\xCDSH.lng"}},
      {"a name of nothing but the extension", Files({".lng", ".LNG"}), {"English"}, {"English.lng"}},
  };
  for (const auto& c : cases) {
    const LanguageList list = RefreshLanguages(c.listing, "");
    EXPECT_EQ(list.names, c.names) << c.label;
    EXPECT_EQ(list.fileNames, c.fileNames) << c.label;
    EXPECT_FALSE(list.selected.has_value()) << c.label;
  }
}

TEST(RefreshLanguages, SelectsThePreviousTextAgain) {
  const auto listing = Files({"Deutsch.LNG",
                              "Fran\xE7"
                              "ais.lng",
                              "deutsch.lng", "Espa\xF1ol.lng", "Schweizerdeutsch.lng"});
  const struct {
    const char* previous;
    std::optional<size_t> expected;
  } cases[] = {
      {"Deutsch", 1},  // the first of two that fold alike
      {"DEUTSCH", 1},
      {"english", 0},
      {"eNgLiSh", 0},
      {"Fran\xE7"
       "ais",
       2},
      {"FRAN\xE7"
       "AIS",
       2},
      {"FRAN\xC7"
       "AIS",
       std::nullopt},  // letters beyond ASCII must match exactly
      {"Espa\xD1ol", std::nullopt},
      {"SCHWEIZERDEUTSCH", 5},
      {"", std::nullopt},
      {"Italiano", std::nullopt},
      {"Deutsch.lng", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(RefreshLanguages(listing, c.previous).selected, c.expected) << c.previous;
}

TEST(FindLanguage, FindsTheFirstEntryUnderAsciiUpperCase) {
  const std::vector<std::string> names = {"English", "Deutsch", "My.Lang", "DEUTSCH"};
  EXPECT_EQ(FindLanguage(names, "deutsch"), 1u);
  EXPECT_EQ(FindLanguage(names, "ENGLISH"), 0u);
  EXPECT_EQ(FindLanguage(names, "my.lang"), 2u);
  EXPECT_EQ(FindLanguage(names, "My"), std::nullopt);
  EXPECT_EQ(FindLanguage(names, ""), std::nullopt);
  EXPECT_EQ(FindLanguage({}, "English"), std::nullopt);
}

TEST(LanguageFileOf, UsesTheFileNameAsFound) {
  const LanguageList list = RefreshLanguages(Files({"Deutsch.LNG", "english.lng", "My.Lang.lng"}), "DEUTSCH");
  ASSERT_EQ(list.selected, 1u);
  const std::string directory = "C:\\Vorlane\\";
  EXPECT_EQ(LanguageFileOf(directory, list, list.selected), "C:\\Vorlane\\langs\\Deutsch.LNG");
  EXPECT_EQ(LanguageFileOf(directory, list, 0), "C:\\Vorlane\\langs\\english.lng");
  EXPECT_EQ(LanguageFileOf(directory, list, 2), "C:\\Vorlane\\langs\\My.Lang.lng");
  // With nothing selected the path names no language file and every text stays English.
  EXPECT_EQ(LanguageFileOf(directory, list, std::nullopt), LanguageFilePath(directory, ""));
  EXPECT_EQ(LanguageFileOf(directory, list, 3), LanguageFilePath(directory, ""));
  // Without a file of its own, English is looked for under its own name.
  const LanguageList plain = RefreshLanguages({}, "English");
  EXPECT_EQ(LanguageFileOf(directory, plain, plain.selected), LanguageFilePath(directory, "English"));
}
