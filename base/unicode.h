#pragma once
// Conversions between the program's texts and the system's, written out by
// hand from the table of well-formed UTF-8 byte sequences.
#include <cstddef>
#include <string>
#include <string_view>

// Texts inside the program are UTF-8; the system's are UTF-16. Ill-formed
// input (a broken or overlong UTF-8 sequence, a surrogate encoded in UTF-8,
// an unpaired UTF-16 surrogate) becomes U+FFFD, and the rest of the text goes on.
// Each maximal ill-formed part of UTF-8 (the longest start of a well-formed
// sequence, or else one byte) gives one U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// Whether the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// The longest start of `text` that holds at most `characters` characters and
// ends between two of them. A well-formed UTF-8 sequence is one character,
// and so is each byte outside one, so that text in a single-byte code page
// is cut after that many bytes.
std::string_view Utf8Prefix(std::string_view text, size_t characters);

// Text in Windows-1252, the code page the shipped translations are saved in,
// as UTF-8. Its five unassigned bytes keep their own value.
std::string Windows1252ToUtf8(std::string_view text);
