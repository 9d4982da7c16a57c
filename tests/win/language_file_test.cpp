// The language-file reader against the platform's private-profile reader, and
// the language folder against the real file system, with names in any script.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "base/owners.h"
#include "base/system_text.h"
#include "core/languages/language_list.h"
#include "core/languages/texts.h"
#include "services/languages/language_folder.h"
#include "tests/support/temporary_folder.h"
#include "tests/unit/language_file_cases.h"
#include "tests/win/test_owners.h"

namespace {

// The platform's reader takes a file in the ANSI code page.
std::string PlatformRead(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& fallback) {
  wchar_t buffer[1024];
  const DWORD length = GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(fallback).c_str(),
                                                buffer, static_cast<DWORD>(std::size(buffer)), Wide(path).c_str());
  return Narrow(std::wstring_view(buffer, length));
}

std::string Read(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& fallback) {
  return OpenLanguageFile(path).Text(section, key, fallback);
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
    if (c.sameOnPlatform) {
      EXPECT_EQ(Read(path, c.section, c.key, c.fallback), PlatformRead(path, c.section, c.key, c.fallback)) << c.label;
    }
  }
}

TEST(LanguageFileOnPlatform, MissingFileAndEmptyLanguageNameGiveTheDefault) {
  TemporaryFolder folder("missing");
  const std::string missing = LanguageFilePath(folder.path(), "");
  for (const std::string& path : {missing, folder.path() + "absent.lng", folder.path()}) {
    EXPECT_EQ(Read(path, "TrayMenu", "Exit", "Exit"), "Exit") << path;
    EXPECT_EQ(PlatformRead(path, "TrayMenu", "Exit", "Exit"), "Exit") << path;
  }
}

TEST(LanguageFileOnPlatform, EveryTextAgreesWithThePlatform) {
  TemporaryFolder folder("texts");
  std::string contents = "[FileInfo]\r\nHelpFileName = Vorlane_de.chm\r\n";
  for (const TextRow& row : kTextRows) {
    if (std::string(row.section) == "FileInfo" && static_cast<size_t>(row.id) % 2 == 1) {
      contents += std::string(row.key) + "=<" + row.english + ">\r\n";
    }
  }
  contents += "[preferencesWINDOW]\r\n";
  // Every other row translated, in reverse order, with some blanks and quotes.
  for (size_t i = kTextCount; i-- > 1;) {
    if (i % 2 == 0) continue;
    const TextRow& row = kTextRows[i];
    if (std::string(row.section) == "PreferencesWindow") {
      contents += std::string("  ") + row.key + " = \"<" + row.english + ">\"\r\n";
    }
  }
  for (const std::string section : {"TrayMenu", "Messages", "Policies", "RegionWindow"}) {
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
  const Texts actual(OpenLanguageFile(path));
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
  EXPECT_EQ(Read(LanguageFileOf(program.path(), list, list.selected), "TrayMenu", "Exit", "Exit"), "Mine");
  EXPECT_EQ(Read(LanguageFileOf(program.path(), list, 0), "TrayMenu", "Exit", "Exit"), "Leave");
  EXPECT_EQ(Read(LanguageFileOf(program.path(), list, std::nullopt), "TrayMenu", "Exit", "Exit"), "Exit");
}

TEST(LanguageListOnPlatform, MissingFolderListsNothing) {
  TemporaryFolder program("nolangs");
  const int liveBefore = owners::liveCount;
  EXPECT_TRUE(ListDirectory(LanguageSearchPattern(program.path())).empty());
  EXPECT_TRUE(ListDirectory("C:\\no such folder\\langs\\*.lng").empty());
  EXPECT_EQ(owners::liveCount, liveBefore);
}

// Names in any script, and files in any of the encodings a translator saves.
TEST(LanguageListOnPlatform, FilesNamedAndWrittenInAnyScriptAreListedAndRead) {
  TemporaryFolder program("scripts");
  const std::string greek = "\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac";
  const std::string chinese = "\u4e2d\u6587";
  const std::string french = "Fran\u00e7ais";
  const std::string title = "\u03a0\u03c1\u03bf\u03c4\u03b9\u03bc\u03ae\u03c3\u03b5\u03b9\u03c2";
  const std::u16string utf16 = u"\uFEFF[PreferencesWindow]\r\nTitle=\u4e2d\u6587 \U0001F600\r\n";
  program.Write("langs\\" + greek + ".lng", "[PreferencesWindow]\r\nTitle=" + title + "\r\n");
  program.Write("langs\\" + chinese + ".lng",
                std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * sizeof(char16_t)));
  program.Write("langs\\" + french + ".lng",
                "[PreferencesWindow]\r\nTitle=Pr\xE9"
                "f\xE9rences\r\n");

  const LanguageList list = RefreshLanguages(ListDirectory(LanguageSearchPattern(program.path())), greek);
  std::vector<std::string> names(list.names.begin() + 1, list.names.end());
  std::sort(names.begin(), names.end());
  std::vector<std::string> expected = {french, greek, chinese};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  ASSERT_TRUE(list.selected.has_value());
  EXPECT_EQ(Read(LanguageFileOf(program.path(), list, list.selected), "PreferencesWindow", "Title", ""), title);
  const auto entry = [&](const std::string& name) { return FindLanguage(list.names, name); };
  EXPECT_EQ(Read(LanguageFileOf(program.path(), list, entry(chinese)), "PreferencesWindow", "Title", ""),
            "\u4e2d\u6587 \U0001F600");
  if (GetACP() == 1252) {
    EXPECT_EQ(Read(LanguageFileOf(program.path(), list, entry(french)), "PreferencesWindow", "Title", ""),
              "Pr\u00e9f\u00e9rences");
  }
}

TEST(LanguageFileOnPlatform, ReadsTheWholeFileAtThePathAndItsLatestContents) {
  TemporaryFolder folder("files");
  const std::string tail = "\r\n[TrayMenu]\r\nExit=Quitter";
  // The value ends with the file's last byte, on both sides of a 4,096-byte block.
  for (const size_t size : {4096u, 4097u}) {
    const std::string path =
        folder.Write("Long.lng", std::string(";").append(size - 1 - tail.size(), '-').append(tail));
    EXPECT_EQ(Read(path, "TrayMenu", "Exit", "Exit"), "Quitter") << size;
  }
  const std::string path = folder.Write("Deutsch.lng", "[TrayMenu]\r\nExit=Ende\r\n");
  EXPECT_EQ(Read(path, "TrayMenu", "Exit", "Exit"), "Ende");
  EXPECT_EQ(Read(path, "TrayMenu", "About", "About"), "About");
  folder.Write("Deutsch.lng", "[TrayMenu]\r\nExit=Beenden\r\n");
  EXPECT_EQ(Read(path, "TrayMenu", "Exit", "Exit"), "Beenden");
}
