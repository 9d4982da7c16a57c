#pragma once
// The two system-wide hot keys of the main window and the system's key names.
#include <windows.h>

#include <functional>
#include <string>

#include "base/system_text.h"
#include "core/capture/key_names.h"

inline constexpr int kEntireScreenHotKeyId = 1;
inline constexpr int kActiveWindowHotKeyId = 2;

// The name the system gives the key's scan code with the extended bit clear;
// empty when the key has no scan code.
std::string SystemKeyNameOf(uint8_t virtualKey);

// Shows the text of a refused registration.
using RefusalReport = std::function<void(const std::string& text)>;

// Registers identifier 1, then 2, on the window; each refusal of a definition
// that names something is reported with its text. Nothing is retried.
void RegisterHotKeys(HWND window, const HotKey& entireScreen, const HotKey& activeWindow,
                     const std::string& entireRefusedText, const std::string& activeRefusedText,
                     const RefusalReport& report);
// The same, reporting in a message box captioned with the program's title.
void RegisterHotKeys(HWND window, const HotKey& entireScreen, const HotKey& activeWindow,
                     const std::string& entireRefusedText, const std::string& activeRefusedText);

void UnregisterHotKeys(HWND window);
