#include "core/settings/hot_key_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/map_store.h"

TEST(HotKeySettings, EveryHotKeySettingBelongsToOneRowWithItsOwnIdentifierAndCommand) {
  for (const Setting& setting : kSettings) {
    if (setting.shown != SettingShown::ModifierBoxes && setting.shown != SettingShown::KeyList) continue;
    int rows = 0;
    for (const HotKeySetting& hotKey : kHotKeys) {
      rows += hotKey.modifiers == setting.integer || hotKey.key == setting.integer;
    }
    EXPECT_EQ(rows, 1) << setting.name;
  }
  for (const HotKeySetting& hotKey : kHotKeys) {
    EXPECT_EQ(HotKeyWithId(hotKey.id), &hotKey);
    EXPECT_EQ(HotKeyWithCommand(hotKey.command), &hotKey);
    // Each field of the row counts among the definitions registered.
    for (int32_t Preferences::*field : {hotKey.modifiers, hotKey.key}) {
      Preferences changed;
      changed.*field += 1;
      EXPECT_NE(HotKeysOf(changed), HotKeysOf(Preferences())) << hotKey.id;
    }
  }
  EXPECT_EQ(HotKeyWithId(0), nullptr);
  EXPECT_EQ(HotKeyWithCommand(IDM_PREFERENCES), nullptr);
}

TEST(HotKeySettings, OnlyAHotKeyWhoseTwoSettingsAPolicyHoldsIsFixed) {
  const struct {
    const char* modifiers;
    const char* key;
    bool fixed;
  } rows[] = {
      {"ShortcutShiftRegion", "ShortcutKeyRegion", true},
      {"ShortcutShiftRegion", nullptr, false},
      {nullptr, "ShortcutKeyRegion", false},
      {"ShortcutShiftEntireScreen", "ShortcutKeyEntireScreen", false},  // another hot key's
  };
  for (const auto& row : rows) {
    MapStore computer, user;
    for (const char* name : {row.modifiers, row.key}) {
      if (name) computer.numbers[name] = name == row.key ? 0x7A : 4;
    }
    Preferences record;
    EXPECT_EQ(FixedByPolicy(kHotKeys[2], ApplyPolicies(record, computer, user)), row.fixed) << &row - rows;
  }
}

TEST(RefusalReports, AFixedHotKeyIsReportedOnceForEachDefinitionAnyOtherEachTime) {
  const HotKey f11{4, 0x7A}, f12{4, 0x7B};
  const struct {
    size_t row;
    HotKey hotKey;
    bool fixed;
    bool reported;
  } refusals[] = {
      {2, f11, true, true},  {2, f11, true, false}, {2, f11, true, false},  // start, Apply, OK
      {0, f11, true, true},                                                 // another hot key's own
      {2, f12, true, true},  {2, f12, true, false},                         // a new policy
      {1, f11, false, true}, {1, f11, false, true},                         // the user can choose another
  };
  RefusalReports reports;
  for (const auto& refusal : refusals) {
    EXPECT_EQ(reports.ShouldReport(refusal.row, refusal.hotKey, refusal.fixed), refusal.reported)
        << &refusal - refusals;
  }
}
