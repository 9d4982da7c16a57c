// The language-file reader against the platform's private-profile reader, and
// the listing of the language folder against the real file system.
#include "core/languages/language_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "base/owners.h"
#include "core/languages/language_list.h"
#include "core/languages/texts.h"
#include "tests/support/temporary_folder.h"
#include "tests/unit/language_file_cases.h"
#include "tests/win/test_owners.h"

namespace {

std::string PlatformRead(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& fallback) {
  char buffer[1024];
  const DWORD length =
      GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer, sizeof buffer, path.c_str());
  return std::string(buffer, length);
}

std::vector<std::string> SortedNames(const std::vector<DirectoryEntry>& entries) {
  std::vector<std::string> names;
  for (const DirectoryEntry& entry : entries) names.push_back(entry.name + (entry.isDirectory ? "\\" : ""));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(LanguageFileOnPlatform, ReaderAndPlatformAgreeOnEveryCase) {
  TemporaryFolder folder("ini");
  int number = 0;
  for (const LanguageFileCase& c : LanguageFileCases()) {
    // A file of its own for each case: the platform reader may cache by name and time.
    const std::string path = folder.Write("case" + std::to_string(number++) + ".lng", c.contents);
    EXPECT_EQ(ReadLanguageString(path, c.section, c.key, c.fallback), c.expected) << c.label;
    if (c.sameOnPlatform) {
      EXPECT_EQ(PlatformRead(path, c.section, c.key, c.fallback), c.expected) << c.label;
    }
  }
}

TEST(LanguageFileOnPlatform, MissingFileAndEmptyLanguageNameGiveTheDefault) {
  TemporaryFolder folder("missing");
  const std::string missing = LanguageFilePath(folder.path(), "");
  for (const std::string& path : {missing, folder.path() + "absent.lng", folder.path()}) {
    EXPECT_EQ(ReadLanguageString(path, "TrayMenu", "Exit", "Exit"), "Exit") << path;
    EXPECT_EQ(PlatformRead(path, "TrayMenu", "Exit", "Exit"), "Exit") << path;
  }
}

TEST(LanguageFileOnPlatform, EveryTextAgreesWithThePlatform) {
  TemporaryFolder folder("texts");
  std::string contents = "[FileInfo]\r\nHelpFileName = Vorlane_de.chm\r\n[preferencesWINDOW]\r\n";
  // Every other row translated, in reverse order, with some blanks and quotes.
  for (size_t i = kTextCount; i-- > 1;) {
    if (i % 2 == 0) continue;
    const TextRow& row = kTextRows[i];
    if (std::string(row.section) == "PreferencesWindow") {
      contents += std::string("  ") + row.key + " = \"<" + row.english + ">\"\r\n";
    }
  }
  for (const std::string section : {"TrayMenu", "Messages"}) {
    contents += "[" + section + "]\r\n";
    for (const TextRow& row : kTextRows) {
      if (row.section == section && static_cast<size_t>(row.id) % 2 == 1) {
        contents += std::string(row.key) + "=<" + row.english + ">\r\n";
      }
    }
  }
  const std::string path = folder.Write("Mixed.lng", contents);
  const Texts expected([&path](const std::string& section, const std::string& key, const std::string& fallback) {
    return PlatformRead(path, section, key, fallback);
  });
  const Texts actual(ReadLanguageFile(path));
  for (const TextRow& row : kTextRows) {
    EXPECT_EQ(actual[row.id], expected[row.id]) << row.key;
    const bool translated = static_cast<size_t>(row.id) % 2 == 1 || row.id == TextId::HelpFileName;
    EXPECT_EQ(actual[row.id] != row.english, translated) << row.key;
  }
  EXPECT_EQ(actual.HelpFileName(), "Vorlane_de.chm");
}

TEST(LanguageListOnPlatform, ListsTheLanguageFolderAndReleasesTheSearch) {
  TemporaryFolder program("program");
  program.MakeFolder("langs");
  program.Write("langs\\Deutsch.lng", "[TrayMenu]\r\nExit=Beenden\r\n");
  program.Write("langs\\My.Lang.LNG", "[TrayMenu]\r\nExit=Mine\r\n");
  program.Write("langs\\english.lng", "[TrayMenu]\r\nExit=Leave\r\n");
  program.Write("langs\\readme.txt", "");
  const std::string hidden = program.Write("langs\\Hidden.lng", "");
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
  program.MakeFolder("langs\\Old.lng");
  const int liveBefore = owners::liveCount;

  EXPECT_EQ(SortedNames(ListDirectory(program.path() + "langs\\*")),
            (std::vector<std::string>{"..\\", ".\\", "Deutsch.lng", "Hidden.lng", "My.Lang.LNG", "Old.lng\\",
                                      "english.lng", "readme.txt"}));
  const LanguageList list = RefreshLanguages(ListDirectory(LanguageSearchPattern(program.path())), "my.lang");
  EXPECT_EQ(owners::liveCount, liveBefore);

  ASSERT_FALSE(list.names.empty());
  EXPECT_EQ(list.names.front(), "English");
  std::vector<std::string> others(list.names.begin() + 1, list.names.end());
  std::sort(others.begin(), others.end());
  EXPECT_EQ(others, (std::vector<std::string>{"Deutsch", "Hidden", "My.Lang"}));
  ASSERT_TRUE(list.selected.has_value());
  EXPECT_EQ(list.names[*list.selected], "My.Lang");
  EXPECT_EQ(ReadLanguageString(LanguageFileOf(program.path(), list, list.selected), "TrayMenu", "Exit", "Exit"),
            "Mine");
  EXPECT_EQ(ReadLanguageString(LanguageFileOf(program.path(), list, 0), "TrayMenu", "Exit", "Exit"), "Leave");
  EXPECT_EQ(ReadLanguageString(LanguageFileOf(program.path(), list, std::nullopt), "TrayMenu", "Exit", "Exit"), "Exit");
}

TEST(LanguageListOnPlatform, MissingFolderListsNothing) {
  TemporaryFolder program("nolangs");
  const int liveBefore = owners::liveCount;
  EXPECT_TRUE(ListDirectory(LanguageSearchPattern(program.path())).empty());
  EXPECT_TRUE(ListDirectory("C:\\no such folder\\langs\\*.lng").empty());
  EXPECT_EQ(owners::liveCount, liveBefore);
}

// A file named in Unicode, as the repository stores "Français.lng", reaches the
// program in the ANSI code page and opens under that name.
TEST(LanguageListOnPlatform, AccentedFileNameAppearsInTheAnsiCodePage) {
  if (GetACP() != 1252) GTEST_SKIP() << "the expected bytes are those of code page 1252";
  TemporaryFolder program("accents");
  program.MakeFolder("langs");
  const std::wstring widePath =
      std::wstring(program.path().begin(), program.path().end()) + L"langs\\Fran\u00e7ais.lng";
  {
    HANDLE file = CreateFileW(widePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    test_owners::KernelHandle owned(file);
    const char contents[] = "[TrayMenu]\r\nExit=Quitter\r\n";
    DWORD written = 0;
    WriteFile(file, contents, sizeof contents - 1, &written, nullptr);
  }
  const LanguageList list = RefreshLanguages(ListDirectory(LanguageSearchPattern(program.path())),
                                             "FRAN\xE7"
                                             "AIS");
  ASSERT_EQ(list.names.size(), 2u);
  EXPECT_EQ(list.names[1],
            "Fran\xE7"
            "ais");
  EXPECT_EQ(list.fileNames[1],
            "Fran\xE7"
            "ais.lng");
  ASSERT_EQ(list.selected, 1u);
  EXPECT_EQ(ReadLanguageString(LanguageFileOf(program.path(), list, list.selected), "TrayMenu", "Exit", "Exit"),
            "Quitter");
}
