#include <windows.h>

#include "base/owners.h"
#include "core/languages/language_list.h"

std::vector<DirectoryEntry> ListDirectory(const std::string& pattern) {
  std::vector<DirectoryEntry> entries;
  WIN32_FIND_DATAA found{};
  HANDLE first = FindFirstFileA(pattern.c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) return entries;
  owners::FindHandle search(first);
  do {
    entries.push_back({found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(search.get(), &found));
  return entries;
}
