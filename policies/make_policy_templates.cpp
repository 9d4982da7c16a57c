// Writes the policy templates of the release folder, from the settings
// table, the text table and the shipped translations:
//
//   make_policy_templates LANGUAGE_FOLDER OUTPUT_FOLDER VERSION
//
// gives OUTPUT_FOLDER/Vorlane.admx, OUTPUT_FOLDER/en-US/Vorlane.adml, and for
// each language file the ADML of its culture ([FileInfo] Culture). It runs
// at build time on the build machine.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "base/unicode.h"
#include "core/languages/language_file.h"
#include "core/languages/texts.h"
#include "core/settings/policy_templates.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kTemplateName = "Vorlane";

std::string Contents(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary);
  file << text;
  return static_cast<bool>(file);
}

// A culture names a folder: letters, digits and dashes, such as "de-DE".
bool IsCulture(const std::string& name) {
  if (name.empty()) return false;
  for (const char c : name) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
    if (!allowed) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_policy_templates LANGUAGE_FOLDER OUTPUT_FOLDER VERSION\n";
    return 2;
  }
  const fs::path languages = fs::u8path(argv[1]);
  const fs::path output = fs::u8path(argv[2]);
  const std::string version = argv[3];
  bool written = Write(output / (std::string(kTemplateName) + ".admx"), PolicyDefinitions());
  const Texts english;
  written = written && Write(output / english[TextId::Culture] / (std::string(kTemplateName) + ".adml"),
                             PolicyResources(english, version));
  for (const auto& entry : fs::directory_iterator(languages)) {
    if (entry.path().extension() != ".lng") continue;
    const Texts texts(LanguageFile(DecodeLanguageFile(Contents(entry.path()), Windows1252ToUtf8)));
    const std::string& culture = texts[TextId::Culture];
    if (!IsCulture(culture) || culture == english[TextId::Culture]) {
      std::cerr << entry.path().string() << ": [FileInfo] Culture names no culture of its own\n";
      return 1;
    }
    written =
        written && Write(output / culture / (std::string(kTemplateName) + ".adml"), PolicyResources(texts, version));
  }
  if (!written) {
    std::cerr << "the templates could not be written to " << output.string() << "\n";
    return 1;
  }
  return 0;
}
