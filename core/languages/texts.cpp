#include "core/languages/texts.h"

namespace {

constexpr bool RowsInIdentifierOrder() {
  for (size_t i = 0; i < kTextCount; ++i) {
    if (static_cast<size_t>(kTextRows[i].id) != i) return false;
  }
  return true;
}
static_assert(RowsInIdentifierOrder(), "a row's identifier is its index");

}  // namespace

Texts::Texts() {
  for (const TextRow& row : kTextRows) texts_.emplace_back(row.english);
}

Texts::Texts(const LanguageReader& read) {
  texts_.reserve(kTextCount);
  for (const TextRow& row : kTextRows) texts_.push_back(read(row.section, row.key, row.english));
}

Texts::Texts(const LanguageFile& file)
    : Texts([&file](const std::string& section, const std::string& key, const std::string& fallback) {
        return file.Text(section, key, fallback);
      }) {}

std::string Texts::HelpFileName() const { return SafeHelpFileName((*this)[TextId::HelpFileName]); }

std::string SafeHelpFileName(const std::string& name) {
  const bool leavesFolder = name.find_first_of("\\/:") != std::string::npos || name.find("..") != std::string::npos;
  return leavesFolder ? kDefaultHelpFileName : name;
}
