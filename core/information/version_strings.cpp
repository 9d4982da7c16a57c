#include "core/information/version_strings.h"

#include <array>
#include <cstdio>

namespace {

// The trademark field uses the standard key, which differs from its name.
constexpr std::array<const char*, kStringTableFields> kKeys = {
    "CompanyName",     "FileDescription",  "FileVersion", "InternalName",   "LegalCopyright",
    "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion", "Comments",
};

}  // namespace

std::string VersionStringKey(VersionField field) {
  const auto index = static_cast<int>(field);
  if (index < 0 || index >= kStringTableFields) return {};
  return kKeys[static_cast<size_t>(index)];
}

std::string StringFileInfoPath(uint16_t language, uint16_t codePage, const std::string& key) {
  char table[9];
  std::snprintf(table, sizeof table, "%04X%04X", static_cast<unsigned>(language), static_cast<unsigned>(codePage));
  return std::string("\\StringFileInfo\\") + table + "\\" + key;
}
