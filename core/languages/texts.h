#pragma once
// Every text the user reads that a language file may translate, declared once
// here: its section and key in a language file, its English default, and the
// place it shows. The identifiers, the reading of a language file and the
// applying of its texts are all made from this one list.
#include <array>
#include <cstddef>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/languages/language_file.h"
#include "resources/resource.h"

// Where a text shows. Kept texts are used when they are needed: messages, the
// help file name, the tray menu's captions.
enum class TextPlace {
  Kept,
  WindowCaption,  // the Preferences window's title
  Caption,        // the text of a control
  GroupCaption,   // the text of a group box, with one blank on each side
  TabTitle,       // index: the tab page, General 0, Printing 1, Watermark 2, Timer 3
  ListItem,       // index: the item, replaced in place
};

// X(key, section, English, place, control, index), in reading order. A text's
// key in its section is the name of its identifier.
// clang-format off
#define VORLANE_TEXTS(X) \
  X(HelpFileName, FileInfo, "Vorlane_en.chm", Kept, 0, 0) \
  X(Culture, FileInfo, "en-US", Kept, 0, 0) \
  X(Title, PreferencesWindow, "Preferences", WindowCaption, 0, 0) \
  X(ButtonOK, PreferencesWindow, "OK", Caption, IDC_OK, 0) \
  X(ButtonCancel, PreferencesWindow, "Cancel", Caption, IDC_CANCEL, 0) \
  X(ButtonApply, PreferencesWindow, "Apply", Caption, IDC_APPLY, 0) \
  X(ManagedByOrganisation, PreferencesWindow, "Some settings are managed by your organisation.", Caption, IDC_MANAGED_NOTE, 0) \
  X(GeneralTitle, PreferencesWindow, "General", TabTitle, IDC_PAGES, 0) \
  X(GeneralShortcutsTitle, PreferencesWindow, "Shortcuts", GroupCaption, IDC_SHORTCUTS_GROUP, 0) \
  X(GeneralShortcutsEntireScreen, PreferencesWindow, "Entire screen", Caption, IDC_ENTIRE_SCREEN_LABEL, 0) \
  X(GeneralShortcutsActiveWindow, PreferencesWindow, "Active window", Caption, IDC_ACTIVE_WINDOW_LABEL, 0) \
  X(GeneralShortcutsRegion, PreferencesWindow, "Region", Caption, IDC_REGION_LABEL, 0) \
  X(GeneralShortcutsKey, PreferencesWindow, "Key", Caption, IDC_KEY_LABEL, 0) \
  X(GeneralShortcutsBox, PreferencesWindow, "%SHORTCUT%: %KEY%", Kept, 0, 0) \
  X(GeneralLanguage, PreferencesWindow, "Language", Caption, IDC_LANGUAGE_LABEL, 0) \
  X(GeneralRefreshLanguages, PreferencesWindow, "Refresh", Caption, IDC_REFRESH_LANGUAGES, 0) \
  X(GeneralDefaultTrayAction, PreferencesWindow, "Tray icon default action", Caption, IDC_DEFAULT_ACTION_LABEL, 0) \
  X(GeneralCaptureScreen, PreferencesWindow, "Screen to print", Caption, IDC_CAPTURE_SCREEN_LABEL, 0) \
  X(GeneralCaptureScreenPrimary, PreferencesWindow, "Primary screen", ListItem, IDC_CAPTURE_SCREEN, 0) \
  X(GeneralCaptureScreenMouse, PreferencesWindow, "Screen under the mouse pointer", ListItem, IDC_CAPTURE_SCREEN, 1) \
  X(GeneralCaptureScreenAll, PreferencesWindow, "All screens", ListItem, IDC_CAPTURE_SCREEN, 2) \
  X(WatermarkTitle, PreferencesWindow, "Watermark", TabTitle, IDC_PAGES, 2) \
  X(WatermarkMake, PreferencesWindow, "Make watermark", Caption, IDC_MAKE_WATERMARK, 0) \
  X(WatermarkLocation, PreferencesWindow, "Location", Caption, IDC_WATERMARK_CORNER_LABEL, 0) \
  X(WatermarkText, PreferencesWindow, "Text", Caption, IDC_WATERMARK_TEXT_LABEL, 0) \
  X(WatermarkFont, PreferencesWindow, "Font", Caption, IDC_WATERMARK_FONT_LABEL, 0) \
  X(WatermarkFontColor, PreferencesWindow, "Color", Caption, IDC_WATERMARK_COLOR, 0) \
  X(WatermarkTransparency, PreferencesWindow, "Transparency", GroupCaption, IDC_TRANSPARENCY_GROUP, 0) \
  X(WatermarkSolid, PreferencesWindow, "Solid", Caption, IDC_SOLID_LABEL, 0) \
  X(WatermarkInvisible, PreferencesWindow, "Invisible", Caption, IDC_INVISIBLE_LABEL, 0) \
  X(WatermarkLocationLT, PreferencesWindow, "Top-left corner", ListItem, IDC_WATERMARK_CORNER, 0) \
  X(WatermarkLocationRT, PreferencesWindow, "Top-right corner", ListItem, IDC_WATERMARK_CORNER, 1) \
  X(WatermarkLocationLB, PreferencesWindow, "Bottom-left corner", ListItem, IDC_WATERMARK_CORNER, 2) \
  X(WatermarkLocationRB, PreferencesWindow, "Bottom-right corner", ListItem, IDC_WATERMARK_CORNER, 3) \
  X(TimerTitle, PreferencesWindow, "Timer", TabTitle, IDC_PAGES, 3) \
  X(TimerDelayedCapture, PreferencesWindow, "Delayed capture", Caption, IDC_DELAYED_CAPTURE, 0) \
  X(TimerSeveralShots, PreferencesWindow, "Make several shots", Caption, IDC_SEVERAL_SHOTS, 0) \
  X(TimerDelay, PreferencesWindow, "Delay (sec.) :", Caption, IDC_DELAY_LABEL, 0) \
  X(TimerNumberOfShots, PreferencesWindow, "Number of shots :", Caption, IDC_NUMBER_OF_SHOTS_LABEL, 0) \
  X(TimerInterval, PreferencesWindow, "Interval (sec.) :", Caption, IDC_INTERVAL_LABEL, 0) \
  X(TimerShotsPerPage, PreferencesWindow, "Shots per page :", Caption, IDC_SHOTS_PER_PAGE_LABEL, 0) \
  X(TimerShotsPerPage1, PreferencesWindow, "1", ListItem, IDC_SHOTS_PER_PAGE, 0) \
  X(TimerShotsPerPage2, PreferencesWindow, "2", ListItem, IDC_SHOTS_PER_PAGE, 1) \
  X(TimerShotsPerPage4, PreferencesWindow, "4", ListItem, IDC_SHOTS_PER_PAGE, 2) \
  X(PrintingTitle, PreferencesWindow, "Printing", TabTitle, IDC_PAGES, 1) \
  X(PrintingPrinter, PreferencesWindow, "Printer", Caption, IDC_PRINTER_LABEL, 0) \
  X(PrintingFitToPage, PreferencesWindow, "Fit to page", Caption, IDC_FIT_TO_PAGE, 0) \
  X(PrintingPagePosition, PreferencesWindow, "Position", Caption, IDC_PAGE_POSITION_LABEL, 0) \
  X(PrintingPagePositionLT, PreferencesWindow, "Top-left", ListItem, IDC_PAGE_POSITION, 0) \
  X(PrintingPagePositionCT, PreferencesWindow, "Top-center", ListItem, IDC_PAGE_POSITION, 1) \
  X(PrintingPagePositionRT, PreferencesWindow, "Top-right", ListItem, IDC_PAGE_POSITION, 2) \
  X(PrintingPagePositionLM, PreferencesWindow, "Middle-left", ListItem, IDC_PAGE_POSITION, 3) \
  X(PrintingPagePositionC, PreferencesWindow, "Center", ListItem, IDC_PAGE_POSITION, 4) \
  X(PrintingPagePositionRM, PreferencesWindow, "Middle-right", ListItem, IDC_PAGE_POSITION, 5) \
  X(PrintingPagePositionLB, PreferencesWindow, "Bottom-left", ListItem, IDC_PAGE_POSITION, 6) \
  X(PrintingPagePositionCB, PreferencesWindow, "Bottom-center", ListItem, IDC_PAGE_POSITION, 7) \
  X(PrintingPagePositionRB, PreferencesWindow, "Bottom-right", ListItem, IDC_PAGE_POSITION, 8) \
  X(PrintingOrientation, PreferencesWindow, "Orientation", Caption, IDC_ORIENTATION_LABEL, 0) \
  X(PrintingOrientationAsSet, PreferencesWindow, "As the printer is set", ListItem, IDC_ORIENTATION, 0) \
  X(PrintingOrientationAutomatic, PreferencesWindow, "Automatic", ListItem, IDC_ORIENTATION, 1) \
  X(PrintingOrientationPortrait, PreferencesWindow, "Portrait", ListItem, IDC_ORIENTATION, 2) \
  X(PrintingOrientationLandscape, PreferencesWindow, "Landscape", ListItem, IDC_ORIENTATION, 3) \
  X(PrintingCopies, PreferencesWindow, "Copies", Caption, IDC_COPIES_LABEL, 0) \
  X(PrintingGrayscale, PreferencesWindow, "Print in grayscale", Caption, IDC_GRAYSCALE, 0) \
  X(PrintingColors, PreferencesWindow, "Colors on paper", Caption, IDC_PRINT_COLORS_LABEL, 0) \
  X(PrintingColorsAsOnScreen, PreferencesWindow, "As on screen", ListItem, IDC_PRINT_COLORS, 0) \
  X(PrintingColorsLightBackground, PreferencesWindow, "Light background", ListItem, IDC_PRINT_COLORS, 1) \
  X(PrintingColorsBlackAndWhite, PreferencesWindow, "Black and white", ListItem, IDC_PRINT_COLORS, 2) \
  X(PrintingCaptureMousePointer, PreferencesWindow, "Include the mouse pointer", Caption, IDC_CAPTURE_MOUSE_POINTER, 0) \
  X(PrintingFileAutoSave, PreferencesWindow, "Save pages of file printers without asking", Caption, IDC_FILE_PRINTER_AUTOSAVE, 0) \
  X(PrintingFileFolder, PreferencesWindow, "Folder", Caption, IDC_FILE_PRINTER_FOLDER_LABEL, 0) \
  X(PrintingBrowseFolder, PreferencesWindow, "Browse...", Caption, IDC_BROWSE_FOLDER, 0) \
  X(PrintingPrinterNotInstalled, PreferencesWindow, "%PRINTER% (not installed)", Kept, 0, 0) \
  X(PrintingFolderTitle, PreferencesWindow, "Folder for the pages of file printers", Kept, 0, 0) \
  X(TakeEntireScreen, TrayMenu, "Take entire screen", Kept, 0, 0) \
  X(TakeActiveWindow, TrayMenu, "Take active window", Kept, 0, 0) \
  X(TakeRegion, TrayMenu, "Take region", Kept, 0, 0) \
  X(PrintAgain, TrayMenu, "Print again", Kept, 0, 0) \
  X(RunOnStartup, TrayMenu, "Run on startup", Kept, 0, 0) \
  X(Preferences, TrayMenu, "Preferences", Kept, 0, 0) \
  X(Help, TrayMenu, "Help", Kept, 0, 0) \
  X(About, TrayMenu, "About", Kept, 0, 0) \
  X(Exit, TrayMenu, "Exit", Kept, 0, 0) \
  X(UnableSetEntireScreenSC, TrayMenu, "Unable to assign entire screen shortcut, try another.", Kept, 0, 0) \
  X(UnableSetActiveWindowSC, TrayMenu, "Unable to assign active window shortcut, try another.", Kept, 0, 0) \
  X(UnableSetRegionSC, TrayMenu, "Unable to assign region shortcut, try another.", Kept, 0, 0) \
  X(BrowseFont, TrayMenu, "Browse Font", Kept, 0, 0) \
  X(NoPrintersInSystem, TrayMenu, "There are no printers installed.", Kept, 0, 0) \
  X(PrinterNotSelected, TrayMenu, "Printer not selected.", Kept, 0, 0) \
  X(ScreenNotRead, Messages, "The screen could not be read.", Kept, 0, 0) \
  X(ShotBitmapNotMade, Messages, "No bitmap of %WIDTH% x %HEIGHT% pixels could be made for the shot.", Kept, 0, 0) \
  X(ShotDeviceContextNotMade, Messages, "No device context could be made for the shot.", Kept, 0, 0) \
  X(PrintJobNotStarted, Messages, "The print job could not be started.", Kept, 0, 0) \
  X(PrintJobNotFinished, Messages, "The print job could not be finished.", Kept, 0, 0) \
  X(PrintingInProgress, Messages, "Printing in progress", Kept, 0, 0) \
  X(CommandLineOptions, Messages, "Vorlane.exe understands one of these options, written with / or -:", Kept, 0, 0) \
  X(CaptureRefusedWhileRegion, Messages, "A region is being chosen: the capture asked for meanwhile was not taken. Choose the region or press Esc, then ask again.", Kept, 0, 0) \
  X(PageFolderNotWritable, Messages, "Pages cannot be saved in the folder \"%FOLDER%\". Choose another folder on the Printing tab of the Preferences.", Kept, 0, 0) \
  X(PolicySupportedOn, Policies, "At least Vorlane %VERSION%", Kept, 0, 0) \
  X(PolicyExplain, Policies, "Sets \"%SETTING%\" on the %TAB% tab of the Preferences for the users the policy applies to, who see it greyed and cannot change it. A computer policy wins over a user policy. Not configured, each user's own choice counts.", Kept, 0, 0) \
  X(PolicyModifierKeys, Policies, "Modifier keys", Kept, 0, 0) \
  X(PolicyKeyCode, Policies, "The value is the key's virtual-key code, such as 44 for Print Screen.", Kept, 0, 0) \
  X(PolicyFontName, Policies, "Name", Kept, 0, 0) \
  X(PolicyFontSize, Policies, "Size", Kept, 0, 0) \
  X(PolicyFontStyle, Policies, "Style", Kept, 0, 0) \
  X(PolicyFontStyleValues, Policies, "0 is regular, 1 bold, 2 italic and 3 bold italic.", Kept, 0, 0) \
  X(PolicyColorValue, Policies, "The value is the colour as 65536 x blue + 256 x green + red, each from 0 to 255.", Kept, 0, 0) \
  X(DisablePreferences, Policies, "Remove Preferences from the tray menu", Kept, 0, 0) \
  X(DisablePreferencesExplain, Policies, "Takes Preferences out of the tray menu, so that the users the policy applies to cannot open the Preferences window. A double click on the tray icon then prints the screen if that is its default action, and does nothing otherwise.", Kept, 0, 0) \
  X(RegionHint, RegionWindow, "Choose a region: drag with the mouse, or press Enter at one corner and again at the other. A click takes a window. Esc cancels.", Kept, 0, 0) \
  X(RegionSize, RegionWindow, "%WIDTH% x %HEIGHT%", Kept, 0, 0)
// clang-format on

enum class TextId : size_t {
#define VORLANE_TEXT_ID(key, ...) key,
  VORLANE_TEXTS(VORLANE_TEXT_ID)
#undef VORLANE_TEXT_ID
};

// The names of the tray icon's default actions, by the DefaultAction value
// they stand for: the tray menu's names of the commands chosen.
inline constexpr TextId kDefaultActionItems[] = {TextId::TakeEntireScreen, TextId::Preferences, TextId::TakeRegion};

struct TextRow {
  TextId id;
  const char* section;
  const char* key;
  const char* english;
  TextPlace place;
  int control;  // an IDC_ identifier
  int index;
};

inline constexpr TextRow kTextRows[] = {
#define VORLANE_TEXT_ROW(key, section, english, place, control, index) \
  {TextId::key, #section, #key, english, TextPlace::place, control, index},
    VORLANE_TEXTS(VORLANE_TEXT_ROW)
#undef VORLANE_TEXT_ROW
};
inline constexpr size_t kTextCount = std::size(kTextRows);

constexpr const TextRow& RowOf(TextId id) { return kTextRows[static_cast<size_t>(id)]; }
constexpr const char* English(TextId id) { return RowOf(id).english; }

// Reads one text of a language: (section, key, English default) -> text.
using LanguageReader =
    std::function<std::string(const std::string& section, const std::string& key, const std::string& fallback)>;

// The texts of one language.
class Texts {
 public:
  // The English defaults.
  Texts();
  // Every text read once, in reading order.
  explicit Texts(const LanguageReader& read);
  // The texts of a language file; a missing section or key gives the English default.
  explicit Texts(const LanguageFile& file);

  const std::string& operator[](TextId id) const { return texts_[static_cast<size_t>(id)]; }

  // The help file name made safe to append to the help folder.
  std::string HelpFileName() const;

 private:
  std::vector<std::string> texts_;
};

inline constexpr const char* kDefaultHelpFileName = "Vorlane_en.chm";

// A help file name from a language file, safe to append to the help folder:
// a name that could leave that folder (a path separator, a drive, "..") is
// replaced by the default name. An empty name stays empty.
std::string SafeHelpFileName(const std::string& name);
