#pragma once
// An error whose text is one of the translatable texts, so that the user reads it in
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

  // The text in the language of the texts given.
  std::string Text(const Texts& texts) const;

 private:
  TextId id_;
  Fields fields_;
};

// Every occurrence of each field replaced by its value.
std::string FillFields(std::string text, const LocalisedError::Fields& fields);
