#include "services/settings/registry.h"

#include <cstring>

#include "base/owners.h"
#include "base/system_text.h"
#include "core/settings/policies.h"

namespace {

owners::Key OpenKey(HKEY root, const std::string& path, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, Wide(path).c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
  return owners::Key(key);
}

}  // namespace

bool RegistryValueExists(HKEY root, const std::string& path, const std::string& name) {
  owners::Key key = OpenKey(root, path, KEY_READ);
  return key && RegQueryValueExW(key.get(), Wide(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegistryDeleteValue(HKEY root, const std::string& path, const std::string& name) {
  owners::Key key = OpenKey(root, path, KEY_WRITE);
  return key && RegDeleteValueW(key.get(), Wide(name).c_str()) == ERROR_SUCCESS;
}

bool RegistryWriteData(HKEY root, const std::string& path, const std::string& name, DWORD type, const void* data,
                       int64_t size) {
  if (size < 0 || size > MAXDWORD) return false;
  HKEY created = nullptr;
  if (RegCreateKeyExW(root, Wide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &created,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  owners::Key key(created);
  return RegSetValueExW(key.get(), Wide(name).c_str(), 0, type, static_cast<const BYTE*>(data),
                        static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

// Stored as UTF-16 with its terminator, as every version has stored its texts.
bool RegistryWriteString(HKEY root, const std::string& path, const std::string& name, const std::string& text) {
  const std::wstring wide = Wide(text);
  return RegistryWriteData(root, path, name, REG_SZ, wide.c_str(),
                           (static_cast<int64_t>(wide.size()) + 1) * static_cast<int64_t>(sizeof(wchar_t)));
}

bool RegistryWriteDword(HKEY root, const std::string& path, const std::string& name, int32_t value) {
  return RegistryWriteData(root, path, name, REG_DWORD, &value, sizeof value);
}

std::string RegistryReadString(HKEY root, const std::string& path, const std::string& name) {
  const std::optional<RegistryData> data = RegistryReadData(root, path, name);
  if (!data || data->type != REG_SZ) return {};
  // The text ends at its first NUL: a value stored without a terminator keeps
  // its last character, one with an embedded NUL cannot smuggle characters
  // past it, and an odd last byte is no character.
  std::wstring text(data->bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), data->bytes.data(), text.size() * sizeof(wchar_t));
  return Narrow(std::wstring_view(text).substr(0, text.find(L'\0')));
}

std::optional<RegistryData> RegistryReadData(HKEY root, const std::string& path, const std::string& name) {
  owners::Key key = OpenKey(root, path, KEY_READ);
  if (!key) return std::nullopt;
  DWORD size = 0;
  const std::wstring wideName = Wide(name);
  if (RegQueryValueExW(key.get(), wideName.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size == 0) {
    return std::nullopt;
  }
  RegistryData data;
  data.bytes.resize(size);
  if (RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &data.type, data.bytes.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.bytes.resize(size);
  return data;
}

int32_t RegistryReadDword(HKEY root, const std::string& path, const std::string& name) {
  std::optional<RegistryData> data = RegistryReadData(root, path, name);
  if (!data || data->type != REG_DWORD || data->bytes.size() < 4) return 0;
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | data->bytes[i];
  return static_cast<int32_t>(value);
}

std::string ReadPrefString(const std::string& name, const std::string& fallback) {
  std::string text = RegistryReadString(HKEY_CURRENT_USER, kPreferencesKey, name);
  return text.empty() ? fallback : text;
}

int32_t ReadPrefInteger(const std::string& name, int32_t fallback) {
  if (!RegistryValueExists(HKEY_CURRENT_USER, kPreferencesKey, name)) return fallback;
  return RegistryReadDword(HKEY_CURRENT_USER, kPreferencesKey, name);
}

// A failed write is shown by the reload that follows every save.
void WritePrefString(const std::string& name, const std::string& text) {
  (void)RegistryWriteString(HKEY_CURRENT_USER, kPreferencesKey, name, text);
}

void WritePrefInteger(const std::string& name, int32_t value) {
  (void)RegistryWriteDword(HKEY_CURRENT_USER, kPreferencesKey, name, value);
}

std::string RegistryPolicyStore::ReadString(const std::string& name, const std::string& fallback) {
  const std::string text = RegistryReadString(root_, kPolicyKey, name);
  return text.empty() ? fallback : text;
}

int32_t RegistryPolicyStore::ReadInteger(const std::string& name, int32_t fallback) {
  const std::optional<RegistryData> data = RegistryReadData(root_, kPolicyKey, name);
  if (!data || data->type != REG_DWORD || data->bytes.size() != sizeof(DWORD)) return fallback;
  return RegistryReadDword(root_, kPolicyKey, name);
}

bool StartWithWindowsExists() { return RegistryValueExists(HKEY_CURRENT_USER, kRunKey, kRunValue); }

// The tray menu's check mark shows the real state again at the next load.
void AddStartWithWindows(const std::string& executablePath) {
  (void)RegistryWriteString(HKEY_CURRENT_USER, kRunKey, kRunValue, executablePath);
}

void RemoveStartWithWindows() { (void)RegistryDeleteValue(HKEY_CURRENT_USER, kRunKey, kRunValue); }
