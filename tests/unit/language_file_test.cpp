#include "core/languages/language_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/unit/language_file_cases.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder of its own for each test, removed afterwards.
class LanguageFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("vorlane-lang-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string Write(const std::string& name, const std::string& contents) {
    const fs::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << contents;
    return path.string();
  }
  fs::path folder_;
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
  EXPECT_EQ(ReadLanguageString((folder_ / "absent.lng").string(), "TrayMenu", "Exit", "Exit"), "Exit");
  EXPECT_EQ(ReadLanguageString(folder_.string(), "TrayMenu", "Exit", "Exit"), "Exit");
  EXPECT_EQ(ReadLanguageString("", "TrayMenu", "Exit", "Exit"), "Exit");
}

TEST_F(LanguageFileOnDisk, AnEditedFileTakesEffectAtTheNextRead) {
  const std::string path = Write("Deutsch.lng", "[TrayMenu]\r\nExit=Ende\r\n");
  EXPECT_EQ(ReadLanguageString(path, "TrayMenu", "Exit", "Exit"), "Ende");
  Write("Deutsch.lng", "[TrayMenu]\r\nExit=Beenden\r\n");
  EXPECT_EQ(ReadLanguageString(path, "TrayMenu", "Exit", "Exit"), "Beenden");
}
