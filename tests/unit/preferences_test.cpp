#include "core/settings/preferences.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// A store with the registry's read rules: absent values give the default.
class MapStore : public PreferenceStore {
 public:
  std::map<std::string, std::string> texts;
  std::map<std::string, int32_t> numbers;
  std::vector<std::string> reads;
  std::vector<std::string> writes;

  std::string ReadString(const std::string& name, const std::string& fallback) override {
    reads.push_back(name);
    auto found = texts.find(name);
    return found == texts.end() || found->second.empty() ? fallback : found->second;
  }
  int32_t ReadInteger(const std::string& name, int32_t fallback) override {
    reads.push_back(name);
    auto found = numbers.find(name);
    return found == numbers.end() ? fallback : found->second;
  }
  void WriteString(const std::string& name, const std::string& text) override {
    writes.push_back(name);
    texts[name] = text;
  }
  void WriteInteger(const std::string& name, int32_t value) override {
    writes.push_back(name);
    numbers[name] = value;
  }
};

std::string NoPrinterLookup() {
  ADD_FAILURE() << "the current printer was looked up although a printer name is stored";
  return {};
}

}  // namespace

TEST(Preferences, EmptyStoreGivesEveryDefault) {
  MapStore store;
  // The default record is what a load from an empty store gives.
  const struct {
    const char* name;
    Preferences record;
  } records[] = {
      {"loaded", LoadPreferences(store, [] { return std::string("Office Laser"); })},
      {"default", DefaultPreferences("Office Laser")},
  };
  for (const auto& [name, p] : records) {
    SCOPED_TRACE(name);
    // One name per field: a field added to the record stops the build here until it is checked below.
    [[maybe_unused]] const auto& [f1, f2, f3, f4, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, f16, f17, f18, f19,
                                  f20, f21, f22] = p;
    EXPECT_EQ(p.Language, "English");
    EXPECT_EQ(p.ShortcutShiftEntireScreen, 6);
    EXPECT_EQ(p.ShortcutKeyEntireScreen, 0x2C);
    EXPECT_EQ(p.ShortcutShiftActiveWindow, 5);
    EXPECT_EQ(p.ShortcutKeyActiveWindow, 0x2C);
    EXPECT_EQ(p.DefaultAction, 1);
    EXPECT_EQ(p.WatermarkLocation, 0);
    EXPECT_EQ(p.WatermarkText, "%DATE% %TIME%");
    EXPECT_EQ(p.WatermarkFontName, "");
    EXPECT_EQ(p.WatermarkFontSize, 12);
    EXPECT_EQ(p.WatermarkFontStyle, 0);
    EXPECT_EQ(p.WatermarkFontColor, 0);
    EXPECT_EQ(p.WatermarkFontTransparency, 0);
    EXPECT_FALSE(p.WatermarkMake);
    EXPECT_EQ(p.TimerDelay, 1);
    EXPECT_FALSE(p.TimerDelayedCapture);
    EXPECT_EQ(p.TimerNumberOfShots, 1);
    EXPECT_EQ(p.TimerInterval, 1);
    EXPECT_FALSE(p.TimerSeveralShots);
    EXPECT_TRUE(p.PrintFitToPage);
    EXPECT_EQ(p.PrintPagePosition, 4);
    EXPECT_EQ(p.PrintPrinter, "Office Laser");
  }
}

TEST(Preferences, LoadReadsInTableOrderLanguageFirstPrinterLast) {
  MapStore store;
  LoadPreferences(store, [] { return std::string(); });
  ASSERT_EQ(store.reads.size(), 22u);
  for (size_t i = 0; i < 22; ++i) EXPECT_EQ(store.reads[i], kSettings[i].name);
  EXPECT_EQ(store.reads.front(), "Language");
  EXPECT_EQ(store.reads.back(), "PrintPrinter");
}

TEST(Preferences, OnOffIsOnOnlyForExactlyOne) {
  MapStore store;
  store.numbers["WatermarkMake"] = 2;
  store.numbers["TimerDelayedCapture"] = 1;
  store.numbers["PrintFitToPage"] = 0;
  store.numbers["TimerSeveralShots"] = -1;
  store.texts["PrintPrinter"] = "Queue A";
  Preferences p = LoadPreferences(store, NoPrinterLookup);
  EXPECT_FALSE(p.WatermarkMake);
  EXPECT_TRUE(p.TimerDelayedCapture);
  EXPECT_FALSE(p.PrintFitToPage);
  EXPECT_FALSE(p.TimerSeveralShots);
}

TEST(Preferences, IntegersReachTheRecordUnclamped) {
  MapStore store;
  store.numbers["DefaultAction"] = 7;
  store.numbers["WatermarkFontStyle"] = 7;
  store.numbers["PrintPagePosition"] = -1;
  store.numbers["TimerInterval"] = 2147483647;
  store.texts["PrintPrinter"] = "Gone Printer";
  Preferences p = LoadPreferences(store, NoPrinterLookup);
  EXPECT_EQ(p.DefaultAction, 7);
  EXPECT_EQ(p.WatermarkFontStyle, 7);
  EXPECT_EQ(p.PrintPagePosition, -1);
  EXPECT_EQ(p.TimerInterval, 2147483647);
  EXPECT_EQ(p.PrintPrinter, "Gone Printer");
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
  const std::vector<std::string> expected = {
      "Language", "ShortcutShiftEntireScreen", "ShortcutKeyEntireScreen", "ShortcutShiftActiveWindow",
      "ShortcutKeyActiveWindow", "DefaultAction", "WatermarkMake", "WatermarkLocation", "WatermarkText",
      "WatermarkFontName", "WatermarkFontSize", "WatermarkFontStyle", "WatermarkFontColor",
      "WatermarkFontTransparency", "PrintFitToPage", "PrintPagePosition", "PrintPrinter", "TimerDelay",
      "TimerDelayedCapture", "TimerNumberOfShots", "TimerInterval", "TimerSeveralShots"};
  EXPECT_EQ(store.writes, expected);
  EXPECT_EQ(store.numbers["WatermarkMake"], 1);
  EXPECT_EQ(store.numbers["TimerDelayedCapture"], 0);
  EXPECT_EQ(store.numbers["DefaultAction"], -1);
  EXPECT_EQ(store.texts["PrintPrinter"], "Office Laser");
}

TEST(Preferences, SavedValuesLoadBackUnchanged) {
  MapStore store;
  Preferences saved = DefaultPreferences("Queue B");
  saved.Language = "Deutsch";
  saved.WatermarkFontName = "Liberation Sans";
  saved.WatermarkFontColor = 0x00FF8040;
  saved.TimerDelayedCapture = true;
  saved.TimerDelay = 3;
  SavePreferences(store, saved);
  Preferences loaded = LoadPreferences(store, NoPrinterLookup);
  EXPECT_EQ(loaded.Language, "Deutsch");
  EXPECT_EQ(loaded.WatermarkFontName, "Liberation Sans");
  EXPECT_EQ(loaded.WatermarkFontColor, 0x00FF8040);
  EXPECT_TRUE(loaded.TimerDelayedCapture);
  EXPECT_EQ(loaded.TimerDelay, 3);
  EXPECT_EQ(loaded.PrintPrinter, "Queue B");
}
