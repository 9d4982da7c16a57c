// The portable parts of the information subsystem: the help file's path, the
// host shown for the home page, and the version-resource query paths.
#include <gtest/gtest.h>

#include <string>

#include "core/information/help_path.h"
#include "core/information/home_page.h"
#include "core/information/version_strings.h"

namespace {

struct HelpPathCase {
  const char* executable;
  const char* helpFile;
  const char* expected;
};

const HelpPathCase kHelpPathCases[] = {
    {"C:\\Program Files\\Vorlane\\Vorlane.exe", "Vorlane_en.chm", "C:\\Program Files\\Vorlane\\help\\Vorlane_en.chm"},
    {"C:\\Vorlane.exe", "Hilfe.chm", "C:\\help\\Hilfe.chm"},
    // An empty name names the help folder itself.
    {"C:\\Tools\\Vorlane.exe", "", "C:\\Tools\\help\\"},
    {"\\\\server\\share\\Vorlane\\Vorlane.exe", "Vorlane_en.chm", "\\\\server\\share\\Vorlane\\help\\Vorlane_en.chm"},
    {"C:/Tools/Vorlane.exe", "Vorlane_en.chm", "C:/Tools/help\\Vorlane_en.chm"},
    {"C:Vorlane.exe", "Vorlane_en.chm", "C:help\\Vorlane_en.chm"},
    {"Vorlane.exe", "Vorlane_en.chm", "help\\Vorlane_en.chm"},
    // Dots in folder names are not extensions.
    {"D:\\v1.2\\bin.x\\Vorlane.exe", "a.chm", "D:\\v1.2\\bin.x\\help\\a.chm"},
};

TEST(HelpFilePath, IsTheHelpFolderBesideTheExecutable) {
  for (const auto& c : kHelpPathCases) {
    EXPECT_EQ(HelpFilePath(c.executable, c.helpFile), c.expected) << c.executable << " + " << c.helpFile;
  }
}

struct HostCase {
  const char* address;
  const char* host;
};

const HostCase kHostCases[] = {
    {"https://www.example.com/", "www.example.com"},
    {"http://example.org", "example.org"},
    {"https://host.example/path/page.html", "host.example"},
    {"https://host.example?query", "host.example"},
    {"https://host.example#part", "host.example"},
    {"www.example.com/", "www.example.com"},
    {"", ""},
};

TEST(HomePage, HostIsTheAddressWithoutSchemeAndPath) {
  for (const auto& c : kHostCases) EXPECT_EQ(HostOf(c.address), c.host) << c.address;
}

struct PathCase {
  uint16_t language;
  uint16_t codePage;
  const char* key;
  const char* expected;
};

const PathCase kPathCases[] = {
    {0x0409, 0x04B0, "FileVersion", "\\StringFileInfo\\040904B0\\FileVersion"},
    {0x0409, 0x0000, "CompanyName", "\\StringFileInfo\\04090000\\CompanyName"},
    {0x0007, 0x04B0, "Comments", "\\StringFileInfo\\000704B0\\Comments"},
    {0xABCD, 0xEF01, "ProductName", "\\StringFileInfo\\ABCDEF01\\ProductName"},
    {0x0000, 0x0000, "", "\\StringFileInfo\\00000000\\"},
    {0xFFFF, 0xFFFF, "x", "\\StringFileInfo\\FFFFFFFF\\x"},
};

TEST(VersionStrings, PathNamesTheTableByLanguageThenCodePageInUpperCaseHex) {
  for (const auto& c : kPathCases) EXPECT_EQ(StringFileInfoPath(c.language, c.codePage, c.key), c.expected);
}

struct KeyCase {
  VersionField field;
  int ordinal;
  const char* key;
};

// The published ordinals, and the standard keys where they differ from the names.
const KeyCase kKeyCases[] = {
    {VersionField::CompanyName, 0, "CompanyName"},
    {VersionField::FileDescription, 1, "FileDescription"},
    {VersionField::FileVersion, 2, "FileVersion"},
    {VersionField::InternalName, 3, "InternalName"},
    {VersionField::LegalCopyright, 4, "LegalCopyright"},
    {VersionField::LegalTradeMark, 5, "LegalTrademarks"},
    {VersionField::OriginalFileName, 6, "OriginalFilename"},
    {VersionField::ProductName, 7, "ProductName"},
    {VersionField::ProductVersion, 8, "ProductVersion"},
    {VersionField::Comments, 9, "Comments"},
    {VersionField::Language, 10, ""},
};

TEST(VersionStrings, EveryFieldHasItsOrdinalAndKey) {
  for (const auto& c : kKeyCases) {
    EXPECT_EQ(static_cast<int>(c.field), c.ordinal) << c.key;
    EXPECT_EQ(VersionStringKey(c.field), c.key) << c.ordinal;
  }
  EXPECT_EQ(VersionStringKey(static_cast<VersionField>(-1)), "");
  EXPECT_EQ(VersionStringKey(static_cast<VersionField>(kVersionFields)), "");
}

}  // namespace
