#include "core/output/watermark.h"

#include <gtest/gtest.h>

TEST(ReplaceFirst, ChangesOnlyTheFirstExactOccurrence) {
  struct Case {
    const char* text;
    const char* pattern;
    const char* replacement;
    bool replaced;
    const char* result;
  };
  const Case cases[] = {
      {"no macro here", "%DATE%", "1/2/2024", false, "no macro here"},
      {"anything", "", "x", false, "anything"},
      {"", "", "x", false, ""},
      {"", "%DATE%", "x", false, ""},
      {"%DATE% at start", "%DATE%", "D", true, "D at start"},
      {"at end %DATE%", "%DATE%", "D", true, "at end D"},
      {"%DATE%", "%DATE%", "", true, ""},
      {"%DATE%%DATE%", "%DATE%", "D", true, "D%DATE%"},
      {"a %DATE% b %DATE% c", "%DATE%", "longer text", true, "a longer text b %DATE% c"},
      {"%date% %Date%", "%DATE%", "D", false, "%date% %Date%"},
      {"%DATE", "%DATE%", "D", false, "%DATE"},
      {"%%DATE%%", "%DATE%", "D", true, "%D%"},
      {"aaa", "aa", "b", true, "ba"},
      {"x", "x", "xx", true, "xx"},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(ReplaceFirst(text, c.pattern, c.replacement), c.replaced) << c.text << " / " << c.pattern;
    EXPECT_EQ(text, c.result) << c.text << " / " << c.pattern;
  }
}

TEST(ReplaceFirst, KeepsBytesAroundEmbeddedZerosAndHighCharacters) {
  std::string text("a\0b%WINDOW%\xE9", 12);
  EXPECT_TRUE(ReplaceFirst(text, "%WINDOW%", "\xC4"));
  EXPECT_EQ(text, std::string("a\0b\xC4\xE9", 5));
}

TEST(ExpandWatermarkText, ReplacesEachMacroOnceInFixedOrder) {
  struct Case {
    const char* text;
    const char* title;
    const char* expanded;
  };
  const char* date = "24.12.2023";
  const char* time = "18:05:09";
  const Case cases[] = {
      {"%DATE% %TIME%", "", "24.12.2023 18:05:09"},
      {"", "Editor", ""},
      {"plain text", "Editor", "plain text"},
      {"%DATE% and %DATE%", "", "24.12.2023 and %DATE%"},
      {"%TIME%%TIME%%WINDOW%%WINDOW%", "W", "18:05:09%TIME%W%WINDOW%"},
      {"%date% %time% %window%", "Editor", "%date% %time% %window%"},
      {"[%WINDOW%]", "", "[]"},
      {"%WINDOW%", "Report %DATE% %TIME%", "Report %DATE% %TIME%"},
      {"%WINDOW% %DATE%", "%TIME%", "%TIME% 24.12.2023"},
      {"%WINDOW% %TIME% %DATE%", "x", "x 18:05:09 24.12.2023"},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandWatermarkText(c.text, date, time, c.title), c.expanded) << c.text;
}

TEST(ExpandWatermarkText, OnlyLaterMacrosSeeWhatAnEarlierOneBroughtIn) {
  EXPECT_EQ(ExpandWatermarkText("%DATE%", "%TIME%", "12:00", ""), "12:00");
  EXPECT_EQ(ExpandWatermarkText("%DATE% %TIME%", "%TIME%", "12:00", ""), "12:00 %TIME%");
  EXPECT_EQ(ExpandWatermarkText("%TIME%", "D", "%DATE%", ""), "%DATE%");
  EXPECT_EQ(ExpandWatermarkText("%TIME%", "D", "%WINDOW%", "W"), "W");
}

TEST(WatermarkArgb, BuildsAlphaFromTransparencyAndSwapsRedAndBlue) {
  struct Case {
    int32_t colorRef;
    int32_t transparency;
    uint32_t argb;
  };
  const Case cases[] = {
      {0x000000FF, 0, 0xFFFF0000u},  // COLORREF red
      {0x0000FF00, 0, 0xFF00FF00u},  // green stays
      {0x00FF0000, 0, 0xFF0000FFu},  // COLORREF blue
      {0x00123456, 0, 0xFF563412u},
      {0x000000FF, 128, 0x7FFF0000u},
      {0x000000FF, 255, 0x00FF0000u},
      {0x00FFFFFF, 1, 0xFEFFFFFFu},
      {0x00000000, 256, 0xFF000000u},  // wraps: 255 - 256 = -1 = 255
      {0x00000000, 511, 0x00000000u},
      {0x00000000, -1, 0x00000000u},  // 256 mod 256
      {0x00000000, -2, 0x01000000u},
      {static_cast<int32_t>(0xAB112233), 0, 0xFF332211u},  // the unused top byte is dropped
      {-1, 0, 0xFFFFFFFFu},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WatermarkArgb(c.colorRef, c.transparency), c.argb)
        << std::hex << "colour " << c.colorRef << " transparency " << std::dec << c.transparency;
  }
}

TEST(CornerAlignment, EachCornerAlignsAgainstItsTwoEdges) {
  struct Case {
    int32_t location;
    TextAlignment vertical;
    TextAlignment horizontal;
  };
  const Case corners[] = {
      {0, TextAlignment::Near, TextAlignment::Near},
      {1, TextAlignment::Near, TextAlignment::Far},
      {2, TextAlignment::Far, TextAlignment::Near},
      {3, TextAlignment::Far, TextAlignment::Far},
  };
  for (const auto& c : corners) {
    const CornerAlignment* row = FindCornerAlignment(c.location);
    ASSERT_NE(row, nullptr) << c.location;
    EXPECT_EQ(row->location, c.location);
    EXPECT_EQ(row->vertical, c.vertical) << c.location;
    EXPECT_EQ(row->horizontal, c.horizontal) << c.location;
  }
  EXPECT_EQ(static_cast<int32_t>(TextAlignment::Near), 0);
  EXPECT_EQ(static_cast<int32_t>(TextAlignment::Far), 2);
}

TEST(CornerAlignment, OtherLocationsSetNothing) {
  for (int32_t location : {-1, 4, 9, 100, INT32_MIN, INT32_MAX}) EXPECT_EQ(FindCornerAlignment(location), nullptr);
}

TEST(WatermarkLayout, KeepsTenPixelsFromEveryEdgeAndNeverGoesNegative) {
  struct Case {
    uint32_t width;
    uint32_t height;
    float innerWidth;
    float innerHeight;
    bool room;
  };
  const Case cases[] = {
      {400, 300, 380.0f, 280.0f, true}, {1920, 1080, 1900.0f, 1060.0f, true},
      {21, 21, 1.0f, 1.0f, true},       {20, 400, 0.0f, 380.0f, false},
      {400, 20, 380.0f, 0.0f, false},   {20, 5, 0.0f, 0.0f, false},
      {10, 10, 0.0f, 0.0f, false},      {0, 0, 0.0f, 0.0f, false},
      {1, 1000, 0.0f, 980.0f, false},   {0xFFFFFFFFu, 30, 4294967275.0f, 10.0f, true},
  };
  for (const auto& c : cases) {
    const LayoutRect layout = WatermarkLayout(c.width, c.height);
    EXPECT_EQ(layout.x, 10.0f);
    EXPECT_EQ(layout.y, 10.0f);
    EXPECT_EQ(layout.width, c.innerWidth) << c.width << "x" << c.height;
    EXPECT_EQ(layout.height, c.innerHeight) << c.width << "x" << c.height;
    EXPECT_EQ(HasRoom(layout), c.room) << c.width << "x" << c.height;
  }
}
