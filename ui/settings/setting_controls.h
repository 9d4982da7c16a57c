#pragma once
// One setting in the control that shows it, as the settings table says. The
// settings shown by code of their own (the language, the font, the colour,
// the printer) are left alone here.
#include <windows.h>

#include <functional>

#include "core/settings/preferences.h"

// The control of an IDC_ identifier.
using ControlOf = std::function<HWND(int id)>;

void ShowSetting(const Setting& setting, const Preferences& record, const ControlOf& control);

// A number field being edited is read as leaving it would leave it.
void CollectSetting(const Setting& setting, Preferences& values, const ControlOf& control);
