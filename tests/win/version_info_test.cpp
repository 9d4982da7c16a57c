// TrpVersionInfo against version resources compiled into small libraries, and
// against the program's own executable.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "services/information/version_info.h"
#include "ui/information/about_window.h"
#include "info_paths.h"
#include "version.h"

namespace {

using info_paths::Fixture;

std::string SystemLanguageName(WORD language) {
  char name[256] = {};
  VerLanguageNameA(language, name, sizeof name);
  return name;
}

// Every text of the reader, by kind.
std::vector<std::string> AllTexts(const TrpVersionInfo& reader) {
  std::vector<std::string> texts;
  for (int kind = 0; kind < kVersionTypes; ++kind) texts.push_back(reader.GetVersionString(TVersionType(kind)));
  return texts;
}

struct StringCase {
  TVersionType type;
  std::string (*accessor)(const TrpVersionInfo&);
  const char* expected;
};

#define ACCESSOR(name) [](const TrpVersionInfo& r) { return r.name(); }

const StringCase kFullCases[] = {
    {vtCompanyName, ACCESSOR(CompanyName), "Fixture Company"},
    {vtFileDescription, ACCESSOR(FileDescription), "Fixture description"},
    {vtFileVersion, ACCESSOR(FileVersion), "2.3.4.5"},
    {vtInternalName, ACCESSOR(InternalName), "fixture-internal"},
    {vtLegalCopyright, ACCESSOR(LegalCopyright), "Copyright Fixture"},
    {vtLegalTradeMark, ACCESSOR(LegalTradeMark), "Fixture Mark"},
    {vtOriginalFileName, ACCESSOR(OriginalFileName), "fixture_full.dll"},
    {vtProductName, ACCESSOR(ProductName), "Fixture Product"},
    {vtProductVersion, ACCESSOR(ProductVersion), "6.7.8.9"},
    {vtComments, ACCESSOR(Comments), "A comment"},
};

TEST(VersionInfo, ReadsEveryKindFromTheFirstTranslationsTable) {
  TrpVersionInfo reader;
  reader.SetFilename(Fixture("fixture_full"));
  EXPECT_EQ(reader.Filename(), Fixture("fixture_full"));
  for (const auto& c : kFullCases) {
    EXPECT_EQ(reader.GetVersionString(c.type), c.expected) << VersionStringKey(c.type);
    EXPECT_EQ(c.accessor(reader), c.expected) << VersionStringKey(c.type);
  }
  EXPECT_EQ(reader.Language(), SystemLanguageName(0x0409));
  EXPECT_FALSE(reader.Language().empty());
  EXPECT_EQ(reader.GetVersionString(vtLanguage), reader.Language());
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
    TrpVersionInfo reader;
    reader.SetFilename(Fixture(c.fixture));
    EXPECT_EQ(reader.FileVersion(), c.fileVersion) << c.fixture;
    EXPECT_EQ(reader.Language(), SystemLanguageName(c.language)) << c.fixture;
  }
}

TEST(VersionInfo, KeysMatchWhateverTheirLetterCase) {
  TrpVersionInfo reader;
  reader.SetFilename(Fixture("fixture_code_page_0"));
  EXPECT_EQ(reader.ProductName(), "Neutral");
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
    TrpVersionInfo reader;
    reader.SetFilename(file);
    for (const auto& text : AllTexts(reader)) EXPECT_EQ(text, "") << file;
  }

  TrpVersionInfo reader;
  reader.SetFilename(Fixture("fixture_no_file_version"));
  EXPECT_EQ(reader.CompanyName(), "Only a company");
  EXPECT_EQ(reader.FileVersion(), "");
  EXPECT_EQ(reader.ProductVersion(), "");
}

TEST(VersionInfo, ANewFileReplacesTheTextsOfTheOldOne) {
  TrpVersionInfo reader;
  reader.SetFilename(Fixture("fixture_full"));
  reader.SetFilename(Fixture("fixture_no_file_version"));
  EXPECT_EQ(reader.CompanyName(), "Only a company");
  EXPECT_EQ(reader.FileVersion(), "");
  EXPECT_EQ(reader.Comments(), "");

  reader.SetFilename(Fixture("fixture_full"));
  reader.SetFilename(Fixture("fixture_no_version"));
  for (const auto& text : AllTexts(reader)) EXPECT_EQ(text, "");
}

TEST(VersionInfo, ReadingTwiceGivesTheSameTexts) {
  TrpVersionInfo reader;
  reader.SetFilename(info_paths::Program());
  const auto first = AllTexts(reader);
  reader.ReadVersionInfo();
  EXPECT_EQ(AllTexts(reader), first);
  TrpVersionInfo other;
  other.SetFilename(info_paths::Program());
  EXPECT_EQ(AllTexts(other), first);
}

TEST(VersionInfo, TheProgramCarriesTheBuildsVersion) {
  TrpVersionInfo reader;
  reader.SetFilename(info_paths::Program());
  EXPECT_EQ(reader.FileVersion(), VORLANE_VERSION_TEXT);
  EXPECT_EQ(reader.ProductVersion(), VORLANE_VERSION_TEXT);
  EXPECT_EQ(reader.Language(), SystemLanguageName(0x0409));
  // Four dot-separated numbers.
  int numbers[4] = {-1, -1, -1, -1};
  char rest = 0;
  EXPECT_EQ(
      sscanf(reader.FileVersion().c_str(), "%d.%d.%d.%d%c", &numbers[0], &numbers[1], &numbers[2], &numbers[3], &rest),
      4);
  for (int number : numbers) EXPECT_GE(number, 0);
  for (TVersionType empty : {vtCompanyName, vtFileDescription, vtInternalName, vtLegalCopyright, vtLegalTradeMark,
                             vtOriginalFileName, vtProductName, vtComments})
    EXPECT_EQ(reader.GetVersionString(empty), "") << VersionStringKey(empty);
}

TEST(VersionInfo, AboutCaptionIsVersionAndTheFileVersion) {
  EXPECT_EQ(AboutVersionCaption(info_paths::Program()), std::string("version ") + VORLANE_VERSION_TEXT);
  EXPECT_EQ(AboutVersionCaption(Fixture("fixture_full")), "version 2.3.4.5");
  EXPECT_EQ(AboutVersionCaption(Fixture("fixture_no_file_version")), "version ");
  EXPECT_EQ(AboutVersionCaption(Fixture("fixture_no_version")), "version ");
}

}  // namespace
