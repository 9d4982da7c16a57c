#pragma once
// The settings record, declared once: each setting with its registry value
// name, type, default, place in the save order and the control that shows it.
// The record's fields, loading, saving, showing and collecting are all made
// from this one list. The store is the registry in the program and a map in
// the tests.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <span>
#include <string>

#include "core/capture/screen_choice.h"
#include "core/output/page_geometry.h"
#include "resources/resource.h"

enum class SettingType { Text, Integer, OnOff };

// How the Preferences window shows a setting.
enum class SettingShown {
  Check,          // a check box, ticked when on
  Edit,           // an edit field holding the text
  Number,         // a number field; a text that is no integer collects as 0
  Count,          // a number field; a text that is no integer collects as 1
  ListIndex,      // the selected index of a list; none collects as -1
  ListValue,      // the value kSettingChoices gives the selected item of a list; none collects as the default
  TrackBar,       // the position of a track bar
  ModifierBoxes,  // the four boxes Ctrl, Alt, Shift, Win: four identifiers from the one given
  KeyList,        // the key list, by the key's name
  OwnCode,        // shown and collected by code of its own: the language, the font, the colour, the printer
};

// X(name, type, default, save position, control, shown as), in load order.
// The name is the registry value's and the record field's.
// clang-format off
#define VORLANE_SETTINGS(X) \
  X(Language, Text, "English", 0, IDC_LANGUAGE, OwnCode) \
  X(ShortcutShiftEntireScreen, Integer, 6 /* Ctrl+Shift */, 1, IDC_ENTIRE_SCREEN_CTRL, ModifierBoxes) \
  X(ShortcutKeyEntireScreen, Integer, 0x2C /* Print Screen */, 2, IDC_ENTIRE_SCREEN_KEY, KeyList) \
  X(ShortcutShiftActiveWindow, Integer, 5 /* Alt+Shift */, 3, IDC_ACTIVE_WINDOW_CTRL, ModifierBoxes) \
  X(ShortcutKeyActiveWindow, Integer, 0x2C, 4, IDC_ACTIVE_WINDOW_KEY, KeyList) \
  X(ShortcutShiftRegion, Integer, 4 /* Shift */, 28, IDC_REGION_CTRL, ModifierBoxes) \
  X(ShortcutKeyRegion, Integer, 0x2C, 29, IDC_REGION_KEY, KeyList) \
  X(DefaultAction, Integer, 1 /* 0 the entire screen, 1 open the Preferences, 2 a region */, 5, IDC_DEFAULT_ACTION, ListIndex) \
  X(CaptureScreen, Integer, 0 /* the primary screen */, 25, IDC_CAPTURE_SCREEN, ListIndex) \
  X(WatermarkLocation, Integer, 0, 7, IDC_WATERMARK_CORNER, ListIndex) \
  X(WatermarkText, Text, "%DATE% %TIME%", 8, IDC_WATERMARK_TEXT, Edit) \
  X(WatermarkFontName, Text, "", 9, IDC_WATERMARK_FONT, OwnCode) \
  X(WatermarkFontSize, Integer, 12, 10, IDC_WATERMARK_FONT, OwnCode) \
  X(WatermarkFontStyle, Integer, 0, 11, IDC_WATERMARK_FONT, OwnCode) \
  X(WatermarkFontColor, Integer, 0, 12, IDC_COLOR_SWATCH, OwnCode) \
  X(WatermarkFontTransparency, Integer, 0, 13, IDC_TRANSPARENCY, TrackBar) \
  X(WatermarkMake, OnOff, false, 6, IDC_MAKE_WATERMARK, Check) \
  X(TimerDelay, Integer, 1, 17, IDC_DELAY, Number) \
  X(TimerDelayedCapture, OnOff, false, 18, IDC_DELAYED_CAPTURE, Check) \
  X(TimerNumberOfShots, Integer, 1, 19, IDC_NUMBER_OF_SHOTS, Count) \
  X(TimerInterval, Integer, 1, 20, IDC_INTERVAL, Number) \
  X(TimerSeveralShots, OnOff, false, 21, IDC_SEVERAL_SHOTS, Check) \
  X(PrintShotsPerPage, Integer, 1, 32, IDC_SHOTS_PER_PAGE, ListValue) \
  X(PrintFitToPage, OnOff, true, 14, IDC_FIT_TO_PAGE, Check) \
  X(PrintPagePosition, Integer, 4 /* Center */, 15, IDC_PAGE_POSITION, ListIndex) \
  X(PrintOrientation, Integer, 0 /* as the printer is set */, 22, IDC_ORIENTATION, ListIndex) \
  X(PrintCopies, Integer, 1, 23, IDC_COPIES, Count) \
  X(PrintGrayscale, OnOff, false, 24, IDC_GRAYSCALE, Check) \
  X(CaptureMousePointer, OnOff, false, 30, IDC_CAPTURE_MOUSE_POINTER, Check) \
  X(FilePrinterAutoSave, OnOff, true, 26, IDC_FILE_PRINTER_AUTOSAVE, Check) \
  X(FilePrinterFolder, Text, "" /* Vorlane in the user's Documents */, 27, IDC_FILE_PRINTER_FOLDER, Edit) \
  X(PrintPrinter, Text, "" /* the current printer */, 16, IDC_PRINTER, OwnCode)
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
  const char* name;
  SettingType type;
  // The field, by type.
  std::string Preferences::*text;
  int32_t Preferences::*integer;
  bool Preferences::*onOff;
  int savePosition;
  int control;  // an IDC_ identifier
  SettingShown shown;
};

constexpr Setting MakeSetting(const char* name, std::string Preferences::*field, int save, int control,
                              SettingShown shown) {
  return {name, SettingType::Text, field, nullptr, nullptr, save, control, shown};
}
constexpr Setting MakeSetting(const char* name, int32_t Preferences::*field, int save, int control,
                              SettingShown shown) {
  return {name, SettingType::Integer, nullptr, field, nullptr, save, control, shown};
}
constexpr Setting MakeSetting(const char* name, bool Preferences::*field, int save, int control, SettingShown shown) {
  return {name, SettingType::OnOff, nullptr, nullptr, field, save, control, shown};
}

// In load order.
inline constexpr Setting kSettings[] = {
#define VORLANE_SETTING_ROW(name, kind, fallback, save, control, shown) \
  MakeSetting(#name, &Preferences::name, save, control, SettingShown::shown),
    VORLANE_SETTINGS(VORLANE_SETTING_ROW)
#undef VORLANE_SETTING_ROW
};
inline constexpr size_t kSettingCount = std::size(kSettings);

inline constexpr int32_t kPrintCopiesMax = 99;

// Integers whose stored value outside lowest..highest loads as the default.
struct SettingRange {
  int32_t Preferences::*field;
  int32_t lowest;
  int32_t highest;
};
inline constexpr SettingRange kSettingRanges[] = {
    {&Preferences::PrintOrientation, 0, kPrintOrientationCount - 1},
    {&Preferences::PrintCopies, 1, kPrintCopiesMax},
    {&Preferences::CaptureScreen, 0, kCaptureScreenCount - 1},
};

// Integers that take one of a few values, those of their list's items in
// order; a stored value not among them loads as the default.
struct SettingChoices {
  int32_t Preferences::*field;
  std::span<const int32_t> values;
};
inline constexpr SettingChoices kSettingChoices[] = {
    {&Preferences::PrintShotsPerPage, kShotsPerPageChoices},
};

// The values a setting takes; nullptr for one that takes any.
constexpr const SettingChoices* ChoicesOf(int32_t Preferences::*field) {
  for (const SettingChoices& choices : kSettingChoices) {
    if (field && choices.field == field) return &choices;
  }
  return nullptr;
}

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

// Reads every setting in load order, a ranged one outside its range as its
// default; the store keeps what it holds. currentPrinter is asked only when
// the store has no usable PrintPrinter text.
Preferences LoadPreferences(PreferenceStore& store, const std::function<std::string()>& currentPrinter);

// Writes every value, changed or not, in save order (on/off as 1 or 0).
void SavePreferences(PreferenceStore& store, const Preferences& values);
