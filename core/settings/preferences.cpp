#include "core/settings/preferences.h"

namespace {

constexpr bool SavePositionsArePlaces() {
  bool taken[kSettingCount] = {};
  for (const Setting& setting : kSettings) {
    const auto place = static_cast<size_t>(setting.savePosition);
    if (place >= kSettingCount || taken[place]) return false;
    taken[place] = true;
  }
  return true;
}
static_assert(SavePositionsArePlaces(), "each setting has a place of its own in the save order");

constexpr bool ListValuesHaveTheirValues() {
  return std::ranges::none_of(kSettings, [](const Setting& setting) {
    return setting.shown == SettingShown::ListValue && setting.valid.only.empty();
  });
}
static_assert(ListValuesHaveTheirValues(), "a list of values has its values in the settings table (OneOf)");

}  // namespace

bool ValidValues::Holds(int32_t value) const {
  if (value < lowest || value > highest) return false;
  if (!only.empty() && std::ranges::find(only, value) == only.end()) return false;
  return !keyCode || KeyListOffers(value);
}

Preferences DefaultPreferences(const std::string& currentPrinter) {
  Preferences record;
  record.PrintPrinter = currentPrinter;
  return record;
}

Preferences LoadPreferences(PreferenceStore& store, const std::function<std::string()>& currentPrinter) {
  const Preferences defaults;
  Preferences record;
  for (const Setting& setting : kSettings) {
    switch (setting.type) {
      case SettingType::Text:
        record.*setting.text = store.ReadString(setting.name, defaults.*setting.text);
        break;
      case SettingType::Integer: {
        const int32_t value = store.ReadInteger(setting.name, defaults.*setting.integer);
        const bool kept = !setting.valid.checksStored || setting.valid.Holds(value);
        record.*setting.integer = kept ? value : defaults.*setting.integer;
        break;
      }
      case SettingType::OnOff:
        record.*setting.onOff = store.ReadInteger(setting.name, defaults.*setting.onOff ? 1 : 0) == 1;
        break;
    }
  }
  // The current printer is looked up only when nothing usable is stored.
  if (record.PrintPrinter.empty()) record.PrintPrinter = currentPrinter();
  return record;
}

void SavePreferences(PreferenceStore& store, const Preferences& values) {
  for (int place = 0; place < static_cast<int>(kSettingCount); ++place) {
    for (const Setting& setting : kSettings) {
      if (setting.savePosition != place) continue;
      switch (setting.type) {
        case SettingType::Text:
          store.WriteString(setting.name, values.*setting.text);
          break;
        case SettingType::Integer:
          store.WriteInteger(setting.name, values.*setting.integer);
          break;
        case SettingType::OnOff:
          store.WriteInteger(setting.name, values.*setting.onOff ? 1 : 0);
          break;
      }
    }
  }
}
