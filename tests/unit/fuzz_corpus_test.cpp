// Replays the fuzzers' corpora: every input they kept must still satisfy the
// same properties.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/fuzz/fuzz_properties.h"

namespace {

namespace fs = std::filesystem;

fs::path FuzzFolder() { return fs::path(__FILE__).parent_path().parent_path() / "fuzz"; }

std::vector<std::pair<fs::path, std::string>> Corpus(const std::string& name) {
  std::vector<std::pair<fs::path, std::string>> inputs;
  for (const auto& entry : fs::directory_iterator(FuzzFolder() / ("corpus_" + name))) {
    std::ifstream file(entry.path(), std::ios::binary);
    inputs.push_back({entry.path(), {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()}});
  }
  return inputs;
}

}  // namespace

TEST(FuzzCorpus, LanguageFileInputsKeepTheirProperties) {
  const auto inputs = Corpus("language_file");
  EXPECT_FALSE(inputs.empty());
  for (const auto& [path, contents] : inputs) EXPECT_EQ(fuzz::CheckLanguageFile(contents), "") << path;
}

TEST(FuzzCorpus, NumberFieldInputsKeepTheirProperties) {
  const auto inputs = Corpus("parse_integer");
  EXPECT_FALSE(inputs.empty());
  for (const auto& [path, contents] : inputs) EXPECT_EQ(fuzz::CheckNumberInput(contents), "") << path;
}

// The properties themselves must notice a wrong answer.
TEST(FuzzCorpus, TheModelsTellRightFromWrong) {
  EXPECT_EQ(fuzz::ModelLookup("[S]\nK = \"v\"\n", "s", "k", "d"), "v");
  EXPECT_EQ(fuzz::ModelLookup("[S]\nK\nK=v\n", "S", "K", "d"), "d");
  EXPECT_EQ(fuzz::ModelLookup("[S]\n[T]\n[S]\nK=v\n", "S", "K", "d"), "d");
  std::string twoByteCharacters;
  for (int i = 0; i < 1100; ++i) twoByteCharacters += "\xC3\xA9";
  EXPECT_EQ(fuzz::ModelLookup("[S]\nK=" + twoByteCharacters, "S", "K", "d"), twoByteCharacters.substr(0, 2046));
  EXPECT_EQ(fuzz::ModelUtf16LeFile("a\xC3\xA9\xF0\x9F\x96\xA8"), std::string("\xFF\xFE"
                                                                             "a\0\xE9\0\x3D\xD8\xA8\xDD",
                                                                             10));
  EXPECT_EQ(fuzz::CodePoints("a\xF0\x9F\x96\xA8\xE4\xB8"), 3u);
  EXPECT_EQ(fuzz::ModelInteger("$7fffffff"), 2147483647);
  EXPECT_EQ(fuzz::ModelInteger("-2147483648"), -2147483647 - 1);
  EXPECT_EQ(fuzz::ModelInteger("2147483648"), std::nullopt);
  EXPECT_EQ(fuzz::ModelInteger("+-1"), std::nullopt);
  EXPECT_EQ(fuzz::ModelInteger("0x"), std::nullopt);
}
