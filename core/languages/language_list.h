#pragma once
// The list of languages offered to the user: "English" first, then one entry
// per ".lng" file of the language directory, in directory order.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct DirectoryEntry {
  std::string name;
  bool isDirectory = false;
};

struct LanguageList {
  std::vector<std::string> names;  // as the user sees them
  // The file of each entry as the directory spelt it (file systems may match
  // names with regard to case); parallel to names.
  std::vector<std::string> fileNames;
  std::optional<size_t> selected;
};

inline constexpr const char* kBuiltInLanguage = "English";

// <executableDirectory>langs\<name>.lng; a separator is added when the
// directory does not end in one.
std::string LanguageFilePath(const std::string& executableDirectory, const std::string& name);

// The pattern that lists the language directory.
std::string LanguageSearchPattern(const std::string& executableDirectory);

// Rebuilds the list from a listing of the language directory and selects the
// entry whose name equals `previouslySelected` (ASCII letters compared in
// upper case), if any.
LanguageList RefreshLanguages(const std::vector<DirectoryEntry>& listing, const std::string& previouslySelected);

// Index of the first entry whose name equals `name` (ASCII letters compared in
// upper case).
std::optional<size_t> FindLanguage(const std::vector<std::string>& names, const std::string& name);

// The file of an entry of the list; with no entry, the path formed from an
// empty name, which names no language file.
std::string LanguageFileOf(const std::string& executableDirectory, const LanguageList& list,
                           std::optional<size_t> entry);
