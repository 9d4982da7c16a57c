#pragma once
// TrpVersionInfo: reads the string table of any file's version resource, by
// the first entry of its translation list.
#include <array>
#include <string>

#include "core/information/version_strings.h"

class TrpVersionInfo {
 public:
  TrpVersionInfo() = default;

  // The stored text of that kind; empty until a file with that text was read.
  std::string GetVersionString(TVersionType type) const;
  // Reads the version resource of Filename() into the texts.
  void ReadVersionInfo();

  const std::string& Filename() const { return filename_; }
  // Setting the file reads its version resource at once.
  void SetFilename(const std::string& path);

  const std::string& CompanyName() const { return texts_[vtCompanyName]; }
  const std::string& FileDescription() const { return texts_[vtFileDescription]; }
  const std::string& FileVersion() const { return texts_[vtFileVersion]; }
  const std::string& InternalName() const { return texts_[vtInternalName]; }
  const std::string& LegalCopyright() const { return texts_[vtLegalCopyright]; }
  const std::string& LegalTradeMark() const { return texts_[vtLegalTradeMark]; }
  const std::string& OriginalFileName() const { return texts_[vtOriginalFileName]; }
  const std::string& ProductName() const { return texts_[vtProductName]; }
  const std::string& ProductVersion() const { return texts_[vtProductVersion]; }
  const std::string& Comments() const { return texts_[vtComments]; }
  // The system's name of the first translation's language.
  const std::string& Language() const { return texts_[vtLanguage]; }

 private:
  std::array<std::string, kVersionTypes> texts_;
  std::string filename_;
};
