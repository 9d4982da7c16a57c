#pragma once
// The settings record, declared once: each setting with its registry value
// name, type, default, place in the save order, the control that shows it
// and the values it takes.
// The record's fields, loading, saving, showing and collecting are all made
// from this one list. The store is the registry in the program and a map in
// the tests.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <limits>
#include <span>
#include <string>

#include "core/capture/key_names.h"
#include "core/capture/screen_choice.h"
#include "core/languages/texts.h"
#include "core/output/page_geometry.h"
#include "core/output/paper_colors.h"
#include "core/output/watermark.h"
#include "resources/resource.h"

enum class SettingType { Text, Integer, OnOff };

// How the Preferences window shows a setting.
enum class SettingShown {
  Check,          // a check box, ticked when on
  Edit,           // an edit field holding the text
  Number,         // a number field; a text that is no integer collects as 0
  Count,          // a number field; a text that is no integer collects as 1
  ListIndex,      // the selected index of a list; none collects as -1
  ListValue,      // the value of the selected item of a list whose items are the valid values (OneOf) in
                  // order; none collects as the default
  TrackBar,       // the position of a track bar
  ModifierBoxes,  // the four boxes Ctrl, Alt, Shift, Win: four identifiers from the one given
  KeyList,        // the key list, by the key's name
  OwnCode,        // shown and collected by code of its own: the language, the font, the colour, the printer
};

// The values a setting takes. A policy holding another is no policy, the
// templates let an administrator choose no other, and the Preferences offer
// no other.
struct ValidValues {
  int32_t lowest = std::numeric_limits<int32_t>::min();
  int32_t highest = std::numeric_limits<int32_t>::max();
  std::span<const int32_t> only{};  // when given, the only values within the range
  bool keyCode = false;             // and a code the key list offers (KeyListOffers)
  // A stored value outside loads as the default. The first settings load
  // as stored, whatever the number: stored settings have long relied on it.
  bool checksStored = false;

  bool Holds(int32_t value) const;
};

inline constexpr ValidValues kAnyText{};
inline constexpr ValidValues kOnOff{0, 1};  // stored, anything but 1 is off
// Within the range; a stored value loads as it is.
constexpr ValidValues WithinAsStored(int32_t lowest, int32_t highest) { return {lowest, highest}; }
// Within the range; a stored value outside loads as the default.
constexpr ValidValues Within(int32_t lowest, int32_t highest) { return {lowest, highest, {}, false, true}; }
// One of the values; a stored value outside loads as the default.
constexpr ValidValues OneOf(std::span<const int32_t> values) {
  return {*std::ranges::min_element(values), *std::ranges::max_element(values), values, false, true};
}
inline constexpr ValidValues kModifierMasks = WithinAsStored(0, kModAlt | kModCtrl | kModShift | kModWin);
inline constexpr ValidValues kKeyCodes{0, kHighestListedKey, {}, true, false};

inline constexpr int32_t kAnyCount = std::numeric_limits<int32_t>::max();
inline constexpr int32_t kMostShots = 999;
inline constexpr int32_t kPrintCopiesMax = 99;
inline constexpr int32_t kLargestFontSize = 1638;  // in points, the largest the font dialog offers
inline constexpr int32_t kFontStyleBold = 1;
inline constexpr int32_t kFontStyleItalic = 2;
inline constexpr int32_t kWhite = 0xFFFFFF;  // colours are 0x00BBGGRR
inline constexpr int32_t kInvisible = 255;   // the transparency from 0, solid
inline constexpr auto kDefaultActionCount = static_cast<int32_t>(std::size(kDefaultActionItems));

// X(name, type, default, save position, control, shown as, valid values), in
// load order. The name is the registry value's and the record field's.
// clang-format off
#define VORLANE_SETTINGS(X) \
  X(Language, Text, "English", 0, IDC_LANGUAGE, OwnCode, kAnyText) \
  X(ShortcutShiftEntireScreen, Integer, 6 /* Ctrl+Shift */, 1, IDC_ENTIRE_SCREEN_CTRL, ModifierBoxes, kModifierMasks) \
  X(ShortcutKeyEntireScreen, Integer, 0x2C /* Print Screen */, 2, IDC_ENTIRE_SCREEN_KEY, KeyList, kKeyCodes) \
  X(ShortcutShiftActiveWindow, Integer, 5 /* Alt+Shift */, 3, IDC_ACTIVE_WINDOW_CTRL, ModifierBoxes, kModifierMasks) \
  X(ShortcutKeyActiveWindow, Integer, 0x2C, 4, IDC_ACTIVE_WINDOW_KEY, KeyList, kKeyCodes) \
  X(ShortcutShiftRegion, Integer, 4 /* Shift */, 28, IDC_REGION_CTRL, ModifierBoxes, kModifierMasks) \
  X(ShortcutKeyRegion, Integer, 0x2C, 29, IDC_REGION_KEY, KeyList, kKeyCodes) \
  X(DefaultAction, Integer, 1 /* 0 the entire screen, 1 open the Preferences, 2 a region */, 5, IDC_DEFAULT_ACTION, ListIndex, WithinAsStored(0, kDefaultActionCount - 1)) \
  X(CaptureScreen, Integer, 0 /* the primary screen */, 25, IDC_CAPTURE_SCREEN, ListIndex, Within(0, kCaptureScreenCount - 1)) \
  X(WatermarkLocation, Integer, 0, 7, IDC_WATERMARK_CORNER, ListIndex, WithinAsStored(0, kCornerCount - 1)) \
  X(WatermarkText, Text, "%DATE% %TIME%", 8, IDC_WATERMARK_TEXT, Edit, kAnyText) \
  X(WatermarkFontName, Text, "", 9, IDC_WATERMARK_FONT, OwnCode, kAnyText) \
  X(WatermarkFontSize, Integer, 12, 10, IDC_WATERMARK_FONT, OwnCode, WithinAsStored(1, kLargestFontSize)) \
  X(WatermarkFontStyle, Integer, 0, 11, IDC_WATERMARK_FONT, OwnCode, WithinAsStored(0, kFontStyleBold | kFontStyleItalic)) \
  X(WatermarkFontColor, Integer, 0, 12, IDC_COLOR_SWATCH, OwnCode, WithinAsStored(0, kWhite)) \
  X(WatermarkFontTransparency, Integer, 0, 13, IDC_TRANSPARENCY, TrackBar, WithinAsStored(0, kInvisible)) \
  X(WatermarkMake, OnOff, false, 6, IDC_MAKE_WATERMARK, Check, kOnOff) \
  X(TimerDelay, Integer, 1, 17, IDC_DELAY, Number, WithinAsStored(1, kAnyCount)) \
  X(TimerDelayedCapture, OnOff, false, 18, IDC_DELAYED_CAPTURE, Check, kOnOff) \
  X(TimerNumberOfShots, Integer, 1, 19, IDC_NUMBER_OF_SHOTS, Count, WithinAsStored(1, kMostShots)) \
  X(TimerInterval, Integer, 1, 20, IDC_INTERVAL, Number, WithinAsStored(1, kAnyCount)) \
  X(TimerSeveralShots, OnOff, false, 21, IDC_SEVERAL_SHOTS, Check, kOnOff) \
  X(PrintShotsPerPage, Integer, 1, 32, IDC_SHOTS_PER_PAGE, ListValue, OneOf(kShotsPerPageChoices)) \
  X(PrintFitToPage, OnOff, true, 14, IDC_FIT_TO_PAGE, Check, kOnOff) \
  X(PrintPagePosition, Integer, 4 /* Center */, 15, IDC_PAGE_POSITION, ListIndex, WithinAsStored(0, kPagePositionCount - 1)) \
  X(PrintOrientation, Integer, 0 /* as the printer is set */, 22, IDC_ORIENTATION, ListIndex, Within(0, kPrintOrientationCount - 1)) \
  X(PrintCopies, Integer, 1, 23, IDC_COPIES, Count, Within(1, kPrintCopiesMax)) \
  X(PrintGrayscale, OnOff, false, 24, IDC_GRAYSCALE, Check, kOnOff) \
  X(PrintColors, Integer, 0 /* as on screen */, 31, IDC_PRINT_COLORS, ListIndex, Within(0, kPaperColorsCount - 1)) \
  X(CaptureMousePointer, OnOff, false, 30, IDC_CAPTURE_MOUSE_POINTER, Check, kOnOff) \
  X(FilePrinterAutoSave, OnOff, true, 26, IDC_FILE_PRINTER_AUTOSAVE, Check, kOnOff) \
  X(FilePrinterFolder, Text, "" /* Vorlane in the user's Documents */, 27, IDC_FILE_PRINTER_FOLDER, Edit, kAnyText) \
  X(PrintPrinter, Text, "" /* the current printer */, 16, IDC_PRINTER, OwnCode, kAnyText)
// clang-format on

template <SettingType>
struct SettingValueOf;
template <>
struct SettingValueOf<SettingType::Text> {
  using type = std::string;
};
template <>
struct SettingValueOf<SettingType::Integer> {
  using type = int32_t;
};
template <>
struct SettingValueOf<SettingType::OnOff> {
  using type = bool;
};

struct Preferences {
#define VORLANE_SETTING_FIELD(name, kind, fallback, ...) \
  typename SettingValueOf<SettingType::kind>::type name = fallback;
  VORLANE_SETTINGS(VORLANE_SETTING_FIELD)
#undef VORLANE_SETTING_FIELD

  bool operator==(const Preferences&) const = default;
};

struct Setting {
  const char* name = nullptr;
  SettingType type = SettingType::Text;
  // The field, by type.
  std::string Preferences::*text = nullptr;
  int32_t Preferences::*integer = nullptr;
  bool Preferences::*onOff = nullptr;
  int savePosition = 0;
  int control = 0;  // an IDC_ identifier
  SettingShown shown = SettingShown::OwnCode;
  ValidValues valid;
};

constexpr Setting MakeSetting(const char* name, std::string Preferences::*field, int save, int control,
                              SettingShown shown, ValidValues valid) {
  return {name, SettingType::Text, field, nullptr, nullptr, save, control, shown, valid};
}
constexpr Setting MakeSetting(const char* name, int32_t Preferences::*field, int save, int control, SettingShown shown,
                              ValidValues valid) {
  return {name, SettingType::Integer, nullptr, field, nullptr, save, control, shown, valid};
}
constexpr Setting MakeSetting(const char* name, bool Preferences::*field, int save, int control, SettingShown shown,
                              ValidValues valid) {
  return {name, SettingType::OnOff, nullptr, nullptr, field, save, control, shown, valid};
}

// In load order.
inline constexpr Setting kSettings[] = {
#define VORLANE_SETTING_ROW(name, kind, fallback, save, control, shown, valid) \
  MakeSetting(#name, &Preferences::name, save, control, SettingShown::shown, valid),
    VORLANE_SETTINGS(VORLANE_SETTING_ROW)
#undef VORLANE_SETTING_ROW
};
inline constexpr size_t kSettingCount = std::size(kSettings);

// Where preferences live: named texts and 32-bit integers with the read rules
// of the registry (an absent value gives the default).
class PreferenceStore {
 public:
  virtual ~PreferenceStore() = default;
  virtual std::string ReadString(const std::string& name, const std::string& fallback) = 0;
  virtual int32_t ReadInteger(const std::string& name, int32_t fallback) = 0;
  virtual void WriteString(const std::string& name, const std::string& text) = 0;
  virtual void WriteInteger(const std::string& name, int32_t value) = 0;
};

// The record an empty store gives; currentPrinter is the PrintPrinter default.
Preferences DefaultPreferences(const std::string& currentPrinter);

// Reads every setting in load order, one that checks stored values outside
// its valid values as its default; the store keeps what it holds. currentPrinter is asked only when
// the store has no usable PrintPrinter text.
Preferences LoadPreferences(PreferenceStore& store, const std::function<std::string()>& currentPrinter);

// Writes every value, changed or not, in save order (on/off as 1 or 0).
void SavePreferences(PreferenceStore& store, const Preferences& values);
