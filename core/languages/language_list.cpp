#include "core/languages/language_list.h"

#include <string_view>

#include "core/ascii_text.h"

namespace {

constexpr std::string_view kExtension = ".lng";
constexpr std::string_view kLanguageFolder = "langs\\";

std::string LanguageFolder(const std::string& executableDirectory) {
  std::string folder = executableDirectory;
  if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
  return folder += kLanguageFolder;
}

// A directory search for "*.lng" also returns names whose short 8.3 alias
// matches, such as "x.lngx", so the extension is checked again here.
bool IsLanguageFile(const DirectoryEntry& entry) {
  if (entry.isDirectory || entry.name == "." || entry.name == "..") return false;
  // A name of nothing but the extension would be listed as an empty entry,
  // which cannot be stored and found again.
  if (entry.name.size() <= kExtension.size()) return false;
  return AsciiSameText(std::string_view(entry.name).substr(entry.name.size() - kExtension.size()), kExtension);
}

std::string WithoutLastExtension(const std::string& fileName) { return fileName.substr(0, fileName.rfind('.')); }

}  // namespace

std::string LanguageFilePath(const std::string& executableDirectory, const std::string& name) {
  return LanguageFolder(executableDirectory) + name + std::string(kExtension);
}

std::string LanguageSearchPattern(const std::string& executableDirectory) {
  return LanguageFolder(executableDirectory) + "*" + std::string(kExtension);
}

LanguageList RefreshLanguages(const std::vector<DirectoryEntry>& listing, const std::string& previouslySelected) {
  LanguageList list;
  list.names.emplace_back(kBuiltInLanguage);
  list.fileNames.push_back(std::string(kBuiltInLanguage) + std::string(kExtension));
  bool englishFileFound = false;
  for (const DirectoryEntry& entry : listing) {
    if (!IsLanguageFile(entry)) continue;
    // A file of the built-in language overrides its texts but is not offered twice.
    if (AsciiUpper(entry.name) == "ENGLISH.LNG") {
      if (!englishFileFound) list.fileNames.front() = entry.name;
      englishFileFound = true;
      continue;
    }
    list.names.push_back(WithoutLastExtension(entry.name));
    list.fileNames.push_back(entry.name);
  }
  list.selected = FindLanguage(list.names, previouslySelected);
  return list;
}

std::optional<size_t> FindLanguage(const std::vector<std::string>& names, const std::string& name) {
  for (size_t i = 0; i < names.size(); ++i) {
    if (AsciiSameText(names[i], name)) return i;
  }
  return std::nullopt;
}

std::string LanguageFileOf(const std::string& executableDirectory, const LanguageList& list,
                           std::optional<size_t> entry) {
  if (!entry || *entry >= list.fileNames.size()) return LanguageFilePath(executableDirectory, "");
  return LanguageFolder(executableDirectory) + list.fileNames[*entry];
}
