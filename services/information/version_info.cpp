#include "services/information/version_info.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <vector>

#include "base/system_text.h"

namespace {

constexpr DWORD kLanguageNameLength = 255;

// Stores the text at a query path of the block; leaves the text alone when the
// path is absent. The length the query reports bounds the text, so a table
// without terminating zeros cannot lead the read out of the block.
void QueryText(std::vector<char>& block, const std::string& path, std::string& text) {
  void* value = nullptr;
  UINT length = 0;  // in characters
  if (!VerQueryValueW(block.data(), Wide(path).c_str(), &value, &length) || !value) return;
  const auto* characters = static_cast<const wchar_t*>(value);
  text = Narrow(std::wstring_view(characters, wcsnlen(characters, length)));
}

}  // namespace

const std::string& VersionInfo::Text(VersionField field) const { return texts_[static_cast<size_t>(field)]; }

void VersionInfo::SetFilename(const std::string& path) {
  filename_ = path;
  ReadVersionInfo();
}

void VersionInfo::ReadVersionInfo() {
  // Start afresh: a file without version information must not show the texts
  // of the file read before it.
  texts_ = {};

  DWORD unused = 0;
  const std::wstring file = Wide(filename_);
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &unused);
  if (size == 0) return;
  std::vector<char> block(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return;

  void* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &translations, &length) || !translations ||
      length < 2 * sizeof(WORD))
    return;
  WORD entry[2];  // language identifier, then code page
  std::memcpy(entry, translations, sizeof entry);
  const WORD language = entry[0];
  const WORD codePage = entry[1];

  for (int field = 0; field < kStringTableFields; ++field) {
    QueryText(block, StringFileInfoPath(language, codePage, VersionStringKey(static_cast<VersionField>(field))),
              texts_[static_cast<size_t>(field)]);
  }

  wchar_t name[kLanguageNameLength] = {};
  VerLanguageNameW(language, name, kLanguageNameLength);
  texts_[static_cast<size_t>(VersionField::Language)] =
      Narrow(std::wstring_view(name, wcsnlen(name, kLanguageNameLength)));
}
