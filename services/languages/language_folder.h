#pragma once
// The language folder on disk: its listing and its files.
#include <string>
#include <vector>

#include "core/languages/language_file.h"
#include "core/languages/language_list.h"

// The entries matching a pattern, in the order the system returns them;
// nothing when the folder is missing.
std::vector<DirectoryEntry> ListDirectory(const std::string& pattern);

// The language file at that path, read once whatever its encoding; a missing
// or unreadable file gives one without texts.
LanguageFile OpenLanguageFile(const std::string& path);
