#include "core/capture/key_names.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>

namespace {

// What the system calls each key of a US English layout, for the scan code the
// key maps to with the extended bit clear. Keys absent here have no scan code
// or no name; letter and digit keys are named by their character.
// clang-format off
const std::map<uint8_t, std::string> kUsEnglishNames = {
    {0x03, "Scroll Lock"},  // Cancel shares the Scroll Lock scan code
    {0x0C, "Num 5"},        // Clear
    {0x08, "Backspace"}, {0x09, "Tab"}, {0x0D, "Enter"}, {0x10, "Shift"}, {0x11, "Ctrl"}, {0x12, "Alt"},
    {0x13, "Pause"}, {0x14, "Caps Lock"}, {0x1B, "Esc"}, {0x20, "Space"}, {0x2C, "Sys Req"},
    // The cursor block shares its scan codes with the keypad.
    {0x21, "Num 9"}, {0x22, "Num 3"}, {0x23, "Num 1"}, {0x24, "Num 7"}, {0x25, "Num 4"}, {0x26, "Num 8"},
    {0x27, "Num 6"}, {0x28, "Num 2"}, {0x2D, "Num 0"}, {0x2E, "Num Del"},
    {0x60, "Num 0"}, {0x61, "Num 1"}, {0x62, "Num 2"}, {0x63, "Num 3"}, {0x64, "Num 4"}, {0x65, "Num 5"},
    {0x66, "Num 6"}, {0x67, "Num 7"}, {0x68, "Num 8"}, {0x69, "Num 9"}, {0x6A, "Num *"}, {0x6B, "Num +"},
    {0x6D, "Num -"}, {0x6E, "Num Del"},
    {0x6F, "/"},  // keypad divide with the extended bit clear
    {0x70, "F1"}, {0x71, "F2"}, {0x72, "F3"}, {0x73, "F4"}, {0x74, "F5"}, {0x75, "F6"}, {0x76, "F7"},
    {0x77, "F8"}, {0x78, "F9"}, {0x79, "F10"}, {0x7A, "F11"}, {0x7B, "F12"},
    {0x90, "Pause"},  // Num Lock is Pause without the extended bit
    {0x91, "Scroll Lock"}, {0xA0, "Shift"}, {0xA1, "Right Shift"}, {0xA2, "Ctrl"}, {0xA3, "Ctrl"},
    {0xA4, "Alt"}, {0xA5, "Alt"}, {0xBA, ";"}, {0xBB, "="}, {0xBC, ","}, {0xBD, "-"}, {0xBE, "."},
    {0xBF, "/"}, {0xC0, "`"}, {0xDB, "["}, {0xDC, "\\"}, {0xDD, "]"}, {0xDE, "'"},
    {0xE2, "\\"},  // the extra key of 102-key boards
};
// clang-format on

// A German-like layout in its ANSI code page: other words for the keys the list
// names itself (Esc differs only in case), a comma on the keypad, and other
// characters on the punctuation keys. Letter, digit and function keys are
// named as on US English.
// clang-format off
const std::map<uint8_t, std::string> kGermanLikeNames = {
    {0x03, "Rollen"}, {0x0C, "Num 5"},
    {0x08, "R\xFC" "cktaste"}, {0x09, "Tabulator"}, {0x0D, "Eingabe"}, {0x10, "Umschalt"}, {0x11, "Strg"},
    {0x12, "Alt"}, {0x13, "Pause"}, {0x14, "Feststell"}, {0x1B, "ESC"}, {0x20, "Leertaste"}, {0x2C, "Druck"},
    {0x21, "Num 9"}, {0x22, "Num 3"}, {0x23, "Num 1"}, {0x24, "Num 7"}, {0x25, "Num 4"}, {0x26, "Num 8"},
    {0x27, "Num 6"}, {0x28, "Num 2"}, {0x2D, "Num 0"}, {0x2E, "Num ,"},
    {0x60, "Num 0"}, {0x61, "Num 1"}, {0x62, "Num 2"}, {0x63, "Num 3"}, {0x64, "Num 4"}, {0x65, "Num 5"},
    {0x66, "Num 6"}, {0x67, "Num 7"}, {0x68, "Num 8"}, {0x69, "Num 9"}, {0x6A, "Num *"}, {0x6B, "Num +"},
    {0x6D, "Num -"}, {0x6E, "Num ,"},
    {0x6F, "-"},  // keypad divide with the extended bit clear is the minus key
    {0x70, "F1"}, {0x71, "F2"}, {0x72, "F3"}, {0x73, "F4"}, {0x74, "F5"}, {0x75, "F6"}, {0x76, "F7"},
    {0x77, "F8"}, {0x78, "F9"}, {0x79, "F10"}, {0x7A, "F11"}, {0x7B, "F12"},
    {0x90, "Pause"}, {0x91, "Rollen"}, {0xA0, "Umschalt"}, {0xA1, "Umschalt rechts"}, {0xA2, "Strg"},
    {0xA3, "Strg"}, {0xA4, "Alt"}, {0xA5, "Alt"}, {0xBA, "\xDC"}, {0xBB, "+"}, {0xBC, ","}, {0xBD, "-"},
    {0xBE, "."}, {0xBF, "#"}, {0xC0, "\xD6"}, {0xDB, "\xDF"}, {0xDC, "^"}, {0xDD, "\xB4"}, {0xDE, "\xC4"},
    {0xE2, "<"},
};
// clang-format on

std::string NameFrom(const std::map<uint8_t, std::string>& names, uint8_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  auto found = names.find(key);
  return found == names.end() ? std::string() : found->second;
}

std::string UsEnglish(uint8_t key) { return NameFrom(kUsEnglishNames, key); }
std::string GermanLike(uint8_t key) { return NameFrom(kGermanLikeNames, key); }
// A system that names no key: what the list shows must come from its own rules.
std::string NoNames(uint8_t) { return {}; }

struct ItemCode {
  const char* item;
  int32_t usEnglish;  // the code each layout gives the item; 0 = none
  int32_t noNames;
  int32_t germanLike;
};

// Every item of the list in order, with the code it is saved as on each layout.
// clang-format off
const ItemCode kItemCodes[kKeyNameCount] = {
    {"A", 0x41, 0x41, 0x41},      {"B", 0x42, 0x42, 0x42},     {"C", 0x43, 0x43, 0x43},
    {"D", 0x44, 0x44, 0x44},      {"E", 0x45, 0x45, 0x45},     {"F", 0x46, 0x46, 0x46},
    {"G", 0x47, 0x47, 0x47},      {"H", 0x48, 0x48, 0x48},     {"I", 0x49, 0x49, 0x49},
    {"J", 0x4A, 0x4A, 0x4A},      {"K", 0x4B, 0x4B, 0x4B},     {"L", 0x4C, 0x4C, 0x4C},
    {"M", 0x4D, 0x4D, 0x4D},      {"N", 0x4E, 0x4E, 0x4E},     {"O", 0x4F, 0x4F, 0x4F},
    {"P", 0x50, 0x50, 0x50},      {"Q", 0x51, 0x51, 0x51},     {"R", 0x52, 0x52, 0x52},
    {"S", 0x53, 0x53, 0x53},      {"T", 0x54, 0x54, 0x54},     {"U", 0x55, 0x55, 0x55},
    {"V", 0x56, 0x56, 0x56},      {"W", 0x57, 0x57, 0x57},     {"X", 0x58, 0x58, 0x58},
    {"Y", 0x59, 0x59, 0x59},      {"Z", 0x5A, 0x5A, 0x5A},     {"1", 0x31, 0x31, 0x31},
    {"2", 0x32, 0x32, 0x32},      {"3", 0x33, 0x33, 0x33},     {"4", 0x34, 0x34, 0x34},
    {"5", 0x35, 0x35, 0x35},      {"6", 0x36, 0x36, 0x36},     {"7", 0x37, 0x37, 0x37},
    {"8", 0x38, 0x38, 0x38},      {"9", 0x39, 0x39, 0x39},     {"0", 0x30, 0x30, 0x30},
    {"F1", 0x70, 0x70, 0x70},     {"F2", 0x71, 0x71, 0x71},    {"F3", 0x72, 0x72, 0x72},
    {"F4", 0x73, 0x73, 0x73},     {"F5", 0x74, 0x74, 0x74},    {"F6", 0x75, 0x75, 0x75},
    {"F7", 0x76, 0x76, 0x76},     {"F8", 0x77, 0x77, 0x77},    {"F9", 0x78, 0x78, 0x78},
    {"F10", 0x79, 0x79, 0x79},    {"F11", 0x7A, 0x7A, 0x7A},   {"F12", 0x7B, 0x7B, 0x7B},
    {"PrtScr", 0x2C, 0x2C, 0x2C}, {"Enter", 0x0D, 0x0D, 0x0D}, {"Esc", 0x1B, 0x1B, 0x1B},
    {"Ins", 0x2D, 0x2D, 0x2D},    {"Del", 0x2E, 0x2E, 0x2E},   {"Home", 0x24, 0x24, 0x24},
    {"End", 0x23, 0x23, 0x23},    {"PgUp", 0x21, 0x21, 0x21},  {"PgDn", 0x22, 0x22, 0x22},
    {"Caps Lock", 0x14, 0, 0},    {"Scroll Lock", 0x91, 0, 0}, {"Num Lock", 0x90, 0x90, 0x90},
    {"Num Del", 0x6E, 0, 0},      {"Num +", 0x6B, 0, 0x6B},    {"Num -", 0x6D, 0, 0x6D},
    {"Num *", 0x6A, 0, 0x6A},     {";", 0xBA, 0, 0},           {"+", 0, 0, 0xBB},
    {"-", 0xBD, 0, 0x6F},         {"/", 0x6F, 0, 0},           {"*", 0, 0, 0},
    {".", 0xBE, 0, 0xBE},         {"`", 0xC0, 0, 0},           {"\\", 0xDC, 0, 0},
    {"[", 0xDB, 0, 0},            {"]", 0xDD, 0, 0},           {"Pause", 0x13, 0x13, 0x13},
    {"BkSp", 0x08, 0x08, 0x08},   {"Space", 0x20, 0x20, 0x20}, {"Menu", 0x5D, 0x5D, 0x5D},
    {"None", 0, 0, 0},
};
// clang-format on

struct Layout {
  const char* name;
  std::string (*systemName)(uint8_t);
  int32_t ItemCode::*code;
};

const Layout kLayouts[] = {
    {"US English", UsEnglish, &ItemCode::usEnglish},
    {"no names", NoNames, &ItemCode::noNames},
    {"German-like", GermanLike, &ItemCode::germanLike},
};

}  // namespace

TEST(kKeyNames, EveryItemGivesItsCodeOnEachLayout) {
  for (const Layout& layout : kLayouts) {
    for (int i = 0; i < kKeyNameCount; ++i) {
      SCOPED_TRACE(testing::Message() << layout.name << ": " << kItemCodes[i].item);
      EXPECT_STREQ(kKeyNames[i], kItemCodes[i].item);
      EXPECT_EQ(ItemToKeyCode(kKeyNames[i], layout.systemName), kItemCodes[i].*layout.code);
    }
  }
}

TEST(kKeyNames, EveryItemWithACodeLoadsBackToItself) {
  for (const Layout& layout : kLayouts) {
    for (int i = 0; i < kKeyNameCount; ++i) {
      int32_t code = ItemToKeyCode(kKeyNames[i], layout.systemName);
      if (code == 0) continue;
      SCOPED_TRACE(testing::Message() << layout.name << ": " << kKeyNames[i]);
      EXPECT_EQ(KeyCodeToItem(code, layout.systemName), i);
    }
  }
}

TEST(kKeyNames, TheListOffersTheCodesItsItemsGiveOnAnyLayoutAndNoOther) {
  for (const Layout& layout : kLayouts) {
    for (const ItemCode& item : kItemCodes) {
      EXPECT_TRUE(KeyListOffers(item.*layout.code)) << layout.name << ": " << item.item;
    }
  }
  for (const int32_t code : {0x09, 0x25, 0x60, 0x7C, 0x11, 0xE3, 0x141, 999, -1}) {
    EXPECT_FALSE(KeyListOffers(code)) << code;
  }
  EXPECT_TRUE(KeyListOffers(0xBC)) << "a punctuation key no test layout names in the list";
}

TEST(kKeyNames, CodesNoItemNamesLeaveTheSelectionAlone) {
  const int32_t unnamed[] = {0, 0x11, 0xDE, 0xBB, 0x25, 0x7C, 0xFF, 0x2041, 0x5B};
  for (int32_t code : unnamed) {
    SCOPED_TRACE(code);
    EXPECT_FALSE(KeyCodeToItem(code, UsEnglish).has_value());
  }
}

TEST(kKeyNames, CodesSharingANameSelectTheFirstItemNamingIt) {
  struct Case {
    int32_t code;
    const char* item;
  } cases[] = {
      {0x60, "0"},   // keypad digits are named like the main digits
      {0x69, "9"},   //
      {0xBF, "/"},   // the main slash loads, though it saves as the keypad's
      {0xE2, "\\"},  //
      {0x141, "A"},  // only the low byte and the prefix bits name a key
      {0x6E, "Num Del"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    auto item = KeyCodeToItem(c.code, UsEnglish);
    ASSERT_TRUE(item.has_value());
    EXPECT_STREQ(kKeyNames[*item], c.item);
  }
}

TEST(kKeyNames, KeyToTextPutsFixedNamesAheadOfTheSystemAndPrefixesInOrder) {
  struct Case {
    uint16_t code;
    const char* text;
    std::string (*systemName)(uint8_t) = UsEnglish;
  } cases[] = {
      {0x08, "BkSp"},
      {0x2E, "Del"},
      {0x25, "Left"},
      {0x0C, "Num 5"},
      {0x65, "5"},
      {0x70, "F1"},
      {0x87, "F24"},
      {0x2C, "Sys Req"},
      {0x90, "Pause"},
      {0x2041, "Shift+A"},
      {0x4070, "Ctrl+F1"},
      {0x8020, "Alt+Space"},
      {0xE041, "Shift+Ctrl+Alt+A"},
      {0x205B, ""},
      {0x0000, ""},
      {0x0108, "BkSp"},
      // The list's own names whatever the system calls the key, or when it names nothing.
      {0x09, "Tab", GermanLike},
      {0x26, "Up", NoNames},
      {0x27, "Right", GermanLike},
      {0x28, "Down", NoNames},
      // Just outside the digits, the letters and the function keys the system names the key.
      {0x3A, ""},
      {0x40, ""},
      {0x88, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(KeyToText(c.code, c.systemName), c.text);
  }
}

TEST(kKeyNames, EveryKeysTextReadsBackToAKeyOfTheSameText) {
  // A text two keys bear reads as the lower code: the same text, if not the same code.
  for (const Layout& layout : kLayouts) {
    for (const int prefixes : {0, kShiftPrefix | kCtrlPrefix | kAltPrefix}) {
      for (uint16_t key = 1; key <= 0xFF; ++key) {
        const std::string text = KeyToText(static_cast<uint16_t>(prefixes | key), layout.systemName);
        if (text.empty()) continue;
        SCOPED_TRACE(testing::Message() << layout.name << ": " << text);
        EXPECT_EQ(KeyToText(TextToKey(text, layout.systemName), layout.systemName), text);
      }
    }
  }
}

TEST(kKeyNames, TextToKeyReadsPrefixesAndIgnoresCase) {
  struct Case {
    const char* text;
    uint16_t code;
  } cases[] = {
      {"Shift+A", 0x2041},
      {"Ctrl+F1", 0x4070},
      {"^Z", 0x405A},
      {"Alt+Space", 0x8020},
      {"shift+ctrl+alt+del", 0xE02E},
      {"Alt+Shift+1", 0xA031},
      {"num del", 0x6E},
      {"right shift", 0xA1},
      {"Sys Req", 0x2C},
      {"Scroll Lock", 0x91},
      {"Num 0", 0},
      {"Num 5", 0x0C},
      {"Pause", 0x13},
      {"Shift+", 0},
      {"", 0},
      {"^", 0},
      {"Shift+None", 0},
      {"=", 0xBB},
      {"Tab", 0x09},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(TextToKey(c.text, UsEnglish), c.code);
  }
}

TEST(kKeyNames, TextToKeyComparesWithTheGivenFunction) {
  auto exact = [](const std::string& a, const std::string& b) { return a == b; };
  EXPECT_EQ(TextToKey("Del", UsEnglish, exact), 0x2E);
  EXPECT_EQ(TextToKey("del", UsEnglish, exact), 0);
  EXPECT_EQ(TextToKey("shift+A", UsEnglish, exact), 0);
  EXPECT_EQ(ItemToKeyCode("Num Del", UsEnglish, exact), 0x6E);
}

TEST(kKeyNames, SpecialItemsAreMatchedExactlyBeforeTheSearch) {
  // "pause" is not the special item, so it is searched for like any text and
  // meets Pause's own system name; "num lock" meets nothing.
  EXPECT_EQ(ItemToKeyCode("pause", UsEnglish), 0x13);
  EXPECT_EQ(ItemToKeyCode("num lock", UsEnglish), 0);
  EXPECT_EQ(ItemToKeyCode("prtscr", UsEnglish), 0);
  EXPECT_EQ(ItemToKeyCode("", UsEnglish), 0);
}

TEST(kKeyNames, AsciiSameTextIgnoresOnlyLetterCase) {
  EXPECT_TRUE(AsciiSameText("Num Del", "NUM del"));
  EXPECT_TRUE(AsciiSameText("", ""));
  EXPECT_FALSE(AsciiSameText("A", "AB"));
  EXPECT_FALSE(AsciiSameText("[", "{"));
}

TEST(ModifierBoxes, MaskAndBoxesConvertBothWays) {
  struct Case {
    int32_t mask;
    ModifierBoxes boxes;
    int32_t rebuilt;
  } cases[] = {
      {0, {false, false, false, false}, 0},
      {1, {true, false, false, false}, 1},
      {2, {false, true, false, false}, 2},
      {4, {false, false, true, false}, 4},
      {8, {false, false, false, true}, 8},
      {5, {true, false, true, false}, 5},  // Alt+Shift
      {6, {false, true, true, false}, 6},  // Ctrl+Shift
      {15, {true, true, true, true}, 15},
      {0x12, {false, true, false, false}, 2},  // bits without a box are dropped
      {0x4000, {false, false, false, false}, 0},
      {-1, {true, true, true, true}, 15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    ModifierBoxes boxes = MaskToBoxes(c.mask);
    EXPECT_EQ(boxes.Alt, c.boxes.Alt);
    EXPECT_EQ(boxes.Ctrl, c.boxes.Ctrl);
    EXPECT_EQ(boxes.Shift, c.boxes.Shift);
    EXPECT_EQ(boxes.Win, c.boxes.Win);
    EXPECT_EQ(BoxesToMask(boxes), c.rebuilt);
  }
}

TEST(HotKeyRefusal, ReportedOnlyForARefusedDefinitionNamingSomething) {
  struct Case {
    bool registered;
    HotKey hotKey;
    bool reported;
  } cases[] = {
      {true, {6, 0x2C}, false},
      {false, {6, 0x2C}, true},
      {false, {0, 0}, false},  // "None" without boxes switches the hot key off
      {false, {2, 0}, true},   // "None" with a box
      {false, {1, 0}, true},   // "None" with Alt, the smallest sum reported
      {false, {0, 0x41}, true},
      {false, {-8, 3}, false},  // the sum decides, as stored
      {false, {INT32_MAX, INT32_MAX}, true},
      {false, {INT32_MIN, 0x41}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.hotKey.Modifiers << "+" << c.hotKey.Key);
    EXPECT_EQ(ShouldReportRefusal(c.registered, c.hotKey), c.reported);
  }
}
