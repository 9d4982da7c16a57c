#pragma once
// The hot keys, declared once: each with the identifier it is registered
// under, the two settings that define it, the text that reports a refused
// registration, and the capture it starts, which its command asks for too.
// Registering, comparing and routing them, the key lists of the Preferences
// and the tests all walk this table.
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>

#include "core/capture/capture_request.h"
#include "core/capture/key_names.h"
#include "core/languages/texts.h"
#include "core/settings/policies.h"
#include "core/settings/preferences.h"
#include "resources/resource.h"

struct HotKeySetting {
  int id;  // the registration's, which WM_HOTKEY brings back
  int32_t Preferences::*modifiers;
  int32_t Preferences::*key;
  TextId refused;
  CaptureKind kind;
  int command;  // the IDM_ command that asks for the same capture
};

// clang-format off
inline constexpr HotKeySetting kHotKeys[] = {
    {1, &Preferences::ShortcutShiftEntireScreen, &Preferences::ShortcutKeyEntireScreen, TextId::UnableSetEntireScreenSC,
     CaptureKind::EntireScreen, IDM_ENTIRE_SCREEN},
    {2, &Preferences::ShortcutShiftActiveWindow, &Preferences::ShortcutKeyActiveWindow, TextId::UnableSetActiveWindowSC,
     CaptureKind::ActiveWindow, IDM_ACTIVE_WINDOW},
    {3, &Preferences::ShortcutShiftRegion, &Preferences::ShortcutKeyRegion, TextId::UnableSetRegionSC,
     CaptureKind::Region, IDM_REGION},
};
// clang-format on
inline constexpr size_t kHotKeyCount = std::size(kHotKeys);

HotKey HotKeyOf(const HotKeySetting& hotKey, const Preferences& settings);

// Every hot key's definition, in the table's order: when one changes, the
// hot keys are registered anew.
using HotKeyDefinitions = std::array<HotKey, kHotKeyCount>;
HotKeyDefinitions HotKeysOf(const Preferences& settings);

// The row of a WM_HOTKEY identifier; nullptr for none.
const HotKeySetting* HotKeyWithId(int id);
// The row whose command asks for its capture; nullptr for none.
const HotKeySetting* HotKeyWithCommand(int command);

// Whether policies hold both its settings: the user cannot change it.
bool FixedByPolicy(const HotKeySetting& hotKey, const PoliciesInForce& policies);

// Which refused registrations are reported. A hot key the user can change
// is reported at each refusal, so that the user can choose another; one a
// policy fixes only once per run for each definition, as nobody at the
// computer can mend it.
class RefusalReports {
 public:
  // A refusal of the hot key of that row, with that definition.
  bool ShouldReport(size_t row, const HotKey& hotKey, bool fixed);

 private:
  std::array<std::optional<HotKey>, kHotKeyCount> reportedFixed_{};
};
