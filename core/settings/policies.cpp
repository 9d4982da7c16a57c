#include "core/settings/policies.h"

#include <algorithm>
#include <optional>

namespace {

// Two fallbacks that no store gives for a value it holds: a store that
// answers both with the same value holds that value.
constexpr const char* kNoText = "";
constexpr const char* kOtherNoText = "\x01";

std::optional<std::string> HeldText(PreferenceStore& store, const std::string& name) {
  std::string text = store.ReadString(name, kNoText);
  if (text != store.ReadString(name, kOtherNoText)) return std::nullopt;
  return text;
}

std::optional<int32_t> HeldInteger(PreferenceStore& store, const std::string& name) {
  const int32_t value = store.ReadInteger(name, 0);
  if (value != store.ReadInteger(name, 1)) return std::nullopt;
  return value;
}

bool IsOnOff(int32_t value) { return kOnOff.Holds(value); }

// Takes the store's value of the setting if it holds a usable one.
bool Take(PreferenceStore& store, const Setting& setting, Preferences& record) {
  switch (setting.type) {
    case SettingType::Text: {
      const std::optional<std::string> text = HeldText(store, setting.name);
      if (!text) return false;
      record.*setting.text = *text;
      return true;
    }
    case SettingType::Integer: {
      const std::optional<int32_t> value = HeldInteger(store, setting.name);
      if (!value || !setting.valid.Holds(*value)) return false;
      record.*setting.integer = *value;
      return true;
    }
    case SettingType::OnOff: {
      const std::optional<int32_t> value = HeldInteger(store, setting.name);
      if (!value || !setting.valid.Holds(*value)) return false;
      record.*setting.onOff = *value == 1;
      return true;
    }
  }
  return false;
}

}  // namespace

bool PoliciesInForce::Holds(const Setting& setting) const {
  for (size_t i = 0; i < kSettingCount; ++i) {
    if (&kSettings[i] == &setting) return settings[i];
  }
  return false;
}

bool PoliciesInForce::Holds(const std::string& name) const {
  for (size_t i = 0; i < kSettingCount; ++i) {
    if (kSettings[i].name == name) return settings[i];
  }
  return false;
}

bool PoliciesInForce::Any() const { return std::ranges::find(settings, true) != settings.end(); }

PoliciesInForce ApplyPolicies(Preferences& record, PreferenceStore& computer, PreferenceStore& user) {
  PoliciesInForce policies;
  for (size_t i = 0; i < kSettingCount; ++i) {
    policies.settings[i] = Take(computer, kSettings[i], record) || Take(user, kSettings[i], record);
  }
  for (PreferenceStore* store : {&computer, &user}) {
    const std::optional<int32_t> disable = HeldInteger(*store, kDisablePreferencesPolicy);
    if (disable && IsOnOff(*disable)) {
      policies.disablePreferences = *disable == 1;
      break;
    }
  }
  return policies;
}

PoliciesInForce PoliciesNow(PreferenceStore& computer, PreferenceStore& user) {
  Preferences unused;
  return ApplyPolicies(unused, computer, user);
}

void SaveOwnPreferences(PreferenceStore& own, const Preferences& values, const PoliciesInForce& policiesNow) {
  UnmanagedStore unmanaged(own, policiesNow);
  SavePreferences(unmanaged, values);
}
