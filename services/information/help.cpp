#include "services/information/help.h"

#include <shellapi.h>

#include <algorithm>

#include "base/system_text.h"
#include "core/information/home_page.h"

namespace {

constexpr DWORD kLongestPath = 32768;

// Some help viewers read only names in the code page's characters. Where
// the path has others, its short form names the same file in plain letters,
// on volumes that keep short names; elsewhere the path stays as it is.
std::wstring PathForTheViewer(const std::string& path) {
  std::wstring wide = Wide(path);
  if (std::all_of(path.begin(), path.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return wide;
  std::wstring shortPath(kLongestPath, L'\0');
  const DWORD length = GetShortPathNameW(wide.c_str(), shortPath.data(), kLongestPath);
  if (length == 0 || length >= kLongestPath) return wide;
  shortPath.resize(length);
  return shortPath;
}

}  // namespace

// A missing help file or a missing browser is the shell's to report: the
// results are ignored on purpose.
void OpenHelp(HWND owner, const std::string& path) {
  (void)ShellExecuteW(owner, L"open", PathForTheViewer(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenHomePage(HWND owner) {
  (void)ShellExecuteW(owner, L"open", Wide(kHomePageAddress).c_str(), nullptr, nullptr, SW_SHOW);
}
