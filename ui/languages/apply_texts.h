#pragma once
// Puts the texts of a language file on the Preferences window, the tray menu
// and its lists, and keeps the messages for later use.
#include <windows.h>

#include <string>

#include "core/languages/texts.h"

class PreferencesWindow;
class TrayMenu;

// Every catalogue row read from the file at `path` (a missing file, section or
// key gives the English default) and set where it belongs, in table order.
// The three lists keep their selected index.
void ApplyLanguage(const std::string& path, PreferencesWindow& window, TrayMenu& menu, MessageCatalogue& catalogue);
