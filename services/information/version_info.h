#pragma once
// Reads the string table of any file's version resource, by the first entry
// of its translation list.
#include <array>
#include <string>

#include "core/information/version_strings.h"

class VersionInfo {
 public:
  // The stored text of that field; empty until a file with that text was read.
  const std::string& Text(VersionField field) const;

  const std::string& Filename() const { return filename_; }
  // Setting the file reads its version resource at once.
  void SetFilename(const std::string& path);
  // Reads the version resource of Filename() into the texts, afresh.
  void ReadVersionInfo();

 private:
  std::array<std::string, kVersionFields> texts_;
  std::string filename_;
};
