#include <windows.h>

#include "base/paths.h"

std::string ExecutablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // cut short: try again with room to spare
  }
}

std::string ProgramDirectory() { return DirectoryOf(ExecutablePath()); }
