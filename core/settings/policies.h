#pragma once
// Policies: values an administrator sets under the policy keys, in force over
// the user's own preferences. They have the preferences' names and types.

// Under HKEY_LOCAL_MACHINE (the computer's) and HKEY_CURRENT_USER (the user's).
inline constexpr const char* kPolicyKey = "SOFTWARE\\Policies\\Telmaric\\Vorlane";

// DWORD 1: the tray menu has no Preferences, and nothing opens them.
inline constexpr const char* kDisablePreferencesPolicy = "DisablePreferences";
