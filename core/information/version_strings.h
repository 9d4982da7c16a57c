#pragma once
// The kinds of text a version resource holds, and the query paths that
// address them in its string table.
#include <cstdint>
#include <string>

// The ordinals number the texts of a version resource: keep this order.
enum class VersionField : int {
  CompanyName,
  FileDescription,
  FileVersion,
  InternalName,
  LegalCopyright,
  LegalTradeMark,
  OriginalFileName,
  ProductName,
  ProductVersion,
  Comments,
  Language,  // not in the string table: the name of the first translation's language
};

// The fields read from the string table: every field but Language.
inline constexpr int kStringTableFields = static_cast<int>(VersionField::Comments) + 1;
inline constexpr int kVersionFields = static_cast<int>(VersionField::Language) + 1;

// The string-table key of a field; empty for Language, which has none.
std::string VersionStringKey(VersionField field);

// "\StringFileInfo\" + language and code page as four upper-case hex digits
// each + "\" + key.
std::string StringFileInfoPath(uint16_t language, uint16_t codePage, const std::string& key);
