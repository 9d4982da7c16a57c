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

TEST(Catalogue, HasEveryKeyOnceInTheFourSectionsInReadingOrder) {
  std::set<std::pair<std::string, std::string>> seen;
  // FileInfo first, then the window, the tray menu and the messages: never back to an earlier section.
  const std::vector<std::string> sectionOrder = {"FileInfo", "PreferencesWindow", "TrayMenu", "Messages"};
  size_t sectionIndex = 0;
  for (const CatalogueEntry& entry : kCatalogue) {
    EXPECT_TRUE(seen.insert({entry.section, entry.key}).second) << entry.key;
    while (sectionIndex < sectionOrder.size() && sectionOrder[sectionIndex] != entry.section) ++sectionIndex;
    EXPECT_LT(sectionIndex, sectionOrder.size()) << entry.key << " in " << entry.section;
    EXPECT_NE(std::string(entry.english), "") << entry.key;
  }
  EXPECT_EQ(seen.size(), kCatalogueSize);
  EXPECT_STREQ(kCatalogue.front().key, "HelpFileName");
  EXPECT_STREQ(kCatalogue.front().section, "FileInfo");
}

TEST(Catalogue, ListItemRowsFollowEachOtherInItemOrder) {
  const struct {
    TextId first;
    const char* prefix;
    std::vector<std::string> items;
  } lists[] = {
      {TextId::WatermarkLocationLT, "WatermarkLocation", {"LT", "RT", "LB", "RB"}},
      {TextId::PrintingPagePositionLT, "PrintingPagePosition", {"LT", "CT", "RT", "LM", "C", "RM", "LB", "CB", "RB"}},
  };
  for (const auto& list : lists) {
    for (size_t item = 0; item < list.items.size(); ++item) {
      EXPECT_EQ(kCatalogue[IndexOf(list.first) + item].key, list.prefix + list.items[item]);
    }
  }
  // The corner items come between "WatermarkInvisible" and "TimerTitle"; the page positions end the window's rows.
  EXPECT_EQ(IndexOf(TextId::WatermarkLocationLT), IndexOf(TextId::WatermarkInvisible) + 1);
  EXPECT_EQ(IndexOf(TextId::TimerTitle), IndexOf(TextId::WatermarkLocationRB) + 1);
  EXPECT_EQ(IndexOf(TextId::PrintingPagePositionLT), IndexOf(TextId::PrintingPagePosition) + 1);
  EXPECT_EQ(IndexOf(TextId::TakeEntireScreen), IndexOf(TextId::PrintingPagePositionRB) + 1);
}

TEST(Catalogue, ReadsEveryRowOnceInTableOrder) {
  RecordingReader reader;
  MessageCatalogue messages;
  const std::vector<std::string> texts = ReadCatalogue(reader.Function(), messages);
  ASSERT_EQ(reader.calls.size(), kCatalogueSize);
  ASSERT_EQ(texts.size(), kCatalogueSize);
  for (size_t i = 0; i < kCatalogueSize; ++i) {
    EXPECT_EQ(reader.calls[i].section, kCatalogue[i].section);
    EXPECT_EQ(reader.calls[i].key, kCatalogue[i].key);
    EXPECT_EQ(reader.calls[i].fallback, kCatalogue[i].english);
    EXPECT_EQ(texts[i], kCatalogue[i].english);
  }
  EXPECT_EQ(messages.HelpFileName, "Vorlane_en.chm");
  EXPECT_EQ(messages.BrowseFont, "Browse Font");
  EXPECT_EQ(messages.PrinterNotSelected, "Printer not selected.");
}

TEST(Catalogue, OnlyTheTranslatedEntriesChange) {
  RecordingReader reader;
  reader.file[{"TrayMenu", "Exit"}] = "Quitter";
  reader.file[{"TrayMenu", "NoPrintersInSystem"}] = "Aucune imprimante.";
  reader.file[{"PreferencesWindow", "Title"}] = "";
  MessageCatalogue messages;
  const std::vector<std::string> texts = ReadCatalogue(reader.Function(), messages);
  for (const CatalogueEntry& entry : kCatalogue) {
    auto translated = reader.file.find({entry.section, entry.key});
    const std::string expected = translated == reader.file.end() ? entry.english : translated->second;
    EXPECT_EQ(TextOf(texts, entry.id), expected) << entry.key;
  }
  EXPECT_EQ(messages.NoPrintersInSystem, "Aucune imprimante.");
  EXPECT_EQ(messages.UnableSetEntireScreenSC, EntryOf(TextId::UnableSetEntireScreenSC).english);
}

TEST(Catalogue, KeptMessagesComeFromTheirOwnRows) {
  // Every row a distinct text, so a message taken from a wrong row shows.
  std::vector<std::string> texts;
  for (const CatalogueEntry& entry : kCatalogue) texts.push_back(std::string("text of ") + entry.key);
  texts[IndexOf(TextId::HelpFileName)] = "Hilfe.chm";
  const MessageCatalogue messages = MessagesFrom(texts);
  EXPECT_EQ(messages.HelpFileName, "Hilfe.chm");
  EXPECT_EQ(messages.UnableSetEntireScreenSC, "text of UnableSetEntireScreenSC");
  EXPECT_EQ(messages.UnableSetActiveWindowSC, "text of UnableSetActiveWindowSC");
  EXPECT_EQ(messages.BrowseFont, "text of BrowseFont");
  EXPECT_EQ(messages.NoPrintersInSystem, "text of NoPrintersInSystem");
  EXPECT_EQ(messages.PrinterNotSelected, "text of PrinterNotSelected");
}

TEST(Catalogue, WorksWithTheLanguageFileReader) {
  const std::string file = "[FileInfo]\nHelpFileName=..\\..\\evil.chm\n[TrayMenu]\nBrowseFont=Schriftart\n";
  MessageCatalogue messages;
  const auto texts = ReadCatalogue(
      [&file](const std::string& section, const std::string& key, const std::string& fallback) {
        return ReadLanguageStringFrom(file, section, key, fallback);
      },
      messages);
  EXPECT_EQ(TextOf(texts, TextId::BrowseFont), "Schriftart");
  EXPECT_EQ(TextOf(texts, TextId::HelpFileName), "..\\..\\evil.chm");
  EXPECT_EQ(messages.HelpFileName, "Vorlane_en.chm");
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

TEST(Catalogue, ErrorsSpeakTheAppliedLanguageWithTheirFieldsFilledIn) {
  const LocalisedError error(TextId::ShotBitmapNotMade, {{"%WIDTH%", "30000"}, {"%HEIGHT%", "%WIDTH%"}});
  EXPECT_STREQ(error.what(), "No bitmap of 30000 x %WIDTH% pixels could be made for the shot.");
  MessageCatalogue german;
  EXPECT_EQ(error.Text(german), error.what()) << "English before any language is applied";
  RecordingReader reader;
  reader.file[{"Messages", "ShotBitmapNotMade"}] = "%HEIGHT% x %WIDTH% und %WIDTH%";
  ReadCatalogue(reader.Function(), german);
  EXPECT_EQ(error.Text(german), "%WIDTH% x 30000 und 30000");
}
