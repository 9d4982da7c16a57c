#pragma once
// The caption of the watermark font button, which describes the chosen font.
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
