#include "core/information/version_strings.h"

#include <array>

#include "core/ascii_text.h"

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
  const std::string table = ZeroPadded(language, 4, 16) + ZeroPadded(codePage, 4, 16);
  return std::string("\\StringFileInfo\\") + table + "\\" + key;
}
