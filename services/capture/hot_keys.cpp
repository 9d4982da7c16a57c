#include "services/capture/hot_keys.h"

#include "base/error_box.h"
#include "base/system_text.h"

namespace {

constexpr int kKeyNameLength = 256;
constexpr int kScanCodeShift = 16;
constexpr UINT kScanCodeMask = 0xFF;  // keeps the extended-key bit clear

void RegisterOne(HWND window, int id, const HotKey& hotKey, const std::string& refusedText,
                 const RefusalReport& report) {
  bool registered =
      RegisterHotKey(window, id, static_cast<UINT>(hotKey.Modifiers), static_cast<UINT>(hotKey.Key)) != FALSE;
  if (ShouldReportRefusal(registered, hotKey)) report(refusedText);
}

}  // namespace

std::string SystemKeyNameOf(uint8_t virtualKey) {
  UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC) & kScanCodeMask;
  if (scanCode == 0) return {};
  wchar_t name[kKeyNameLength] = {};
  int length = GetKeyNameTextW(static_cast<LONG>(scanCode << kScanCodeShift), name, kKeyNameLength);
  return Narrow(std::wstring_view(name, static_cast<size_t>(length > 0 ? length : 0)));
}

void RegisterHotKeys(HWND window, const HotKey& entireScreen, const HotKey& activeWindow,
                     const std::string& entireRefusedText, const std::string& activeRefusedText,
                     const RefusalReport& report) {
  RegisterOne(window, kEntireScreenHotKeyId, entireScreen, entireRefusedText, report);
  RegisterOne(window, kActiveWindowHotKeyId, activeWindow, activeRefusedText, report);
}

void RegisterHotKeys(HWND window, const HotKey& entireScreen, const HotKey& activeWindow,
                     const std::string& entireRefusedText, const std::string& activeRefusedText) {
  RegisterHotKeys(window, entireScreen, activeWindow, entireRefusedText, activeRefusedText,
                  [window](const std::string& text) { ShowMessage(window, text); });
}

void UnregisterHotKeys(HWND window) {
  // Removal of a key that was never registered fails harmlessly.
  UnregisterHotKey(window, kEntireScreenHotKeyId);
  UnregisterHotKey(window, kActiveWindowHotKeyId);
}
