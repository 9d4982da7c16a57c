#include <windows.h>

#include "base/paths.h"
#include "base/system_text.h"

std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return Narrow(path);
    }
    path.resize(path.size() * 2);  // cut short: try again with room to spare
  }
}

std::string ProgramDirectory() { return DirectoryOf(ExecutablePath()); }
