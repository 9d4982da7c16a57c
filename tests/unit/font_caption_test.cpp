#include "core/settings/font_caption.h"

#include <gtest/gtest.h>

TEST(FontCaption, AfterTheFontDialog) {
  const struct {
    const char* name;
    bool bold;
    bool italic;
    uint32_t size;
    const char* expected;
  } cases[] = {
      {"Arial", false, false, 12, "Arial , 12 pt"},
      {"Arial", true, false, 10, "Arial Bold, 10 pt"},
      {"Arial", false, true, 10, "Arial Italic, 10 pt"},
      {"Arial", true, true, 10, "Arial Bold Italic, 10 pt"},
      {"Times New Roman", true, true, 72, "Times New Roman Bold Italic, 72 pt"},
      {"Liberation Sans", false, false, 8, "Liberation Sans , 8 pt"},
  };
  for (const auto& c : cases) EXPECT_EQ(ChosenFontCaption(c.name, c.bold, c.italic, c.size), c.expected);
}

TEST(FontCaption, WhenStoredPreferencesAreShown) {
  const struct {
    const char* name;
    bool bold;
    bool italic;
    int32_t size;
    const char* browse;
    const char* expected;
  } cases[] = {
      {"Arial", false, false, 12, "Browse Font", "Arial, 12pt"},
      {"Arial", true, true, 10, "Browse Font", "Arial Bold Italic, 10pt"},
      {"Arial", true, false, 10, "Browse Font", "Arial Bold, 10pt"},
      {"Arial", false, true, 9, "Browse Font", "Arial Italic, 9pt"},
      {"Times New Roman", false, false, 100, "Browse Font", "Times New Roman, 100pt"},
      {"Arial", false, false, -3, "Browse Font", "Arial, -3pt"},
      {"", true, true, 10, "Browse Font", "Browse Font"},
      {"", false, false, 12, "Schriftart w\xE4hlen", "Schriftart w\xE4hlen"},
      {"", false, false, 12, "", ""},
      // A font that happens to share the button's text still shows its size.
      {"Browse Font", false, false, 12, "Browse Font", "Browse Font, 12pt"},
  };
  for (const auto& c : cases) EXPECT_EQ(StoredFontCaption(c.name, c.bold, c.italic, c.size, c.browse), c.expected);
}

TEST(FontCaption, TheSwatchIsNamedByItsColour) {
  EXPECT_EQ(ColorCaption("Color", 0x000080FF), "Color #FF8000");
  EXPECT_EQ(ColorCaption("Farbe", 0x00123456), "Farbe #563412");
  EXPECT_EQ(ColorCaption("Color", 0), "Color #000000");
  EXPECT_EQ(ColorCaption("Color", static_cast<int32_t>(0xFF00FF00)), "Color #00FF00") << "the high byte is not shown";
}
