#pragma once
// Files the information tests read: the fixtures built beside the test
// program and the program itself.
#include <windows.h>

#include <string>

namespace info_paths {

// The folder of the running test program, with its trailing separator.
inline std::string TestDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path);
  return directory.substr(0, directory.find_last_of("\\/") + 1);
}

inline std::string Fixture(const std::string& name) { return TestDirectory() + "fixtures\\" + name + ".dll"; }

inline std::string Program() { return TestDirectory() + VORLANE_PROGRAM_PATH; }

}  // namespace info_paths
