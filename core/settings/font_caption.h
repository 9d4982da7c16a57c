#pragma once
// The captions that describe the watermark's font and colour.
#include <cstdint>
#include <string>

// After the font dialog: "%s %s, %u pt" from the name, the style text
// ("Bold", "Italic", "Bold Italic" or empty) and the point size, so a regular
// font reads "Arial , 12 pt".
std::string ChosenFontCaption(const std::string& name, bool bold, bool italic, uint32_t pointSize);

// When the stored preferences are shown: "Arial Bold Italic, 10pt"; the
// `browseFont` text when no font name is stored.
std::string StoredFontCaption(const std::string& name, bool bold, bool italic, int32_t pointSize,
                              const std::string& browseFont);

// The colour swatch's name: the caption, a blank and the colour stored as
// 0x00BBGGRR written as #RRGGBB ("Color #FF8000"); a high byte is not shown.
std::string ColorCaption(const std::string& caption, int32_t color);
