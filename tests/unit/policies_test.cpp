#include "core/settings/policies.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

#include "tests/support/map_store.h"
#include "tests/support/print_record.h"
#include "tests/unit/setting_value_cases.h"

namespace {

using Value = std::variant<int32_t, std::string>;

void Put(MapStore& store, const std::string& name, const std::optional<Value>& value) {
  if (!value) return;
  if (const auto* number = std::get_if<int32_t>(&*value)) {
    store.numbers[name] = *number;
  } else {
    store.texts[name] = std::get<std::string>(*value);
  }
}

const Setting& SettingNamed(const std::string& name) {
  for (const Setting& setting : kSettings) {
    if (setting.name == name) return setting;
  }
  throw std::invalid_argument("no setting " + name);
}

Value ValueIn(const Preferences& record, const std::string& name) {
  for (const Setting& setting : kSettings) {
    if (setting.name != name) continue;
    if (setting.type == SettingType::Text) return record.*setting.text;
    if (setting.type == SettingType::Integer) return record.*setting.integer;
    return static_cast<int32_t>(record.*setting.onOff ? 1 : 0);
  }
  ADD_FAILURE() << "no setting " << name;
  return 0;
}

struct PolicyRow {
  const char* setting;
  std::optional<Value> computer;
  std::optional<Value> user;
  bool inForce;
  Value shown;  // the record's value afterwards; the user's own where nothing is in force
};

}  // namespace

TEST(Policies, TheComputersUsableValueWinsThenTheUsersThenTheUsersOwnPreference) {
  using S = std::string;
  const PolicyRow rows[] = {
      {"WatermarkMake", 1, {}, true, 1},
      {"WatermarkMake", {}, 1, true, 1},
      {"WatermarkMake", 0, 1, true, 0},    // a computer's "off" wins too
      {"WatermarkMake", 2, {}, false, 0},  // neither on nor off
      {"WatermarkMake", -1, 1, true, 1},
      {"WatermarkText", S("CONFIDENTIAL"), S("user"), true, S("CONFIDENTIAL")},
      {"WatermarkText", {}, S("user"), true, S("user")},
      {"WatermarkText", S(""), {}, false, S("%DATE% %TIME%")},  // an empty text is none
      {"WatermarkText", 7, {}, false, S("%DATE% %TIME%")},      // a number is no text
      {"PrintCopies", 3, 5, true, 3},
      {"PrintCopies", 100, 5, true, 5},  // out of range: the next one counts
      {"PrintCopies", 0, 0, false, 1},
      {"PrintCopies", S("3"), {}, false, 1},  // a text is no number
      {"PrintColors", 3, 1, true, 1},
      {"PrintOrientation", -1, 3, true, 3},
      {"PrintShotsPerPage", 3, 2, true, 2},  // no value of its list: the next one counts
      {"DefaultAction", 9, 2, true, 2},
      {"ShortcutKeyEntireScreen", 0x7B, {}, true, 0x7B},
      {"ShortcutKeyEntireScreen", 0x11, {}, false, 0x2C},  // Ctrl alone: no key of the list
      {"ShortcutKeyActiveWindow", 0xBA, {}, true, 0xBA},   // a punctuation key, whatever the layout calls it
      {"ShortcutKeyRegion", 0x60, {}, false, 0x2C},        // the list's "0" is the main row's
      {"ShortcutShiftEntireScreen", 4, {}, true, 4},       // the table's second row
      {"Language", S("Deutsch"),
       S("Fran\xC3\xA7"
         "ais"),
       true, S("Deutsch")},
  };
  for (const PolicyRow& row : rows) {
    MapStore computer, user;
    Put(computer, row.setting, row.computer);
    Put(user, row.setting, row.user);
    Preferences record;
    const PoliciesInForce policies = ApplyPolicies(record, computer, user);
    const std::string label = std::string(row.setting) + " row " + std::to_string(&row - rows);
    EXPECT_EQ(policies.Holds(row.setting), row.inForce) << label;
    EXPECT_EQ(policies.Holds(SettingNamed(row.setting)), row.inForce) << label;
    EXPECT_FALSE(policies.Holds("NoSuchName")) << label;
    EXPECT_EQ(ValueIn(record, row.setting), row.shown) << label;
    EXPECT_EQ(policies.Any(), row.inForce) << label;
    // Nothing else changes.
    Preferences expected;
    for (const Setting& setting : kSettings) {
      if (setting.name == std::string(row.setting)) continue;
      EXPECT_EQ(ValueIn(record, setting.name), ValueIn(expected, setting.name)) << label << ": " << setting.name;
    }
  }
}

TEST(Policies, APolicyIsInForceExactlyWhenItsValueIsValid) {
  for (const SettingValueCase& row : kSettingValueCases) {
    MapStore computer, user;
    computer.numbers[row.setting] = row.value;
    Preferences record;
    const Setting& setting = SettingNamed(row.setting);
    const std::string label = std::string(row.setting) + " " + std::to_string(row.value);
    EXPECT_EQ(ApplyPolicies(record, computer, user).Holds(setting), row.valid) << label;
    if (row.valid) {
      EXPECT_EQ(ValueIn(record, row.setting), Value(row.value)) << label;
    }
  }
  // A copy of a row is no row of the table, whatever its name.
  MapStore computer, user;
  computer.texts["Language"] = "Deutsch";
  Preferences record;
  const Setting copy = kSettings[0];
  EXPECT_FALSE(ApplyPolicies(record, computer, user).Holds(copy));
}

TEST(Policies, DisablePreferencesIsTheComputersOneOrZeroElseTheUsers) {
  struct Row {
    std::optional<int32_t> computer;
    std::optional<int32_t> user;
    bool disabled;
  };
  const Row rows[] = {
      {{}, {}, false}, {1, {}, true}, {{}, 1, true}, {0, 1, false}, {1, 0, true}, {2, 1, true}, {2, 2, false},
  };
  for (const Row& row : rows) {
    MapStore computer, user;
    if (row.computer) computer.numbers[kDisablePreferencesPolicy] = *row.computer;
    if (row.user) user.numbers[kDisablePreferencesPolicy] = *row.user;
    Preferences record;
    const PoliciesInForce policies = ApplyPolicies(record, computer, user);
    EXPECT_EQ(policies.disablePreferences, row.disabled) << &row - rows;
    EXPECT_FALSE(policies.Any()) << "DisablePreferences is no setting";
    EXPECT_FALSE(policies.Holds(kDisablePreferencesPolicy));
    EXPECT_EQ(record, Preferences());
  }
}

TEST(Policies, ApplyWritesEveryValueButThoseInForceAndReadsThroughUnchanged) {
  MapStore computer, user, own;
  computer.numbers["WatermarkMake"] = 1;
  user.texts["WatermarkText"] = "CONFIDENTIAL";
  own.numbers["WatermarkMake"] = 0;
  own.texts["WatermarkText"] = "mine";
  Preferences record = LoadPreferences(own, [] { return std::string("Office"); });
  const PoliciesInForce policies = ApplyPolicies(record, computer, user);
  own.writes.clear();

  UnmanagedStore unmanaged(own, policies);
  SavePreferences(unmanaged, record);
  EXPECT_EQ(own.writes.size(), kSettingCount - 2);
  for (const std::string& name : own.writes) EXPECT_FALSE(name == "WatermarkMake" || name == "WatermarkText") << name;
  EXPECT_EQ(own.numbers["WatermarkMake"], 0);
  EXPECT_EQ(own.texts["WatermarkText"], "mine");
  EXPECT_EQ(unmanaged.ReadString("WatermarkText", ""), "mine");
  EXPECT_EQ(unmanaged.ReadInteger("WatermarkMake", 7), 0);
  // Once the policies are gone the user's own choice is there again.
  EXPECT_FALSE(LoadPreferences(own, [] { return std::string("Office"); }).WatermarkMake);
}

TEST(Policies, ApplyWritesNothingAPolicyTookOverWhileThePreferencesWereOpen) {
  MapStore computer, user, own;
  Preferences record = LoadPreferences(own, [] { return std::string("Office"); });
  ASSERT_FALSE(ApplyPolicies(record, computer, user).Any());
  record.WatermarkText = "edited";
  computer.texts["WatermarkText"] = "CONFIDENTIAL";  // while the window is open
  SaveOwnPreferences(own, record, PoliciesNow(computer, user));
  EXPECT_EQ(own.writes.size(), kSettingCount - 1);
  EXPECT_EQ(own.texts.count("WatermarkText"), 0u);
}
