// The version-resource reader against version resources compiled into small libraries, and
// against the program's own executable.
#include "services/information/version_info.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "info_paths.h"
#include "ui/information/about_window.h"
#include "version.h"

namespace {

using info_paths::Fixture;

std::string SystemLanguageName(WORD language) {
  char name[256] = {};
  VerLanguageNameA(language, name, sizeof name);
  return name;
}

using F = VersionField;

// Every text of the reader, by field.
std::vector<std::string> AllTexts(const VersionInfo& reader) {
  std::vector<std::string> texts;
  for (int field = 0; field < kVersionFields; ++field) texts.push_back(reader.Text(static_cast<F>(field)));
  return texts;
}

struct StringCase {
  F field;
  const char* expected;
};

const StringCase kFullCases[] = {
    {F::CompanyName, "Fixture Company"},
    {F::FileDescription, "Fixture description"},
    {F::FileVersion, "2.3.4.5"},
    {F::InternalName, "fixture-internal"},
    {F::LegalCopyright, "Copyright Fixture"},
    {F::LegalTradeMark, "Fixture Mark"},
    {F::OriginalFileName, "fixture_full.dll"},
    {F::ProductName, "Fixture Product"},
    {F::ProductVersion, "6.7.8.9"},
    {F::Comments, "A comment"},
};

TEST(VersionInfo, ReadsEveryKindFromTheFirstTranslationsTable) {
  VersionInfo reader;
  reader.SetFilename(Fixture("fixture_full"));
  EXPECT_EQ(reader.Filename(), Fixture("fixture_full"));
  for (const auto& c : kFullCases) EXPECT_EQ(reader.Text(c.field), c.expected) << VersionStringKey(c.field);
  EXPECT_EQ(reader.Text(F::Language), SystemLanguageName(0x0409));
  EXPECT_FALSE(reader.Text(F::Language).empty());
}

struct TableCase {
  const char* fixture;
  const char* fileVersion;
  WORD language;
};

// Each fixture also holds a decoy table that a wrongly formed name would find.
const TableCase kTableCases[] = {
    {"fixture_code_page_0", "code page 0", 0x0409},
    {"fixture_language_7", "language 7", 0x0007},
};

TEST(VersionInfo, TableNameFollowsLanguageAndCodePageDigitForDigit) {
  for (const auto& c : kTableCases) {
    VersionInfo reader;
    reader.SetFilename(Fixture(c.fixture));
    EXPECT_EQ(reader.Text(F::FileVersion), c.fileVersion) << c.fixture;
    EXPECT_EQ(reader.Text(F::Language), SystemLanguageName(c.language)) << c.fixture;
  }
}

TEST(VersionInfo, KeysMatchWhateverTheirLetterCase) {
  VersionInfo reader;
  reader.SetFilename(Fixture("fixture_code_page_0"));
  EXPECT_EQ(reader.Text(F::ProductName), "Neutral");
}

TEST(VersionInfo, MissingTextsAndMissingFilesLeaveEverythingEmpty) {
  std::ofstream(info_paths::TestDirectory() + "fixtures\\plain.txt") << "no version here\n";
  const std::string emptyFiles[] = {
      Fixture("fixture_no_version"),
      Fixture("fixture_no_translation"),
      info_paths::TestDirectory() + "fixtures\\plain.txt",
      info_paths::TestDirectory() + "fixtures\\missing.dll",
      "",
  };
  for (const auto& file : emptyFiles) {
    VersionInfo reader;
    reader.SetFilename(file);
    for (const auto& text : AllTexts(reader)) EXPECT_EQ(text, "") << file;
  }

  VersionInfo reader;
  reader.SetFilename(Fixture("fixture_no_file_version"));
  EXPECT_EQ(reader.Text(F::CompanyName), "Only a company");
  EXPECT_EQ(reader.Text(F::FileVersion), "");
  EXPECT_EQ(reader.Text(F::ProductVersion), "");
}

TEST(VersionInfo, ANewFileReplacesTheTextsOfTheOldOne) {
  VersionInfo reader;
  reader.SetFilename(Fixture("fixture_full"));
  reader.SetFilename(Fixture("fixture_no_file_version"));
  EXPECT_EQ(reader.Text(F::CompanyName), "Only a company");
  EXPECT_EQ(reader.Text(F::FileVersion), "");
  EXPECT_EQ(reader.Text(F::Comments), "");

  reader.SetFilename(Fixture("fixture_full"));
  reader.SetFilename(Fixture("fixture_no_version"));
  for (const auto& text : AllTexts(reader)) EXPECT_EQ(text, "");
}

TEST(VersionInfo, ReadingTwiceGivesTheSameTexts) {
  VersionInfo reader;
  reader.SetFilename(info_paths::Program());
  const auto first = AllTexts(reader);
  reader.ReadVersionInfo();
  EXPECT_EQ(AllTexts(reader), first);
  VersionInfo other;
  other.SetFilename(info_paths::Program());
  EXPECT_EQ(AllTexts(other), first);
}

TEST(VersionInfo, TheProgramCarriesTheBuildsVersion) {
  VersionInfo reader;
  reader.SetFilename(info_paths::Program());
  EXPECT_EQ(reader.Text(F::FileVersion), VORLANE_VERSION_TEXT);
  EXPECT_EQ(reader.Text(F::ProductVersion), VORLANE_VERSION_TEXT);
  EXPECT_EQ(reader.Text(F::Language), SystemLanguageName(0x0409));
  // Four dot-separated numbers.
  int numbers[4] = {-1, -1, -1, -1};
  char rest = 0;
  EXPECT_EQ(sscanf(reader.Text(F::FileVersion).c_str(), "%d.%d.%d.%d%c", &numbers[0], &numbers[1], &numbers[2],
                   &numbers[3], &rest),
            4);
  for (int number : numbers) EXPECT_GE(number, 0);
  for (F empty : {F::CompanyName, F::FileDescription, F::InternalName, F::LegalCopyright, F::LegalTradeMark,
                  F::OriginalFileName, F::ProductName, F::Comments})
    EXPECT_EQ(reader.Text(empty), "") << VersionStringKey(empty);
}

TEST(VersionInfo, AboutCaptionIsVersionAndTheFileVersion) {
  EXPECT_EQ(AboutVersionCaption(info_paths::Program()), std::string("version ") + VORLANE_VERSION_TEXT);
  EXPECT_EQ(AboutVersionCaption(Fixture("fixture_full")), "version 2.3.4.5");
  EXPECT_EQ(AboutVersionCaption(Fixture("fixture_no_file_version")), "version ");
  EXPECT_EQ(AboutVersionCaption(Fixture("fixture_no_version")), "version ");
}

}  // namespace
