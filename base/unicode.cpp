#include "base/unicode.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The start of a text: one well-formed sequence and its code point, or the
// maximal ill-formed part that stands where one should be.
struct Sequence {
  size_t length = 1;
  bool wellFormed = false;
  char32_t codePoint = kReplacement;
};

unsigned char Byte(std::string_view bytes, size_t i) { return static_cast<unsigned char>(bytes[i]); }

// The well-formed byte sequences of UTF-8. The second byte's range depends on
// the first, which is what rules out overlong forms, surrogates and code
// points above U+10FFFF; every later byte is 80..BF.
Sequence FirstSequence(std::string_view bytes) {
  const unsigned char lead = Byte(bytes, 0);
  if (lead < 0x80) return {1, true, lead};
  size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  char32_t codePoint = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // below: overlong
    if (lead == 0xED) high = 0x9F;  // above: surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // below: overlong
    if (lead == 0xF4) high = 0x8F;  // above: beyond U+10FFFF
  } else {
    return {};  // a continuation byte, C0, C1 or F5..FF: never a lead
  }
  for (size_t i = 1; i < length; ++i) {
    if (i == bytes.size()) return {i};
    const unsigned char next = Byte(bytes, i);
    if (next < low || next > high) return {i};
    codePoint = (codePoint << 6) | (next & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  return {length, true, codePoint};
}

void AppendUtf8(std::string& text, char32_t codePoint) {
  if (codePoint < 0x80) {
    text += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    text += static_cast<char>(0xC0 | (codePoint >> 6));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    text += static_cast<char>(0xE0 | (codePoint >> 12));
    text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    text += static_cast<char>(0xF0 | (codePoint >> 18));
    text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string utf16;
  utf16.reserve(utf8.size());
  while (!utf8.empty()) {
    const Sequence sequence = FirstSequence(utf8);
    utf8.remove_prefix(sequence.length);
    const char32_t codePoint = sequence.codePoint;
    if (codePoint < 0x10000) {
      utf16 += static_cast<char16_t>(codePoint);
    } else {
      utf16 += static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
      utf16 += static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    }
  }
  return utf16;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string utf8;
  utf8.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    const char16_t unit = utf16[i];
    if (IsHighSurrogate(unit) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      AppendUtf8(utf8, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{utf16[i + 1]} - 0xDC00));
      ++i;
    } else {
      AppendUtf8(utf8, IsHighSurrogate(unit) || IsLowSurrogate(unit) ? kReplacement : unit);
    }
  }
  return utf8;
}

bool IsValidUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const Sequence sequence = FirstSequence(bytes);
    if (!sequence.wellFormed) return false;
    bytes.remove_prefix(sequence.length);
  }
  return true;
}

std::string_view Utf8Prefix(std::string_view text, size_t characters) {
  size_t end = 0;
  for (; characters > 0 && end < text.size(); --characters) {
    const Sequence sequence = FirstSequence(text.substr(end));
    end += sequence.wellFormed ? sequence.length : 1;
  }
  return text.substr(0, end);
}

std::string Windows1252ToUtf8(std::string_view text) {
  static constexpr char16_t k80To9F[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::u16string wide;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    wide += byte >= 0x80 && byte < 0xA0 ? k80To9F[byte - 0x80] : static_cast<char16_t>(byte);
  }
  return Utf16ToUtf8(wide);
}
