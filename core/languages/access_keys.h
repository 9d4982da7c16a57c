#pragma once
// Access keys: the underlined letter of a caption, marked by an "&" before
// it, that Alt and the letter reach from the keyboard. "&&" stands for an
// ampersand. The captions of one page share their keys: none may repeat.
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The captions of one page in their focus order, each with an access key
// none of the others has, nor any of the captions already given their keys
// in `taken`. A caption that marks its own key keeps it unless an earlier
// caption has that letter. Otherwise the key is the first free letter that
// begins a word, else any free letter, else a letter added in brackets, as
// in "Text (&B)". Letters count without regard to case.
std::vector<std::string> ChooseAccessKeys(std::span<const std::string> captions,
                                          std::span<const std::string> taken = {});

// The caption as it reads: without its key's mark, "&&" as one ampersand.
std::string WithoutAccessKey(std::string_view caption);

// A text that is to show as it is in a caption, such as a font's name: every
// "&" doubled, so that none marks a key.
std::string LiteralCaption(std::string_view text);

// The letter of the caption's key, lower case, in UTF-8; empty when it has none.
std::string AccessKeyOf(std::string_view caption);
