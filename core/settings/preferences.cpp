#include "core/settings/preferences.h"

#include <cstring>

namespace {

using P = Preferences;

constexpr Setting Text(const char* name, std::string P::*field, const char* fallback) {
  return {name, SettingKind::Text, field, nullptr, nullptr, 0, fallback};
}
constexpr Setting Integer(const char* name, int32_t P::*field, int32_t fallback) {
  return {name, SettingKind::Integer, nullptr, field, nullptr, fallback, nullptr};
}
constexpr Setting OnOff(const char* name, bool P::*field, bool fallback) {
  return {name, SettingKind::OnOff, nullptr, nullptr, field, fallback ? 1 : 0, nullptr};
}

}  // namespace

const Setting kSettings[22] = {
    Text("Language", &P::Language, "English"),
    Integer("ShortcutShiftEntireScreen", &P::ShortcutShiftEntireScreen, 6),  // Ctrl+Shift
    Integer("ShortcutKeyEntireScreen", &P::ShortcutKeyEntireScreen, 0x2C),   // Print Screen
    Integer("ShortcutShiftActiveWindow", &P::ShortcutShiftActiveWindow, 5),  // Alt+Shift
    Integer("ShortcutKeyActiveWindow", &P::ShortcutKeyActiveWindow, 0x2C),
    Integer("DefaultAction", &P::DefaultAction, 1),  // open Preferences
    Integer("WatermarkLocation", &P::WatermarkLocation, 0),
    Text("WatermarkText", &P::WatermarkText, "%DATE% %TIME%"),
    Text("WatermarkFontName", &P::WatermarkFontName, ""),
    Integer("WatermarkFontSize", &P::WatermarkFontSize, 12),
    Integer("WatermarkFontStyle", &P::WatermarkFontStyle, 0),
    Integer("WatermarkFontColor", &P::WatermarkFontColor, 0),
    Integer("WatermarkFontTransparency", &P::WatermarkFontTransparency, 0),
    OnOff("WatermarkMake", &P::WatermarkMake, false),
    Integer("TimerDelay", &P::TimerDelay, 1),
    OnOff("TimerDelayedCapture", &P::TimerDelayedCapture, false),
    Integer("TimerNumberOfShots", &P::TimerNumberOfShots, 1),
    Integer("TimerInterval", &P::TimerInterval, 1),
    OnOff("TimerSeveralShots", &P::TimerSeveralShots, false),
    OnOff("PrintFitToPage", &P::PrintFitToPage, true),
    Integer("PrintPagePosition", &P::PrintPagePosition, 4),  // Center
    Text("PrintPrinter", &P::PrintPrinter, nullptr),
};

const char* const kSaveOrder[22] = {
    "Language",          "ShortcutShiftEntireScreen", "ShortcutKeyEntireScreen",
    "ShortcutShiftActiveWindow", "ShortcutKeyActiveWindow", "DefaultAction",
    "WatermarkMake",     "WatermarkLocation",        "WatermarkText",
    "WatermarkFontName", "WatermarkFontSize",        "WatermarkFontStyle",
    "WatermarkFontColor", "WatermarkFontTransparency", "PrintFitToPage",
    "PrintPagePosition", "PrintPrinter",             "TimerDelay",
    "TimerDelayedCapture", "TimerNumberOfShots",     "TimerInterval",
    "TimerSeveralShots",
};

const Setting* FindSetting(const std::string& name) {
  for (const Setting& setting : kSettings) {
    if (name == setting.name) return &setting;
  }
  return nullptr;
}

Preferences DefaultPreferences(const std::string& currentPrinter) {
  Preferences record;
  for (const Setting& setting : kSettings) {
    switch (setting.kind) {
      case SettingKind::Text:
        record.*setting.text = setting.defaultText ? setting.defaultText : currentPrinter;
        break;
      case SettingKind::Integer:
        record.*setting.integer = setting.defaultNumber;
        break;
      case SettingKind::OnOff:
        record.*setting.onOff = setting.defaultNumber == 1;
        break;
    }
  }
  return record;
}

Preferences LoadPreferences(PreferenceStore& store, const std::function<std::string()>& currentPrinter) {
  Preferences record;
  for (const Setting& setting : kSettings) {
    switch (setting.kind) {
      case SettingKind::Text:
        if (setting.defaultText) {
          record.*setting.text = store.ReadString(setting.name, setting.defaultText);
        } else {
          // The current printer is looked up only when nothing usable is stored.
          std::string stored = store.ReadString(setting.name, "");
          record.*setting.text = stored.empty() ? currentPrinter() : stored;
        }
        break;
      case SettingKind::Integer:
        record.*setting.integer = store.ReadInteger(setting.name, setting.defaultNumber);
        break;
      case SettingKind::OnOff:
        record.*setting.onOff = store.ReadInteger(setting.name, setting.defaultNumber) == 1;
        break;
    }
  }
  return record;
}

void SavePreferences(PreferenceStore& store, const Preferences& values) {
  for (const char* name : kSaveOrder) {
    const Setting& setting = *FindSetting(name);
    switch (setting.kind) {
      case SettingKind::Text:
        store.WriteString(setting.name, values.*setting.text);
        break;
      case SettingKind::Integer:
        store.WriteInteger(setting.name, values.*setting.integer);
        break;
      case SettingKind::OnOff:
        store.WriteInteger(setting.name, values.*setting.onOff ? 1 : 0);
        break;
    }
  }
}
