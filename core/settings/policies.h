#pragma once
// Policies: values an administrator sets under the policy keys, in force over
// the user's own preferences. They have the preferences' names and types; a
// value of the wrong type, or outside what a preference allows, is no policy.
// The computer's policies win over the user's.
#include <array>
#include <string>

#include "core/settings/preferences.h"

// Under HKEY_LOCAL_MACHINE (the computer's) and HKEY_CURRENT_USER (the user's).
inline constexpr const char* kPolicyKey = "SOFTWARE\\Policies\\Telmaric\\Vorlane";

// DWORD 1: the tray menu has no Preferences, and nothing opens them.
inline constexpr const char* kDisablePreferencesPolicy = "DisablePreferences";

struct PoliciesInForce {
  std::array<bool, kSettingCount> settings{};  // by place in the settings table
  bool disablePreferences = false;

  bool Holds(const Setting& setting) const;
  bool Holds(const std::string& name) const;
  // Whether any setting is in force: the Preferences then say so.
  bool Any() const;

  bool operator==(const PoliciesInForce&) const = default;
};

// Puts the policies in force into the record, which holds the user's own
// preferences: for each setting the computer's value if it has a usable one,
// else the user's policy's. A policy store holds a value when it gives it
// whatever fallback it is asked with.
PoliciesInForce ApplyPolicies(Preferences& record, PreferenceStore& computer, PreferenceStore& user);
// The policies in force, without a record.
PoliciesInForce PoliciesNow(PreferenceStore& computer, PreferenceStore& user);

// The user's preferences as Apply writes them: every value but those in force
// by policy, so that the user's own choice is there again once the policy goes.
class UnmanagedStore final : public PreferenceStore {
 public:
  UnmanagedStore(PreferenceStore& store, const PoliciesInForce& policies) : store_(store), policies_(policies) {}

  std::string ReadString(const std::string& name, const std::string& fallback) override {
    return store_.ReadString(name, fallback);
  }
  int32_t ReadInteger(const std::string& name, int32_t fallback) override { return store_.ReadInteger(name, fallback); }
  void WriteString(const std::string& name, const std::string& text) override {
    if (!policies_.Holds(name)) store_.WriteString(name, text);
  }
  void WriteInteger(const std::string& name, int32_t value) override {
    if (!policies_.Holds(name)) store_.WriteInteger(name, value);
  }

 private:
  PreferenceStore& store_;
  const PoliciesInForce& policies_;
};

// Apply: writes the values into the user's own store but those that the
// policies read at this moment hold (PoliciesNow): they may have changed
// while the Preferences were open.
void SaveOwnPreferences(PreferenceStore& own, const Preferences& values, const PoliciesInForce& policiesNow);
