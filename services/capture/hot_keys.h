#pragma once
// The system-wide hot keys of the main window and the system's key names.
#include <windows.h>

#include <functional>
#include <span>
#include <string>

#include "base/system_text.h"
#include "core/capture/key_names.h"

inline constexpr int kEntireScreenHotKeyId = 1;
inline constexpr int kActiveWindowHotKeyId = 2;
inline constexpr int kRegionHotKeyId = 3;

// One hot key of the window: its identifier, its definition, and the text
// that reports a refusal.
struct HotKeyRegistration {
  int id;
  HotKey hotKey;
  std::string refusedText;
};

// The name the system gives the key's scan code with the extended bit clear;
// empty when the key has no scan code.
std::string SystemKeyNameOf(uint8_t virtualKey);

// Shows the text of a refused registration.
using RefusalReport = std::function<void(const std::string& text)>;

// Registers the hot keys on the window in their order, each whatever became
// of the ones before; each refusal of a definition that names something is
// reported with its text. Nothing is retried.
void RegisterHotKeys(HWND window, std::span<const HotKeyRegistration> hotKeys, const RefusalReport& report);
// The same, reporting in a message box captioned with the program's title.
void RegisterHotKeys(HWND window, std::span<const HotKeyRegistration> hotKeys);

// Removes the window's hot keys 1, 2 and 3.
void UnregisterHotKeys(HWND window);
