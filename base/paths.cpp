#include "base/paths.h"

std::string DirectoryOf(const std::string& path) {
  const auto cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}
