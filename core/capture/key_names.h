#pragma once
// The hot-key definition and the fixed list of key names offered for it, with
// the conversions between list items, key codes and the modifier boxes. The
// system's own key names come in through a function so that the conversions
// can be checked against a known keyboard layout.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/ascii_text.h"

struct HotKey {
  int32_t Modifiers = 0;  // passed to the system unchanged
  int32_t Key = 0;        // virtual-key code; 0 = none

  bool operator==(const HotKey&) const = default;
};

inline constexpr int kKeyNameCount = 79;
extern const char* const kKeyNames[kKeyNameCount];

// The name the system gives a key's scan code with the extended bit clear;
// empty when the key has no scan code.
using SystemKeyName = std::function<std::string(uint8_t virtualKey)>;

// Whether two texts are equal ignoring case, as the user's locale sees it.
using SameTextIgnoringCase = std::function<bool(const std::string&, const std::string&)>;

// Prefix bits a key code may carry in its text form ("Shift+", "Ctrl+", "Alt+").
inline constexpr uint16_t kShiftPrefix = 0x2000;
inline constexpr uint16_t kCtrlPrefix = 0x4000;
inline constexpr uint16_t kAltPrefix = 0x8000;

// The text of a code: fixed names first, then the system's name of its low byte.
std::string KeyToText(uint16_t code, const SystemKeyName& systemName);
// The lowest code whose text matches, with any prefixes as bits; 0 when none.
uint16_t TextToKey(const std::string& text, const SystemKeyName& systemName,
                   const SameTextIgnoringCase& same = AsciiSameText);

// The index of the first item naming the code; nullopt leaves the list's
// selection as it was.
std::optional<int> KeyCodeToItem(int32_t code, const SystemKeyName& systemName);
// The code of the selected item's text (empty when nothing is selected).
int32_t ItemToKeyCode(const std::string& itemText, const SystemKeyName& systemName,
                      const SameTextIgnoringCase& same = AsciiSameText);

// Whether the code is one an item of the list stands for on some keyboard
// layout, or 0, "None". Which punctuation key an item names depends on the
// layout, so every punctuation key counts.
bool KeyListOffers(int32_t code);
inline constexpr int32_t kHighestListedKey = 0xE2;  // the extra key of 102-key boards

inline constexpr int32_t kModAlt = 1;
inline constexpr int32_t kModCtrl = 2;
inline constexpr int32_t kModShift = 4;
inline constexpr int32_t kModWin = 8;

struct ModifierBoxes {
  bool Alt = false;
  bool Ctrl = false;
  bool Shift = false;
  bool Win = false;
};

// Bits beyond the four boxes are dropped, so the next save rebuilds the mask.
ModifierBoxes MaskToBoxes(int32_t mask);
int32_t BoxesToMask(const ModifierBoxes& boxes);

// A refused registration is reported only when the definition names something.
bool ShouldReportRefusal(bool registered, const HotKey& hotKey);
