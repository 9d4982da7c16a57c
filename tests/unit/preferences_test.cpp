#include "core/settings/preferences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/support/map_store.h"
#include "tests/support/print_record.h"

namespace {

std::string NoPrinterLookup() {
  ADD_FAILURE() << "the current printer was looked up although a printer name is stored";
  return {};
}

}  // namespace

TEST(Preferences, AnEmptyStoreGivesTheRecordsDefaults) {
  MapStore store;
  EXPECT_EQ(LoadPreferences(store, [] { return std::string("Office Laser"); }), DefaultPreferences("Office Laser"));
  EXPECT_EQ(DefaultPreferences("Office Laser").PrintPrinter, "Office Laser");
}

TEST(Preferences, AbsentValuesGiveTodaysBehaviour) {
  // By registry name, as an administrator's script would write them.
  const struct {
    const char* name;
    int32_t loaded;
  } cases[] = {
      {"ShortcutShiftEntireScreen", 6},
      {"ShortcutKeyEntireScreen", 0x2C},
      {"ShortcutShiftActiveWindow", 5},
      {"ShortcutKeyActiveWindow", 0x2C},
      {"ShortcutShiftRegion", 4},
      {"ShortcutKeyRegion", 0x2C},
      {"DefaultAction", 1},
      {"CaptureMousePointer", 0},
      {"CaptureScreen", 0},
      {"PrintColors", 0},
      {"PrintShotsPerPage", 1},
  };
  MapStore store;
  store.texts["PrintPrinter"] = "Queue A";
  const Preferences loaded = LoadPreferences(store, NoPrinterLookup);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto row = std::ranges::find_if(kSettings, [&c](const Setting& s) { return std::string(s.name) == c.name; });
    ASSERT_NE(row, std::end(kSettings));
    const int32_t value = row->type == SettingType::OnOff ? (loaded.*row->onOff ? 1 : 0) : loaded.*row->integer;
    EXPECT_EQ(value, c.loaded);
  }
}

TEST(Preferences, LoadReadsInTableOrderLanguageFirstPrinterLast) {
  MapStore store;
  LoadPreferences(store, [] { return std::string(); });
  ASSERT_EQ(store.reads.size(), kSettingCount);
  for (size_t i = 0; i < kSettingCount; ++i) EXPECT_EQ(store.reads[i], kSettings[i].name);
  EXPECT_EQ(store.reads.front(), "Language");
  EXPECT_EQ(store.reads.back(), "PrintPrinter");
}

TEST(Preferences, OnOffIsOnOnlyForExactlyOne) {
  MapStore store;
  store.numbers["WatermarkMake"] = 2;
  store.numbers["TimerDelayedCapture"] = 1;
  store.numbers["PrintFitToPage"] = 0;
  store.numbers["TimerSeveralShots"] = -1;
  store.numbers["PrintGrayscale"] = 2;
  store.texts["PrintPrinter"] = "Queue A";
  Preferences p = LoadPreferences(store, NoPrinterLookup);
  EXPECT_FALSE(p.WatermarkMake);
  EXPECT_TRUE(p.TimerDelayedCapture);
  EXPECT_FALSE(p.PrintFitToPage);
  EXPECT_FALSE(p.TimerSeveralShots);
  EXPECT_FALSE(p.PrintGrayscale);
  store.numbers["PrintGrayscale"] = 1;
  EXPECT_TRUE(LoadPreferences(store, NoPrinterLookup).PrintGrayscale);
}

TEST(Preferences, IntegersReachTheRecordUnclamped) {
  MapStore store;
  store.numbers["DefaultAction"] = 7;
  store.numbers["WatermarkFontStyle"] = 7;
  store.numbers["PrintPagePosition"] = -1;
  store.numbers["TimerInterval"] = 2147483647;
  store.numbers["TimerNumberOfShots"] = 5000;  // beyond what a policy may set
  store.numbers["ShortcutShiftActiveWindow"] = 4096;
  store.texts["PrintPrinter"] = "Gone Printer";
  Preferences p = LoadPreferences(store, NoPrinterLookup);
  EXPECT_EQ(p.TimerNumberOfShots, 5000);
  EXPECT_EQ(p.ShortcutShiftActiveWindow, 4096);
  EXPECT_EQ(p.DefaultAction, 7);
  EXPECT_EQ(p.WatermarkFontStyle, 7);
  EXPECT_EQ(p.PrintPagePosition, -1);
  EXPECT_EQ(p.TimerInterval, 2147483647);
  EXPECT_EQ(p.PrintPrinter, "Gone Printer");
}

TEST(Preferences, RangedIntegersOutsideTheirRangeLoadAsTheDefaultAndStayStored) {
  constexpr auto kOrientation = &Preferences::PrintOrientation;
  constexpr auto kCopies = &Preferences::PrintCopies;
  const struct {
    const char* name;
    int32_t Preferences::*field;
    int32_t stored;
    int32_t loaded;
  } cases[] = {
      {"PrintOrientation", kOrientation, 0, 0},
      {"PrintOrientation", kOrientation, 3, 3},
      {"PrintOrientation", kOrientation, 4, 0},
      {"PrintOrientation", kOrientation, -1, 0},
      {"PrintCopies", kCopies, 1, 1},
      {"PrintCopies", kCopies, 99, 99},
      {"PrintCopies", kCopies, 100, 1},
      {"PrintCopies", kCopies, 0, 1},
      {"PrintCopies", kCopies, INT32_MIN, 1},
      {"CaptureScreen", &Preferences::CaptureScreen, 2, 2},
      {"CaptureScreen", &Preferences::CaptureScreen, 3, 0},
      {"PrintColors", &Preferences::PrintColors, 2, 2},
      {"PrintColors", &Preferences::PrintColors, 3, 0},
      {"PrintColors", &Preferences::PrintColors, -1, 0},
      {"PrintShotsPerPage", &Preferences::PrintShotsPerPage, 2, 2},
      {"PrintShotsPerPage", &Preferences::PrintShotsPerPage, 4, 4},
      {"PrintShotsPerPage", &Preferences::PrintShotsPerPage, 3, 1},
      {"PrintShotsPerPage", &Preferences::PrintShotsPerPage, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.stored));
    MapStore store;
    store.numbers[c.name] = c.stored;
    store.texts["PrintPrinter"] = "Queue A";
    EXPECT_EQ(LoadPreferences(store, NoPrinterLookup).*c.field, c.loaded);
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(store.numbers[c.name], c.stored);
  }
}

TEST(Preferences, OneOfHoldsOnlyItsValuesWithinTheirEnds) {
  static constexpr int32_t kShotsPerPage[] = {1, 2, 4};
  constexpr ValidValues valid = OneOf(kShotsPerPage);
  EXPECT_EQ(valid.lowest, 1);
  EXPECT_EQ(valid.highest, 4);
  for (const int32_t value : {0, 1, 2, 3, 4, 5}) EXPECT_EQ(valid.Holds(value), value == 1 || value == 2 || value == 4);
}

TEST(Preferences, EmptyTextsReadAsDefaultsAndNoPrinterLeavesTheNameEmpty) {
  MapStore store;
  store.texts["WatermarkText"] = "";
  store.texts["Language"] = "";
  Preferences p = LoadPreferences(store, [] { return std::string(); });
  EXPECT_EQ(p.WatermarkText, "%DATE% %TIME%");
  EXPECT_EQ(p.Language, "English");
  EXPECT_EQ(p.PrintPrinter, "");
}

TEST(Preferences, SaveWritesEveryValueInSaveOrder) {
  MapStore store;
  Preferences p = DefaultPreferences("Office Laser");
  p.WatermarkMake = true;
  p.TimerSeveralShots = true;
  p.DefaultAction = -1;
  SavePreferences(store, p);
  const std::vector<std::string> expected = {"Language",
                                             "ShortcutShiftEntireScreen",
                                             "ShortcutKeyEntireScreen",
                                             "ShortcutShiftActiveWindow",
                                             "ShortcutKeyActiveWindow",
                                             "DefaultAction",
                                             "WatermarkMake",
                                             "WatermarkLocation",
                                             "WatermarkText",
                                             "WatermarkFontName",
                                             "WatermarkFontSize",
                                             "WatermarkFontStyle",
                                             "WatermarkFontColor",
                                             "WatermarkFontTransparency",
                                             "PrintFitToPage",
                                             "PrintPagePosition",
                                             "PrintPrinter",
                                             "TimerDelay",
                                             "TimerDelayedCapture",
                                             "TimerNumberOfShots",
                                             "TimerInterval",
                                             "TimerSeveralShots",
                                             "PrintOrientation",
                                             "PrintCopies",
                                             "PrintGrayscale",
                                             "CaptureScreen",
                                             "FilePrinterAutoSave",
                                             "FilePrinterFolder",
                                             "ShortcutShiftRegion",
                                             "ShortcutKeyRegion",
                                             "CaptureMousePointer",
                                             "PrintColors",
                                             "PrintShotsPerPage"};
  EXPECT_EQ(store.writes, expected);
  EXPECT_EQ(store.numbers["WatermarkMake"], 1);
  EXPECT_EQ(store.numbers["TimerDelayedCapture"], 0);
  EXPECT_EQ(store.numbers["DefaultAction"], -1);
  EXPECT_EQ(store.texts["PrintPrinter"], "Office Laser");
}

TEST(Preferences, SavedValuesLoadBackUnchanged) {
  // Every setting away from its default, so that a value lost on the way
  // shows; a ranged one at the top of its range.
  Preferences saved = DefaultPreferences("Queue B");
  int distinct = 2;
  for (const Setting& setting : kSettings) {
    switch (setting.type) {
      case SettingType::Text:
        saved.*setting.text = std::string("text ") + setting.name;
        break;
      case SettingType::Integer:
        saved.*setting.integer += 100 + distinct++;
        break;
      case SettingType::OnOff:
        saved.*setting.onOff = !(saved.*setting.onOff);
        break;
    }
  }
  for (const Setting& setting : kSettings) {
    if (setting.valid.checksStored) saved.*setting.integer = setting.valid.highest;
  }
  MapStore store;
  SavePreferences(store, saved);
  EXPECT_EQ(LoadPreferences(store, NoPrinterLookup), saved);
}
