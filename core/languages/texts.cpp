#include "core/languages/texts.h"

namespace {

constexpr const char* kFileInfo = "FileInfo";
constexpr const char* kWindow = "PreferencesWindow";
constexpr const char* kTray = "TrayMenu";
constexpr const char* kMessages = "Messages";

using T = TextId;

// The key of each row is the name of its TextId.
constexpr std::array<CatalogueEntry, kCatalogueSize> kRows = {{
    {T::HelpFileName, kFileInfo, "HelpFileName", kDefaultHelpFileName},
    {T::Title, kWindow, "Title", "Preferences"},
    {T::ButtonOK, kWindow, "ButtonOK", "OK"},
    {T::ButtonCancel, kWindow, "ButtonCancel", "Cancel"},
    {T::ButtonApply, kWindow, "ButtonApply", "Apply"},
    {T::GeneralTitle, kWindow, "GeneralTitle", "General"},
    {T::GeneralShortcutsTitle, kWindow, "GeneralShortcutsTitle", "Shortcuts"},
    {T::GeneralShortcutsEntireScreen, kWindow, "GeneralShortcutsEntireScreen", "Entire screen"},
    {T::GeneralShortcutsActiveWindow, kWindow, "GeneralShortcutsActiveWindow", "Active window"},
    {T::GeneralShortcutsKey, kWindow, "GeneralShortcutsKey", "Key"},
    {T::GeneralLanguage, kWindow, "GeneralLanguage", "Language"},
    {T::GeneralRefreshLanguages, kWindow, "GeneralRefreshLanguages", "Refresh"},
    {T::GeneralDefaultTrayAction, kWindow, "GeneralDefaultTrayAction", "Tray icon default action"},
    {T::WatermarkTitle, kWindow, "WatermarkTitle", "Watermark"},
    {T::WatermarkMake, kWindow, "WatermarkMake", "Make watermark"},
    {T::WatermarkLocation, kWindow, "WatermarkLocation", "Location"},
    {T::WatermarkText, kWindow, "WatermarkText", "Text"},
    {T::WatermarkFont, kWindow, "WatermarkFont", "Font"},
    {T::WatermarkFontColor, kWindow, "WatermarkFontColor", "Color"},
    {T::WatermarkTransparency, kWindow, "WatermarkTransparency", "Transparency"},
    {T::WatermarkSolid, kWindow, "WatermarkSolid", "Solid"},
    {T::WatermarkInvisible, kWindow, "WatermarkInvisible", "Invisible"},
    {T::WatermarkLocationLT, kWindow, "WatermarkLocationLT", "Top-left corner"},
    {T::WatermarkLocationRT, kWindow, "WatermarkLocationRT", "Top-right corner"},
    {T::WatermarkLocationLB, kWindow, "WatermarkLocationLB", "Bottom-left corner"},
    {T::WatermarkLocationRB, kWindow, "WatermarkLocationRB", "Bottom-right corner"},
    {T::TimerTitle, kWindow, "TimerTitle", "Timer"},
    {T::TimerDelayedCapture, kWindow, "TimerDelayedCapture", "Delayed capture"},
    {T::TimerSeveralShots, kWindow, "TimerSeveralShots", "Make several shots"},
    {T::TimerDelay, kWindow, "TimerDelay", "Delay (sec.) :"},
    {T::TimerNumberOfShots, kWindow, "TimerNumberOfShots", "Number of shots :"},
    {T::TimerInterval, kWindow, "TimerInterval", "Interval (sec.) :"},
    {T::PrintingTitle, kWindow, "PrintingTitle", "Printing"},
    {T::PrintingPrinter, kWindow, "PrintingPrinter", "Printer"},
    {T::PrintingFitToPage, kWindow, "PrintingFitToPage", "Fit to page"},
    {T::PrintingPagePosition, kWindow, "PrintingPagePosition", "Position"},
    {T::PrintingPagePositionLT, kWindow, "PrintingPagePositionLT", "Top-left"},
    {T::PrintingPagePositionCT, kWindow, "PrintingPagePositionCT", "Top-center"},
    {T::PrintingPagePositionRT, kWindow, "PrintingPagePositionRT", "Top-right"},
    {T::PrintingPagePositionLM, kWindow, "PrintingPagePositionLM", "Middle-left"},
    {T::PrintingPagePositionC, kWindow, "PrintingPagePositionC", "Center"},
    {T::PrintingPagePositionRM, kWindow, "PrintingPagePositionRM", "Middle-right"},
    {T::PrintingPagePositionLB, kWindow, "PrintingPagePositionLB", "Bottom-left"},
    {T::PrintingPagePositionCB, kWindow, "PrintingPagePositionCB", "Bottom-center"},
    {T::PrintingPagePositionRB, kWindow, "PrintingPagePositionRB", "Bottom-right"},
    {T::TakeEntireScreen, kTray, "TakeEntireScreen", "Take entire screen"},
    {T::TakeActiveWindow, kTray, "TakeActiveWindow", "Take active window"},
    {T::RunOnStartup, kTray, "RunOnStartup", "Run on startup"},
    {T::Preferences, kTray, "Preferences", "Preferences"},
    {T::Help, kTray, "Help", "Help"},
    {T::About, kTray, "About", "About"},
    {T::Exit, kTray, "Exit", "Exit"},
    {T::UnableSetEntireScreenSC, kTray, "UnableSetEntireScreenSC",
     "Unable to assign entire screen shortcut, try another."},
    {T::UnableSetActiveWindowSC, kTray, "UnableSetActiveWindowSC",
     "Unable to assign active window shortcut, try another."},
    {T::BrowseFont, kTray, "BrowseFont", "Browse Font"},
    {T::NoPrintersInSystem, kTray, "NoPrintersInSystem", "There are no printers installed."},
    {T::PrinterNotSelected, kTray, "PrinterNotSelected", "Printer not selected."},
    {T::ScreenNotRead, kMessages, "ScreenNotRead", "The screen could not be read."},
    {T::ShotBitmapNotMade, kMessages, "ShotBitmapNotMade",
     "No bitmap of %WIDTH% x %HEIGHT% pixels could be made for the shot."},
    {T::ShotDeviceContextNotMade, kMessages, "ShotDeviceContextNotMade",
     "No device context could be made for the shot."},
    {T::PrintJobNotStarted, kMessages, "PrintJobNotStarted", "The print job could not be started."},
    {T::PrintJobNotFinished, kMessages, "PrintJobNotFinished", "The print job could not be finished."},
}};

constexpr bool RowsInIdOrder() {
  for (size_t i = 0; i < kRows.size(); ++i) {
    if (IndexOf(kRows[i].id) != i) return false;
  }
  return true;
}
static_assert(RowsInIdOrder(), "a row's TextId must be its index");
static_assert(IndexOf(T::PrintJobNotFinished) + 1 == kCatalogueSize);

}  // namespace

const std::array<CatalogueEntry, kCatalogueSize> kCatalogue = kRows;

std::vector<std::string> ReadCatalogue(const LanguageReader& read, MessageCatalogue& messages) {
  std::vector<std::string> texts;
  texts.reserve(kCatalogue.size());
  for (const CatalogueEntry& entry : kCatalogue) texts.push_back(read(entry.section, entry.key, entry.english));
  messages = MessagesFrom(texts);
  return texts;
}

MessageCatalogue MessagesFrom(const std::vector<std::string>& texts) {
  return {
      SafeHelpFileName(TextOf(texts, T::HelpFileName)),
      TextOf(texts, T::UnableSetEntireScreenSC),
      TextOf(texts, T::UnableSetActiveWindowSC),
      TextOf(texts, T::BrowseFont),
      TextOf(texts, T::NoPrintersInSystem),
      TextOf(texts, T::PrinterNotSelected),
      texts,
  };
}

std::string MessageCatalogue::Text(TextId id) const {
  return IndexOf(id) < texts.size() ? texts[IndexOf(id)] : EntryOf(id).english;
}

std::string SafeHelpFileName(const std::string& name) {
  const bool leavesFolder = name.find_first_of("\\/:") != std::string::npos || name.find("..") != std::string::npos;
  return leavesFolder ? kDefaultHelpFileName : name;
}
