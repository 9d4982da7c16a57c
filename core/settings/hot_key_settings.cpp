#include "core/settings/hot_key_settings.h"

#include <algorithm>

HotKey HotKeyOf(const HotKeySetting& hotKey, const Preferences& settings) {
  return {settings.*hotKey.modifiers, settings.*hotKey.key};
}

HotKeyDefinitions HotKeysOf(const Preferences& settings) {
  HotKeyDefinitions definitions;
  std::ranges::transform(kHotKeys, definitions.begin(),
                         [&settings](const HotKeySetting& hotKey) { return HotKeyOf(hotKey, settings); });
  return definitions;
}

const HotKeySetting* HotKeyWithId(int id) {
  const auto found = std::ranges::find(kHotKeys, id, &HotKeySetting::id);
  return found == std::end(kHotKeys) ? nullptr : found;
}

const HotKeySetting* HotKeyWithCommand(int command) {
  const auto found = std::ranges::find(kHotKeys, command, &HotKeySetting::command);
  return found == std::end(kHotKeys) ? nullptr : found;
}

bool FixedByPolicy(const HotKeySetting& hotKey, const PoliciesInForce& policies) {
  const auto held = [&policies](int32_t Preferences::*field) {
    return std::ranges::any_of(kSettings, [&](const Setting& s) { return s.integer == field && policies.Holds(s); });
  };
  return held(hotKey.modifiers) && held(hotKey.key);
}

bool RefusalReports::ShouldReport(size_t row, const HotKey& hotKey, bool fixed) {
  if (!fixed) return true;
  if (reportedFixed_.at(row) == hotKey) return false;
  reportedFixed_.at(row) = hotKey;
  return true;
}
