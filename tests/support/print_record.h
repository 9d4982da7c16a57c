#pragma once
// How a test shows a settings record when two differ: every setting by name.
#include <ostream>

#include "core/settings/preferences.h"

inline void PrintTo(const Preferences& values, std::ostream* out) {
  for (const Setting& setting : kSettings) {
    *out << "\n  " << setting.name << '=';
    switch (setting.type) {
      case SettingType::Text:
        *out << '"' << values.*setting.text << '"';
        break;
      case SettingType::Integer:
        *out << values.*setting.integer;
        break;
      case SettingType::OnOff:
        *out << (values.*setting.onOff ? "on" : "off");
        break;
    }
  }
}
