#include "core/settings/preferences.h"

#include <algorithm>

namespace {

// The places in the save order need not follow each other without a gap.
constexpr int kLastSavePosition = std::ranges::max(kSettings, {}, &Setting::savePosition).savePosition;

constexpr bool SavePositionsArePlaces() {
  bool taken[kLastSavePosition + 1] = {};
  for (const Setting& setting : kSettings) {
    const int place = setting.savePosition;
    if (place < 0 || taken[place]) return false;
    taken[place] = true;
  }
  return true;
}
static_assert(SavePositionsArePlaces(), "each setting has a place of its own in the save order");

constexpr bool ListValuesHaveChoices() {
  for (const Setting& setting : kSettings) {
    const auto listed = [&setting](const SettingChoices& choices) { return choices.field == setting.integer; };
    if (setting.shown == SettingShown::ListValue && std::ranges::none_of(kSettingChoices, listed)) return false;
  }
  return true;
}
static_assert(ListValuesHaveChoices(), "a list of values has its values in kSettingChoices");

}  // namespace

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
      case SettingType::Integer:
        record.*setting.integer = store.ReadInteger(setting.name, defaults.*setting.integer);
        break;
      case SettingType::OnOff:
        record.*setting.onOff = store.ReadInteger(setting.name, defaults.*setting.onOff ? 1 : 0) == 1;
        break;
    }
  }
  for (const SettingRange& range : kSettingRanges) {
    int32_t& value = record.*range.field;
    if (value < range.lowest || value > range.highest) value = defaults.*range.field;
  }
  for (const SettingChoices& choices : kSettingChoices) {
    int32_t& value = record.*choices.field;
    if (std::ranges::find(choices.values, value) == choices.values.end()) value = defaults.*choices.field;
  }
  // The current printer is looked up only when nothing usable is stored.
  if (record.PrintPrinter.empty()) record.PrintPrinter = currentPrinter();
  return record;
}

void SavePreferences(PreferenceStore& store, const Preferences& values) {
  for (int place = 0; place <= kLastSavePosition; ++place) {
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
