#pragma once
// Registry operations. Each one opens its key, does one thing and closes the
// key again on every path; none reports an error to the user.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/preferences.h"

struct RegistryData {
  std::vector<BYTE> bytes;
  DWORD type = REG_NONE;
};

bool RegistryValueExists(HKEY root, const std::string& path, const std::string& name);
bool RegistryDeleteValue(HKEY root, const std::string& path, const std::string& name);
bool RegistryWriteData(HKEY root, const std::string& path, const std::string& name, DWORD type, const void* data,
                       int64_t size);
bool RegistryWriteString(HKEY root, const std::string& path, const std::string& name, const std::string& text);
bool RegistryWriteDword(HKEY root, const std::string& path, const std::string& name, int32_t value);
std::string RegistryReadString(HKEY root, const std::string& path, const std::string& name);
std::optional<RegistryData> RegistryReadData(HKEY root, const std::string& path, const std::string& name);
int32_t RegistryReadDword(HKEY root, const std::string& path, const std::string& name);

// The preferences key, written with its trailing backslash as the system gets it.
inline constexpr const char* kPreferencesKey = "SOFTWARE\\Telmaric\\Vorlane\\Preferences\\";

std::string ReadPrefString(const std::string& name, const std::string& fallback);
int32_t ReadPrefInteger(const std::string& name, int32_t fallback);
void WritePrefString(const std::string& name, const std::string& text);
void WritePrefInteger(const std::string& name, int32_t value);

// The preference accessors as the store that LoadPreferences and SavePreferences use.
class RegistryPreferenceStore final : public PreferenceStore {
 public:
  std::string ReadString(const std::string& name, const std::string& fallback) override {
    return ReadPrefString(name, fallback);
  }
  int32_t ReadInteger(const std::string& name, int32_t fallback) override { return ReadPrefInteger(name, fallback); }
  void WriteString(const std::string& name, const std::string& text) override { WritePrefString(name, text); }
  void WriteInteger(const std::string& name, int32_t value) override { WritePrefInteger(name, value); }
};

// The policies under one root (HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER): a
// value of another type than the one asked for, or an empty text, gives the
// fallback. Vorlane never writes a policy: writes go nowhere.
class RegistryPolicyStore final : public PreferenceStore {
 public:
  explicit RegistryPolicyStore(HKEY root) : root_(root) {}
  std::string ReadString(const std::string& name, const std::string& fallback) override;
  int32_t ReadInteger(const std::string& name, int32_t fallback) override;
  void WriteString(const std::string&, const std::string&) override {}
  void WriteInteger(const std::string&, int32_t) override {}

 private:
  HKEY root_;
};

// Start with Windows: the value "Vorlane" under the current user's Run key.
inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kRunValue = "Vorlane";

bool StartWithWindowsExists();
void AddStartWithWindows(const std::string& executablePath);
void RemoveStartWithWindows();
