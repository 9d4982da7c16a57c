#include "core/languages/language_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/support/temporary_folder.h"
#include "tests/unit/language_file_cases.h"

namespace {

namespace fs = std::filesystem;

class LanguageFileOnDisk : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& contents) { return folder_.Write(name, contents); }
  TemporaryFolder folder_{"language-file"};
};

}  // namespace

TEST(LanguageFileContents, EveryCaseGivesItsExpectedText) {
  for (const LanguageFileCase& c : LanguageFileCases()) {
    EXPECT_EQ(ReadLanguageStringFrom(c.contents, c.section, c.key, c.fallback), c.expected) << c.label;
  }
}

TEST(LanguageFileContents, NoResultIsLongerThanTheLimit) {
  const std::string huge(5000, 'x');
  EXPECT_EQ(ReadLanguageStringFrom("[S]\nK=" + huge, "S", "K", "").size(), kMaxLanguageText);
  EXPECT_EQ(ReadLanguageStringFrom("[S]\nK=\"" + huge + "\"", "S", "K", "").size(), kMaxLanguageText);
  EXPECT_EQ(ReadLanguageStringFrom("", "S", "K", huge).size(), kMaxLanguageText);
}

TEST_F(LanguageFileOnDisk, ReadsTheFileAtThePath) {
  const std::string path = Write("French.lng", "[TrayMenu]\r\nExit=Quitter\r\n");
  EXPECT_EQ(ReadLanguageString(path, "TrayMenu", "Exit", "Exit"), "Quitter");
  EXPECT_EQ(ReadLanguageString(path, "TrayMenu", "About", "About"), "About");
}

TEST_F(LanguageFileOnDisk, ReadsFilesLongerThanAReadBlockToTheirLastByte) {
  // The file is read in blocks of 4,096 bytes; the value ends with the file's last byte.
  const std::string tail = "\r\n[TrayMenu]\r\nExit=Quitter";
  for (const size_t size : {4096u, 4097u}) {
    const std::string path = Write("Long.lng", ";" + std::string(size - 1 - tail.size(), '-') + tail);
    ASSERT_EQ(fs::file_size(path), size);
    EXPECT_EQ(ReadLanguageString(path, "TrayMenu", "Exit", "Exit"), "Quitter") << size;
  }
}

TEST_F(LanguageFileOnDisk, MissingFileOrFolderGivesTheDefault) {
  EXPECT_EQ(ReadLanguageString(folder_.path() + "absent.lng", "TrayMenu", "Exit", "Exit"), "Exit");
  EXPECT_EQ(ReadLanguageString(folder_.path(), "TrayMenu", "Exit", "Exit"), "Exit");
  EXPECT_EQ(ReadLanguageString("", "TrayMenu", "Exit", "Exit"), "Exit");
}

TEST_F(LanguageFileOnDisk, AnEditedFileTakesEffectAtTheNextRead) {
  const std::string path = Write("Deutsch.lng", "[TrayMenu]\r\nExit=Ende\r\n");
  EXPECT_EQ(ReadLanguageString(path, "TrayMenu", "Exit", "Exit"), "Ende");
  Write("Deutsch.lng", "[TrayMenu]\r\nExit=Beenden\r\n");
  EXPECT_EQ(ReadLanguageString(path, "TrayMenu", "Exit", "Exit"), "Beenden");
}
