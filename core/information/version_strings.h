#pragma once
// The kinds of text a version resource holds, and the query paths that
// address them in its string table.
#include <cstdint>
#include <string>

// The ordinals are part of TrpVersionInfo's interface: keep this order.
enum TVersionType : int {
  vtCompanyName,
  vtFileDescription,
  vtFileVersion,
  vtInternalName,
  vtLegalCopyright,
  vtLegalTradeMark,
  vtOriginalFileName,
  vtProductName,
  vtProductVersion,
  vtComments,
  vtLanguage,
};

// The kinds read from the string table: every kind but vtLanguage.
inline constexpr int kVersionStringKinds = vtComments + 1;
inline constexpr int kVersionTypes = vtLanguage + 1;

// The string-table key of a kind; empty for vtLanguage, which has none.
std::string VersionStringKey(TVersionType type);

// "\StringFileInfo\" + language and code page as four upper-case hex digits
// each + "\" + key.
std::string StringFileInfoPath(uint16_t language, uint16_t codePage, const std::string& key);
