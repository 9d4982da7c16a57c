#pragma once
// The system-wide hot keys of the main window and the system's key names.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <span>
#include <string>

#include "base/system_text.h"
#include "core/capture/key_names.h"

// One hot key of the window: its identifier (kHotKeys), its definition, and
// the text that reports a refusal.
struct HotKeyRegistration {
  int id;
  HotKey hotKey;
  std::string refusedText;
};

// The name the system gives the key's scan code with the extended bit clear;
// empty when the key has no scan code.
std::string SystemKeyNameOf(uint8_t virtualKey);

// Tells of a refused registration: its place among those given, and its text.
using RefusalReport = std::function<void(size_t place, const std::string& text)>;

// Registers the hot keys on the window in their order, each whatever became
// of the ones before; each refusal of a definition that names something is
// reported. Nothing is retried.
void RegisterHotKeys(HWND window, std::span<const HotKeyRegistration> hotKeys, const RefusalReport& report);

// Removes every hot key of the table from the window.
void UnregisterHotKeys(HWND window);
