#include "core/settings/hot_key_settings.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/map_store.h"

TEST(HotKeySettings, EveryHotKeySettingBelongsToOneRowWithItsOwnIdentifierAndCommand) {
  for (const Setting& setting : kSettings) {
    if (setting.shown != SettingShown::ModifierBoxes && setting.shown != SettingShown::KeyList) continue;
    EXPECT_EQ(std::ranges::count_if(
                  kHotKeys,
                  [&](const HotKeySetting& h) { return h.modifiers == setting.integer || h.key == setting.integer; }),
              1)
        << setting.name;
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

TEST(RefusalReports, AHotKeyAPolicyFixesIsReportedOnceForEachDefinitionAnyOtherEachTime) {
  MapStore computer, user;
  computer.numbers["ShortcutShiftRegion"] = 4;
  Preferences record;
  EXPECT_FALSE(FixedByPolicy(kHotKeys[2], ApplyPolicies(record, computer, user))) << "the key is the user's";
  computer.numbers["ShortcutKeyRegion"] = 0x7A;
  EXPECT_TRUE(FixedByPolicy(kHotKeys[2], ApplyPolicies(record, computer, user)));
  EXPECT_FALSE(FixedByPolicy(kHotKeys[0], ApplyPolicies(record, computer, user)));

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
