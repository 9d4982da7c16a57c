// The language files shipped beside the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "core/languages/language_file.h"
#include "core/languages/texts.h"

namespace {

namespace fs = std::filesystem;

fs::path LanguageFolder() { return fs::path(__FILE__).parent_path().parent_path().parent_path() / "langs"; }

std::string Contents(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> ShippedFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(LanguageFolder())) {
    if (entry.path().extension() == ".lng") files.push_back(entry.path());
  }
  return files;
}

// Code points that Windows-1252 leaves unassigned.
bool Unassigned(unsigned char byte) {
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

}  // namespace

TEST(ShippedLanguages, TheThreeTranslationsAreThere) {
  std::set<std::u8string> names;
  for (const fs::path& file : ShippedFiles()) names.insert(file.filename().u8string());
  for (const std::u8string expected : {u8"Deutsch.lng", u8"Français.lng", u8"Español.lng"}) {
    EXPECT_EQ(names.count(expected), 1u) << reinterpret_cast<const char*>(expected.c_str());
  }
}

TEST(ShippedLanguages, EveryEntryIsTranslatedAndTheHelpFileNameIsSafe) {
  const std::string missing = "\x01missing";
  for (const fs::path& file : ShippedFiles()) {
    const std::string contents = Contents(file);
    ASSERT_FALSE(contents.empty()) << file;
    for (const TextRow& entry : kTextRows) {
      const std::string text = ReadLanguageStringFrom(contents, entry.section, entry.key, missing);
      EXPECT_NE(text, missing) << file << ": " << entry.section << "/" << entry.key << " is missing";
      EXPECT_FALSE(text.empty()) << file << ": " << entry.key << " is empty";
    }
    const std::string help = ReadLanguageStringFrom(contents, "FileInfo", "HelpFileName", missing);
    EXPECT_EQ(SafeHelpFileName(help), help) << file;
  }
}

TEST(ShippedLanguages, BytesAreWindows1252TextWithCrLfLines) {
  for (const fs::path& file : ShippedFiles()) {
    const std::string contents = Contents(file);
    bool beyondAscii = false;
    for (size_t i = 0; i < contents.size(); ++i) {
      const auto byte = static_cast<unsigned char>(contents[i]);
      const auto next = i + 1 < contents.size() ? static_cast<unsigned char>(contents[i + 1]) : 0;
      beyondAscii = beyondAscii || byte >= 0x80;
      EXPECT_FALSE(Unassigned(byte)) << file << " at " << i;
      // A lead byte followed by a continuation byte is how UTF-8 writes these letters.
      EXPECT_FALSE(byte >= 0xC2 && byte <= 0xF4 && next >= 0x80 && next <= 0xBF) << file << ": UTF-8 at " << i;
      EXPECT_FALSE(byte < 0x20 && byte != '\r' && byte != '\n') << file << ": control byte at " << i;
      EXPECT_FALSE(byte == '\n' && (i == 0 || contents[i - 1] != '\r')) << file << ": bare LF at " << i;
      EXPECT_FALSE(byte == '\r' && next != '\n') << file << ": bare CR at " << i;
    }
    EXPECT_FALSE(contents.starts_with("\xEF\xBB\xBF")) << file;
    // All three languages need letters beyond ASCII; none would mean they were lost.
    EXPECT_TRUE(beyondAscii) << file;
  }
}
