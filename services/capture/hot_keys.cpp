#include "services/capture/hot_keys.h"

#include "base/error_box.h"
#include "base/system_text.h"

namespace {

constexpr int kKeyNameLength = 256;
constexpr int kScanCodeShift = 16;
constexpr UINT kScanCodeMask = 0xFF;  // keeps the extended-key bit clear

constexpr int kHotKeyIds[] = {kEntireScreenHotKeyId, kActiveWindowHotKeyId, kRegionHotKeyId};

}  // namespace

std::string SystemKeyNameOf(uint8_t virtualKey) {
  UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC) & kScanCodeMask;
  if (scanCode == 0) return {};
  wchar_t name[kKeyNameLength] = {};
  int length = GetKeyNameTextW(static_cast<LONG>(scanCode) << kScanCodeShift, name, kKeyNameLength);
  return Narrow(std::wstring_view(name, static_cast<size_t>(length > 0 ? length : 0)));
}

void RegisterHotKeys(HWND window, std::span<const HotKeyRegistration> hotKeys, const RefusalReport& report) {
  for (const HotKeyRegistration& each : hotKeys) {
    const bool registered = RegisterHotKey(window, each.id, static_cast<UINT>(each.hotKey.Modifiers),
                                           static_cast<UINT>(each.hotKey.Key)) != FALSE;
    if (ShouldReportRefusal(registered, each.hotKey)) report(each.refusedText);
  }
}

void RegisterHotKeys(HWND window, std::span<const HotKeyRegistration> hotKeys) {
  RegisterHotKeys(window, hotKeys, [window](const std::string& text) { ShowMessage(window, text); });
}

void UnregisterHotKeys(HWND window) {
  // Removal of a key that was never registered fails harmlessly.
  for (int id : kHotKeyIds) UnregisterHotKey(window, id);
}
