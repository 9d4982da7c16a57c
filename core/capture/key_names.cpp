#include "core/capture/key_names.h"

#include <algorithm>
#include <array>
#include <string_view>

const char* const kKeyNames[kKeyNameCount] = {
    "A",       "B",     "C",     "D",     "E",     "F",    "G",     "H",         "I",           "J",
    "K",       "L",     "M",     "N",     "O",     "P",    "Q",     "R",         "S",           "T",
    "U",       "V",     "W",     "X",     "Y",     "Z",    "1",     "2",         "3",           "4",
    "5",       "6",     "7",     "8",     "9",     "0",    "F1",    "F2",        "F3",          "F4",
    "F5",      "F6",    "F7",    "F8",    "F9",    "F10",  "F11",   "F12",       "PrtScr",      "Enter",
    "Esc",     "Ins",   "Del",   "Home",  "End",   "PgUp", "PgDn",  "Caps Lock", "Scroll Lock", "Num Lock",
    "Num Del", "Num +", "Num -", "Num *", ";",     "+",    "-",     "/",         "*",           ".",
    "`",       "\\",    "[",     "]",     "Pause", "BkSp", "Space", "Menu",      "None",
};

namespace {

struct NamedCode {
  int32_t code;
  const char* name;
};

// Keys whose system name is missing or misleading (Pause and Num Lock share a
// scan code, Print Screen's is named after SysRq), so the list names them itself.
constexpr std::array<NamedCode, 4> kSpecialNames = {{
    {0x13, "Pause"},
    {0x2C, "PrtScr"},
    {0x5D, "Menu"},
    {0x90, "Num Lock"},
}};

constexpr std::array<NamedCode, 15> kFixedNames = {{
    {0x08, "BkSp"},
    {0x09, "Tab"},
    {0x0D, "Enter"},
    {0x1B, "Esc"},
    {0x20, "Space"},
    {0x21, "PgUp"},
    {0x22, "PgDn"},
    {0x23, "End"},
    {0x24, "Home"},
    {0x25, "Left"},
    {0x26, "Up"},
    {0x27, "Right"},
    {0x28, "Down"},
    {0x2D, "Ins"},
    {0x2E, "Del"},
}};

struct PrefixBit {
  std::string_view text;
  uint16_t bit;
};

constexpr std::array<PrefixBit, 3> kPrefixesShown = {{
    {"Shift+", kShiftPrefix},
    {"Ctrl+", kCtrlPrefix},
    {"Alt+", kAltPrefix},
}};

constexpr std::array<PrefixBit, 4> kPrefixesRead = {{
    {"Shift+", kShiftPrefix},
    {"^", kCtrlPrefix},
    {"Ctrl+", kCtrlPrefix},
    {"Alt+", kAltPrefix},
}};

// The keys items name by what the system calls them: Caps Lock, Scroll
// Lock, the keypad's operators and the punctuation keys, which each layout
// names after its own characters.
constexpr std::array<int32_t, 20> kSystemNamedKeys = {0x14, 0x6A, 0x6B, 0x6D, 0x6E, 0x6F, 0x91, 0xBA, 0xBB, 0xBC,
                                                      0xBD, 0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF, 0xE2};

constexpr uint8_t kKeypadDigitFirst = 0x60;
constexpr uint8_t kKeypadDigitLast = 0x69;
constexpr uint8_t kFunctionKeyFirst = 0x70;
constexpr uint8_t kFunctionKeyLast = 0x87;

// The range searched when a text is turned back into a code; scanning upward
// makes a name borne by two keys resolve to the lower code.
constexpr uint16_t kFirstSearchedCode = 8;
constexpr uint16_t kLastSearchedCode = 597;

std::string LowByteName(uint8_t key, const SystemKeyName& systemName) {
  for (const NamedCode& fixed : kFixedNames) {
    if (fixed.code == key) return fixed.name;
  }
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= kKeypadDigitFirst && key <= kKeypadDigitLast)
    return std::string(1, static_cast<char>('0' + key - kKeypadDigitFirst));
  if (key >= kFunctionKeyFirst && key <= kFunctionKeyLast) {
    std::string name = "F";
    name += std::to_string(key - kFunctionKeyFirst + 1);
    return name;
  }
  return systemName(key);
}

// The lowest code whose text, without prefixes, is the name; 0 when none.
uint16_t CodeNamed(const std::string& name, const SystemKeyName& systemName, const SameTextIgnoringCase& same) {
  if (name.empty()) return 0;
  for (uint16_t code = kFirstSearchedCode; code <= kLastSearchedCode; ++code) {
    if (same(KeyToText(code, systemName), name)) return code;
  }
  return 0;
}

}  // namespace

std::string KeyToText(uint16_t code, const SystemKeyName& systemName) {
  std::string name = LowByteName(static_cast<uint8_t>(code & 0xFF), systemName);
  if (name.empty()) return name;
  std::string prefix;
  for (const PrefixBit& shown : kPrefixesShown) {
    if (code & shown.bit) prefix += shown.text;
  }
  return prefix + name;
}

uint16_t TextToKey(const std::string& text, const SystemKeyName& systemName, const SameTextIgnoringCase& same) {
  uint16_t prefixBits = 0;
  std::string rest = text;
  // A key's own name goes before a prefix it begins with: "^" is a key of
  // its own on some layouts, and Ctrl before anything else.
  for (;;) {
    if (const uint16_t code = CodeNamed(rest, systemName, same)) return code | prefixBits;
    const auto read = std::ranges::find_if(kPrefixesRead, [&](const PrefixBit& prefix) {
      return rest.size() >= prefix.text.size() && same(rest.substr(0, prefix.text.size()), std::string(prefix.text));
    });
    if (read == kPrefixesRead.end()) return 0;
    prefixBits |= read->bit;
    rest.erase(0, read->text.size());
  }
}

std::optional<int> KeyCodeToItem(int32_t code, const SystemKeyName& systemName) {
  std::string name;
  for (const NamedCode& special : kSpecialNames) {
    if (special.code == code) {
      name = special.name;
      break;
    }
  }
  if (name.empty()) name = KeyToText(static_cast<uint16_t>(code), systemName);
  for (int item = 0; item < kKeyNameCount; ++item) {
    if (name == kKeyNames[item]) return item;
  }
  return std::nullopt;
}

int32_t ItemToKeyCode(const std::string& itemText, const SystemKeyName& systemName, const SameTextIgnoringCase& same) {
  for (const NamedCode& special : kSpecialNames) {
    if (itemText == special.name) return special.code;
  }
  return TextToKey(itemText, systemName, same);
}

bool KeyListOffers(int32_t code) {
  if (code == 0 || std::ranges::find(kSystemNamedKeys, code) != kSystemNamedKeys.end()) return true;
  // The others the list names by its own rules, the same on every layout.
  const auto noNames = [](uint8_t) { return std::string(); };
  const std::optional<int> item = KeyCodeToItem(code, noNames);
  return item && ItemToKeyCode(kKeyNames[*item], noNames) == code;
}

ModifierBoxes MaskToBoxes(int32_t mask) {
  return {(mask & kModAlt) != 0, (mask & kModCtrl) != 0, (mask & kModShift) != 0, (mask & kModWin) != 0};
}

int32_t BoxesToMask(const ModifierBoxes& boxes) {
  return (boxes.Alt ? kModAlt : 0) | (boxes.Ctrl ? kModCtrl : 0) | (boxes.Shift ? kModShift : 0) |
         (boxes.Win ? kModWin : 0);
}

bool ShouldReportRefusal(bool registered, const HotKey& hotKey) {
  // Summed wide: stored values are arbitrary 32-bit numbers.
  return !registered && static_cast<int64_t>(hotKey.Modifiers) + hotKey.Key > 0;
}
