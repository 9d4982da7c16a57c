#pragma once
// The settings record, its defaults, and the order in which it is loaded from
// and saved to a store. The store is the registry in the program and a map in
// the tests.
#include <cstdint>
#include <functional>
#include <string>

struct Preferences {
  std::string Language;
  int32_t ShortcutShiftEntireScreen = 0;
  int32_t ShortcutKeyEntireScreen = 0;
  int32_t ShortcutShiftActiveWindow = 0;
  int32_t ShortcutKeyActiveWindow = 0;
  int32_t DefaultAction = 0;
  int32_t WatermarkLocation = 0;
  std::string WatermarkText;
  std::string WatermarkFontName;
  int32_t WatermarkFontSize = 0;
  int32_t WatermarkFontStyle = 0;
  int32_t WatermarkFontColor = 0;
  int32_t WatermarkFontTransparency = 0;
  bool WatermarkMake = false;
  int32_t TimerDelay = 0;
  bool TimerDelayedCapture = false;
  int32_t TimerNumberOfShots = 0;
  int32_t TimerInterval = 0;
  bool TimerSeveralShots = false;
  bool PrintFitToPage = false;
  int32_t PrintPagePosition = 0;
  std::string PrintPrinter;
};

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

enum class SettingKind { Text, Integer, OnOff };

// One row per stored value, in load order. The value name is the field name.
struct Setting {
  const char* name;
  SettingKind kind;
  std::string Preferences::*text;
  int32_t Preferences::*integer;
  bool Preferences::*onOff;
  int32_t defaultNumber;    // Integer and OnOff
  const char* defaultText;  // Text; nullptr for PrintPrinter, whose default is the current printer
};

extern const Setting kSettings[22];
// Value names in the order in which a save writes them.
extern const char* const kSaveOrder[22];

const Setting* FindSetting(const std::string& name);

// The record an empty store gives; currentPrinter is the PrintPrinter default.
Preferences DefaultPreferences(const std::string& currentPrinter);

// Reads every setting in table order. currentPrinter is asked only when the
// store has no usable PrintPrinter text, at the moment that value is read.
Preferences LoadPreferences(PreferenceStore& store, const std::function<std::string()>& currentPrinter);

// Writes every value, changed or not, in save order (on/off as 1 or 0).
void SavePreferences(PreferenceStore& store, const Preferences& values);
