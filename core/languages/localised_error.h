#pragma once
// An error whose text is a row of the catalogue, so that the user reads it in
// the language applied. Fields such as %WIDTH% in the text are filled in.
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/languages/texts.h"

class LocalisedError : public std::runtime_error {
 public:
  using Fields = std::vector<std::pair<std::string, std::string>>;  // field name with its %, value

  // what() gives the English text.
  explicit LocalisedError(TextId id, Fields fields = {});

  // The text in the catalogue's language.
  std::string Text(const MessageCatalogue& catalogue) const;

 private:
  TextId id_;
  Fields fields_;
};

// Every occurrence of each field replaced by its value.
std::string FillFields(std::string text, const LocalisedError::Fields& fields);
