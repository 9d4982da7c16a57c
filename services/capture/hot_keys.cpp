#include "services/capture/hot_keys.h"

#include "base/system_text.h"
#include "core/settings/hot_key_settings.h"

namespace {

constexpr int kKeyNameLength = 256;
constexpr int kScanCodeShift = 16;
constexpr UINT kScanCodeMask = 0xFF;  // keeps the extended-key bit clear

}  // namespace

std::string SystemKeyNameOf(uint8_t virtualKey) {
  UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC) & kScanCodeMask;
  if (scanCode == 0) return {};
  wchar_t name[kKeyNameLength] = {};
  int length = GetKeyNameTextW(static_cast<LONG>(scanCode) << kScanCodeShift, name, kKeyNameLength);
  return Narrow(std::wstring_view(name, static_cast<size_t>(length > 0 ? length : 0)));
}

void RegisterHotKeys(HWND window, std::span<const HotKeyRegistration> hotKeys, const RefusalReport& report) {
  for (size_t place = 0; place < hotKeys.size(); ++place) {
    const HotKeyRegistration& each = hotKeys[place];
    const bool registered = RegisterHotKey(window, each.id, static_cast<UINT>(each.hotKey.Modifiers),
                                           static_cast<UINT>(each.hotKey.Key)) != FALSE;
    if (ShouldReportRefusal(registered, each.hotKey)) report(place, each.refusedText);
  }
}

void UnregisterHotKeys(HWND window) {
  // Removal of a key that was never registered fails harmlessly.
  for (const HotKeySetting& hotKey : kHotKeys) UnregisterHotKey(window, hotKey.id);
}
