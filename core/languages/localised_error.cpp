#include "core/languages/localised_error.h"

LocalisedError::LocalisedError(TextId id, Fields fields)
    : std::runtime_error(FillFields(English(id), fields)), id_(id), fields_(std::move(fields)) {}

std::string LocalisedError::Text(const Texts& texts) const { return FillFields(texts[id_], fields_); }

std::string FillFields(std::string text, const LocalisedError::Fields& fields) {
  for (const auto& [name, value] : fields) {
    if (name.empty()) continue;
    // The search goes on after the value, so a value holding its own field name cannot loop.
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + value.size())) {
      text.replace(at, name.size(), value);
    }
  }
  return text;
}
