#include "core/languages/texts.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

#include "core/languages/language_file.h"
#include "core/languages/localised_error.h"

namespace {

struct Read {
  std::string section, key, fallback;
};

// A reader that records its calls and answers from a map of (section, key).
struct RecordingReader {
  std::map<std::pair<std::string, std::string>, std::string> file;
  std::vector<Read> calls;

  LanguageReader Function() {
    return [this](const std::string& section, const std::string& key, const std::string& fallback) {
      calls.push_back({section, key, fallback});
      auto found = file.find({section, key});
      return found == file.end() ? fallback : found->second;
    };
  }
};

}  // namespace

TEST(Texts, HaveEveryKeyOnceInTheirSectionsInReadingOrder) {
  std::set<std::pair<std::string, std::string>> seen;
  // FileInfo first, then the window, the tray menu, the messages, the policy templates and the region window:
  // never back to an earlier section.
  const std::vector<std::string> sectionOrder = {"FileInfo", "PreferencesWindow", "TrayMenu", "Messages", "Policies",
                                                 "RegionWindow"};
  size_t sectionIndex = 0;
  for (const TextRow& row : kTextRows) {
    EXPECT_TRUE(seen.insert({row.section, row.key}).second) << row.key;
    while (sectionIndex < sectionOrder.size() && sectionOrder[sectionIndex] != row.section) ++sectionIndex;
    EXPECT_LT(sectionIndex, sectionOrder.size()) << row.key << " in " << row.section;
    EXPECT_NE(std::string(row.english), "") << row.key;
  }
  EXPECT_EQ(seen.size(), kTextCount);
  EXPECT_STREQ(kTextRows[0].key, "HelpFileName");
  EXPECT_STREQ(kTextRows[0].section, "FileInfo");
}

TEST(Texts, ListItemRowsFollowEachOtherInItemOrder) {
  const struct {
    TextId first;
    const char* prefix;
    std::vector<std::string> items;
  } lists[] = {
      {TextId::WatermarkLocationLT, "WatermarkLocation", {"LT", "RT", "LB", "RB"}},
      {TextId::PrintingPagePositionLT, "PrintingPagePosition", {"LT", "CT", "RT", "LM", "C", "RM", "LB", "CB", "RB"}},
      {TextId::PrintingOrientationAsSet, "PrintingOrientation", {"AsSet", "Automatic", "Portrait", "Landscape"}},
  };
  for (const auto& list : lists) {
    for (size_t item = 0; item < list.items.size(); ++item) {
      const TextRow& row = kTextRows[static_cast<size_t>(list.first) + item];
      EXPECT_EQ(row.key, list.prefix + list.items[item]);
      EXPECT_EQ(row.place, TextPlace::ListItem);
      EXPECT_EQ(row.index, static_cast<int>(item));
    }
  }
  // The corner items come between "WatermarkInvisible" and "TimerTitle"; the folder picker's title ends the window's
  // rows.
  EXPECT_EQ(static_cast<size_t>(TextId::WatermarkLocationLT), static_cast<size_t>(TextId::WatermarkInvisible) + 1);
  EXPECT_EQ(static_cast<size_t>(TextId::TimerTitle), static_cast<size_t>(TextId::WatermarkLocationRB) + 1);
  EXPECT_EQ(static_cast<size_t>(TextId::PrintingPagePositionLT), static_cast<size_t>(TextId::PrintingPagePosition) + 1);
  EXPECT_EQ(static_cast<size_t>(TextId::PrintingOrientationAsSet),
            static_cast<size_t>(TextId::PrintingOrientation) + 1);
  EXPECT_EQ(static_cast<size_t>(TextId::TakeEntireScreen), static_cast<size_t>(TextId::PrintingFolderTitle) + 1);
}

TEST(Texts, ReadEveryRowOnceInTableOrder) {
  RecordingReader reader;
  const Texts texts(reader.Function());
  ASSERT_EQ(reader.calls.size(), kTextCount);
  for (size_t i = 0; i < kTextCount; ++i) {
    EXPECT_EQ(reader.calls[i].section, kTextRows[i].section);
    EXPECT_EQ(reader.calls[i].key, kTextRows[i].key);
    EXPECT_EQ(reader.calls[i].fallback, kTextRows[i].english);
    EXPECT_EQ(texts[kTextRows[i].id], kTextRows[i].english);
  }
  EXPECT_EQ(texts.HelpFileName(), "Vorlane_en.chm");
}

TEST(Texts, OnlyTheTranslatedOnesChange) {
  RecordingReader reader;
  reader.file[{"TrayMenu", "Exit"}] = "Quitter";
  reader.file[{"TrayMenu", "NoPrintersInSystem"}] = "Aucune imprimante.";
  reader.file[{"PreferencesWindow", "Title"}] = "";
  const Texts texts(reader.Function());
  for (const TextRow& row : kTextRows) {
    auto translated = reader.file.find({row.section, row.key});
    const std::string expected = translated == reader.file.end() ? row.english : translated->second;
    EXPECT_EQ(texts[row.id], expected) << row.key;
  }
}

TEST(Texts, AHelpFileNameThatCouldLeaveTheHelpFolderIsNotUsed) {
  const std::string file = "[FileInfo]\nHelpFileName=..\\..\\evil.chm\n[TrayMenu]\nBrowseFont=Schriftart\n";
  const Texts texts([&file](const std::string& section, const std::string& key, const std::string& fallback) {
    return ReadLanguageStringFrom(file, section, key, fallback);
  });
  EXPECT_EQ(texts[TextId::BrowseFont], "Schriftart");
  EXPECT_EQ(texts[TextId::HelpFileName], "..\\..\\evil.chm");
  EXPECT_EQ(texts.HelpFileName(), "Vorlane_en.chm");
}

TEST(SafeHelpFileName, NamesThatCouldLeaveTheHelpFolderBecomeTheDefault) {
  const struct {
    const char* name;
    const char* expected;
  } cases[] = {
      {"Vorlane_de.chm", "Vorlane_de.chm"},
      {"Hilfe Deutsch.chm", "Hilfe Deutsch.chm"},
      {"", ""},
      {"..\\secret.chm", "Vorlane_en.chm"},
      {"../secret.chm", "Vorlane_en.chm"},
      {"sub\\help.chm", "Vorlane_en.chm"},
      {"sub/help.chm", "Vorlane_en.chm"},
      {"C:help.chm", "Vorlane_en.chm"},
      {"C:\\Windows\\help.chm", "Vorlane_en.chm"},
      {"\\\\server\\share\\help.chm", "Vorlane_en.chm"},
      {"..", "Vorlane_en.chm"},
      {"help..chm", "Vorlane_en.chm"},
  };
  for (const auto& c : cases) EXPECT_EQ(SafeHelpFileName(c.name), c.expected) << c.name;
}

TEST(Texts, ErrorsSpeakTheAppliedLanguageWithTheirFieldsFilledIn) {
  const LocalisedError error(TextId::ShotBitmapNotMade, {{"%WIDTH%", "30000"}, {"%HEIGHT%", "%WIDTH%"}});
  EXPECT_STREQ(error.what(), "No bitmap of 30000 x %WIDTH% pixels could be made for the shot.");
  EXPECT_EQ(error.Text(Texts()), error.what());
  RecordingReader reader;
  reader.file[{"Messages", "ShotBitmapNotMade"}] = "%HEIGHT% x %WIDTH% und %WIDTH%";
  EXPECT_EQ(error.Text(Texts(reader.Function())), "%WIDTH% x 30000 und 30000");
}
