#pragma once
// The message catalogue: every text a language file may translate, with its
// section, key and English default, in the order in which the texts are read
// and applied.
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// One identifier per catalogue row, named after the row's key. The value is
// the row's index in kCatalogue.
enum class TextId : size_t {
  HelpFileName,
  Title,
  ButtonOK,
  ButtonCancel,
  ButtonApply,
  GeneralTitle,
  GeneralShortcutsTitle,
  GeneralShortcutsEntireScreen,
  GeneralShortcutsActiveWindow,
  GeneralShortcutsKey,
  GeneralLanguage,
  GeneralRefreshLanguages,
  GeneralDefaultTrayAction,
  WatermarkTitle,
  WatermarkMake,
  WatermarkLocation,
  WatermarkText,
  WatermarkFont,
  WatermarkFontColor,
  WatermarkTransparency,
  WatermarkSolid,
  WatermarkInvisible,
  WatermarkLocationLT,
  WatermarkLocationRT,
  WatermarkLocationLB,
  WatermarkLocationRB,
  TimerTitle,
  TimerDelayedCapture,
  TimerSeveralShots,
  TimerDelay,
  TimerNumberOfShots,
  TimerInterval,
  PrintingTitle,
  PrintingPrinter,
  PrintingFitToPage,
  PrintingPagePosition,
  PrintingPagePositionLT,
  PrintingPagePositionCT,
  PrintingPagePositionRT,
  PrintingPagePositionLM,
  PrintingPagePositionC,
  PrintingPagePositionRM,
  PrintingPagePositionLB,
  PrintingPagePositionCB,
  PrintingPagePositionRB,
  TakeEntireScreen,
  TakeActiveWindow,
  RunOnStartup,
  Preferences,
  Help,
  About,
  Exit,
  UnableSetEntireScreenSC,
  UnableSetActiveWindowSC,
  BrowseFont,
  NoPrintersInSystem,
  PrinterNotSelected,
  ScreenNotRead,
  ShotBitmapNotMade,
  ShotDeviceContextNotMade,
  PrintJobNotStarted,
  PrintJobNotFinished,
};

inline constexpr size_t kCatalogueSize = 62;

struct CatalogueEntry {
  TextId id;
  const char* section;
  const char* key;
  const char* english;
};

// Rows in reading order; kCatalogue[i].id is TextId(i).
extern const std::array<CatalogueEntry, kCatalogueSize> kCatalogue;

inline constexpr size_t IndexOf(TextId id) { return static_cast<size_t>(id); }
inline const CatalogueEntry& EntryOf(TextId id) { return kCatalogue[IndexOf(id)]; }

// The texts that other parts of the program use after a language is applied.
struct MessageCatalogue {
  std::string HelpFileName;
  std::string UnableSetEntireScreenSC;
  std::string UnableSetActiveWindowSC;
  std::string BrowseFont;
  std::string NoPrintersInSystem;
  std::string PrinterNotSelected;
  // Every text of the language, indexed by TextId; empty before the first.
  std::vector<std::string> texts;

  // The text of a row; its English default before any language is applied.
  std::string Text(TextId id) const;
};

// Reads one text: (section, key, English default) -> text.
using LanguageReader =
    std::function<std::string(const std::string& section, const std::string& key, const std::string& fallback)>;

// Every text of the catalogue, one read per row in table order; the result is
// indexed by TextId. Also fills `messages`.
std::vector<std::string> ReadCatalogue(const LanguageReader& read, MessageCatalogue& messages);

// The kept texts taken from a full set of catalogue texts.
MessageCatalogue MessagesFrom(const std::vector<std::string>& texts);

inline const std::string& TextOf(const std::vector<std::string>& texts, TextId id) { return texts[IndexOf(id)]; }

inline constexpr const char* kDefaultHelpFileName = "Vorlane_en.chm";

// A help file name from a language file, safe to append to the help folder:
// a name that could leave that folder (a path separator, a drive, "..") is
// replaced by the default name. An empty name stays empty.
std::string SafeHelpFileName(const std::string& name);
