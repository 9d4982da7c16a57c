#include "services/languages/language_folder.h"

#include <windows.h>

#include "base/owners.h"
#include "base/system_text.h"

namespace {

// The whole file, or nothing when it cannot be read to its end.
std::string ReadWholeFile(const std::string& path) {
  const HANDLE opened = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return {};
  const owners::KernelHandle file(opened);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || size.QuadPart > MAXDWORD) return {};
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())) {
    return {};
  }
  return bytes;
}

}  // namespace

std::vector<DirectoryEntry> ListDirectory(const std::string& pattern) {
  std::vector<DirectoryEntry> entries;
  WIN32_FIND_DATAW found{};
  HANDLE first = FindFirstFileW(Wide(pattern).c_str(), &found);
  if (first == INVALID_HANDLE_VALUE) return entries;
  owners::FindHandle search(first);
  do {
    entries.push_back({Narrow(found.cFileName), (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileW(search.get(), &found));
  return entries;
}

LanguageFile OpenLanguageFile(const std::string& path) {
  return LanguageFile(DecodeLanguageFile(ReadWholeFile(path), FromAnsiCodePage));
}
