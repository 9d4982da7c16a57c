#include "core/languages/access_keys.h"

#include "base/unicode.h"

namespace {

constexpr char16_t kMark = u'&';
constexpr size_t kNone = std::u16string::npos;

// Lower case for the letters a key may be: ASCII, Latin-1, Greek and
// Cyrillic, which the shipped languages and their keyboards use.
char16_t Folded(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9) ||
      (c >= 0x410 && c <= 0x42F)) {
    return static_cast<char16_t>(c + 0x20);
  }
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
  return c;
}

// A letter or digit that one key of a keyboard for its script types.
bool CanBeKey(char16_t c) {
  const char16_t f = Folded(c);
  return (f >= u'a' && f <= u'z') || (f >= u'0' && f <= u'9') || (f >= 0xDF && f <= 0xFF && f != 0xF7) ||
         (f >= 0x3B1 && f <= 0x3C9) || (f >= 0x430 && f <= 0x45F);
}

struct Caption {
  std::u16string plain;  // as it reads
  size_t key = kNone;    // the marked character in it
};

Caption Parse(std::string_view utf8) {
  const std::u16string text = Utf8ToUtf16(utf8);
  Caption caption;
  for (size_t i = 0; i < text.size(); ++i) {
    // "&&" is one ampersand, and so is an "&" before what no key can be, as
    // in "Print & save"; otherwise "&" marks what follows, the first mark only.
    if (text[i] == kMark && i + 1 < text.size() && (text[i + 1] == kMark || CanBeKey(text[i + 1]))) {
      ++i;
      if (text[i] != kMark && caption.key == kNone) caption.key = caption.plain.size();
    }
    caption.plain += text[i];
  }
  return caption;
}

std::string Marked(const Caption& caption) {
  std::u16string text;
  for (size_t i = 0; i < caption.plain.size(); ++i) {
    if (i == caption.key || caption.plain[i] == kMark) text += kMark;
    text += caption.plain[i];
  }
  return Utf16ToUtf8(text);
}

}  // namespace

std::vector<std::string> ChooseAccessKeys(std::span<const std::string> captions, std::span<const std::string> taken) {
  std::u16string used;  // folded
  for (const std::string& given : taken) {
    const Caption caption = Parse(given);
    if (caption.key != kNone) used += Folded(caption.plain[caption.key]);
  }
  const auto free = [&used](char16_t c) { return CanBeKey(c) && used.find(Folded(c)) == kNone; };

  std::vector<std::string> chosen;
  for (const std::string& text : captions) {
    Caption caption = Parse(text);
    std::u16string& plain = caption.plain;
    if (caption.key != kNone && !free(plain[caption.key])) caption.key = kNone;
    for (size_t i = 0; caption.key == kNone && i < plain.size(); ++i) {
      if (free(plain[i]) && (i == 0 || !CanBeKey(plain[i - 1]))) caption.key = i;
    }
    for (size_t i = 0; caption.key == kNone && i < plain.size(); ++i) {
      if (free(plain[i])) caption.key = i;
    }
    // A caption without a free letter of its own takes one in brackets; a
    // blank one has nothing to read, and takes none.
    const bool blank = plain.find_first_not_of(u' ') == kNone;
    for (char16_t letter = u'A'; caption.key == kNone && !blank && letter <= u'Z'; ++letter) {
      if (!free(letter)) continue;
      plain += u" (";
      caption.key = plain.size();
      plain += letter;
      plain += u')';
    }
    if (caption.key != kNone) used += Folded(plain[caption.key]);
    chosen.push_back(Marked(caption));
  }
  return chosen;
}

std::string WithoutAccessKey(std::string_view caption) { return Utf16ToUtf8(Parse(caption).plain); }

std::string LiteralCaption(std::string_view text) {
  std::string caption;
  for (const char c : text) {
    if (c == '&') caption += '&';
    caption += c;
  }
  return caption;
}

std::string AccessKeyOf(std::string_view caption) {
  const Caption parsed = Parse(caption);
  if (parsed.key == kNone) return {};
  return Utf16ToUtf8(std::u16string(1, Folded(parsed.plain[parsed.key])));
}
