#include "ui/languages/apply_texts.h"

#include <commctrl.h>

#include <array>

#include "ui/tray/tray_menu.h"
#include "core/languages/language_file.h"
#include "ui/settings/preferences_pages.h"
#include "resources/resource.h"

namespace {

enum class Target {
  Kept,           // only in the message catalogue
  WindowCaption,  // the Preferences window itself
  Caption,        // a control's text
  GroupCaption,   // a group box's text, one blank on each side
  TabTitle,       // index: the page
  ListItem,       // index: the item, replaced in place
  MenuCaption,    // id: the tray menu command
};

struct TextTarget {
  TextId text;
  Target target;
  int control = 0;  // a control's IDC_ identifier, or the menu command
  int index = 0;
};

using T = TextId;
using enum Target;

// Where each catalogue row goes, row for row in the catalogue's order.
constexpr std::array<TextTarget, kCatalogueSize> kTargets = {{
    {T::HelpFileName, Kept},
    {T::Title, WindowCaption},
    {T::ButtonOK, Caption, IDC_btOK},
    {T::ButtonCancel, Caption, IDC_btCancel},
    {T::ButtonApply, Caption, IDC_btApply},
    {T::GeneralTitle, TabTitle, IDC_pcMain, static_cast<int>(Page::General)},
    {T::GeneralShortcutsTitle, GroupCaption, IDC_gbShortcuts},
    {T::GeneralShortcutsEntireScreen, Caption, IDC_lbEntireScreen},
    {T::GeneralShortcutsActiveWindow, Caption, IDC_lbActiveWindow},
    {T::GeneralShortcutsKey, Caption, IDC_lbShortcutKey},
    {T::GeneralLanguage, Caption, IDC_lbLanguage},
    {T::GeneralRefreshLanguages, Caption, IDC_sbRefreshLanguages},
    {T::GeneralDefaultTrayAction, Caption, IDC_lbDefaultTrayAction},
    {T::WatermarkTitle, TabTitle, IDC_pcMain, static_cast<int>(Page::Watermark)},
    {T::WatermarkMake, Caption, IDC_cbxMakeWater},
    {T::WatermarkLocation, Caption, IDC_lbWaterLoc},
    {T::WatermarkText, Caption, IDC_lbWaterText},
    {T::WatermarkFont, Caption, IDC_lbWaterFont},
    {T::WatermarkFontColor, Caption, IDC_btColor},
    {T::WatermarkTransparency, GroupCaption, IDC_gbWaterTransp},
    {T::WatermarkSolid, Caption, IDC_lbSolid},
    {T::WatermarkInvisible, Caption, IDC_lbInvisible},
    {T::WatermarkLocationLT, ListItem, IDC_cbWaterLoc, 0},
    {T::WatermarkLocationRT, ListItem, IDC_cbWaterLoc, 1},
    {T::WatermarkLocationLB, ListItem, IDC_cbWaterLoc, 2},
    {T::WatermarkLocationRB, ListItem, IDC_cbWaterLoc, 3},
    {T::TimerTitle, TabTitle, IDC_pcMain, static_cast<int>(Page::Timer)},
    {T::TimerDelayedCapture, Caption, IDC_cbxDelayedCapture},
    {T::TimerSeveralShots, Caption, IDC_cbxSeveralShots},
    {T::TimerDelay, Caption, IDC_lbDelay},
    {T::TimerNumberOfShots, Caption, IDC_lbNumOfShots},
    {T::TimerInterval, Caption, IDC_lbInterval},
    {T::PrintingTitle, TabTitle, IDC_pcMain, static_cast<int>(Page::Printing)},
    {T::PrintingPrinter, Caption, IDC_lbPrinters},
    {T::PrintingFitToPage, Caption, IDC_cbxFitToPage},
    {T::PrintingPagePosition, Caption, IDC_lbPagePosition},
    {T::PrintingPagePositionLT, ListItem, IDC_cbPagePosition, 0},
    {T::PrintingPagePositionCT, ListItem, IDC_cbPagePosition, 1},
    {T::PrintingPagePositionRT, ListItem, IDC_cbPagePosition, 2},
    {T::PrintingPagePositionLM, ListItem, IDC_cbPagePosition, 3},
    {T::PrintingPagePositionC, ListItem, IDC_cbPagePosition, 4},
    {T::PrintingPagePositionRM, ListItem, IDC_cbPagePosition, 5},
    {T::PrintingPagePositionLB, ListItem, IDC_cbPagePosition, 6},
    {T::PrintingPagePositionCB, ListItem, IDC_cbPagePosition, 7},
    {T::PrintingPagePositionRB, ListItem, IDC_cbPagePosition, 8},
    {T::TakeEntireScreen, MenuCaption, IDM_ENTIRE_SCREEN},
    {T::TakeActiveWindow, MenuCaption, IDM_ACTIVE_WINDOW},
    {T::RunOnStartup, MenuCaption, IDM_AUTO_START},
    {T::Preferences, MenuCaption, IDM_PREFERENCES},
    {T::Help, MenuCaption, IDM_HELP},
    {T::About, MenuCaption, IDM_ABOUT},
    {T::Exit, MenuCaption, IDM_EXIT},
    {T::UnableSetEntireScreenSC, Kept},
    {T::UnableSetActiveWindowSC, Kept},
    {T::BrowseFont, Kept},
    {T::NoPrintersInSystem, Kept},
    {T::PrinterNotSelected, Kept},
    {T::ScreenNotRead, Kept},
    {T::ShotBitmapNotMade, Kept},
    {T::ShotDeviceContextNotMade, Kept},
    {T::PrintJobNotStarted, Kept},
    {T::PrintJobNotFinished, Kept},
}};

constexpr bool TargetsInCatalogueOrder() {
  for (size_t i = 0; i < kTargets.size(); ++i) {
    if (IndexOf(kTargets[i].text) != i) return false;
  }
  return true;
}
static_assert(TargetsInCatalogueOrder(), "one target per catalogue row, in the catalogue's order");

// Replaced in place: the item keeps its index and the list its selection.
void ReplaceListItem(HWND list, int index, const std::string& text) {
  const LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
  SendMessageA(list, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
  SendMessageA(list, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

void SetTabTitle(HWND tabs, int index, const std::string& text) {
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(text.c_str());
  SendMessageA(tabs, TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void Apply(const TextTarget& row, const std::string& text, PreferencesWindow& window, TrayMenu& menu) {
  switch (row.target) {
    case Kept:
      break;
    case WindowCaption:
      SetWindowTextA(window.handle(), text.c_str());
      break;
    case Caption:
      SetWindowTextA(window.Control(row.control), text.c_str());
      break;
    case GroupCaption:
      SetWindowTextA(window.Control(row.control), (" " + text + " ").c_str());
      break;
    case TabTitle:
      SetTabTitle(window.Control(row.control), row.index, text);
      break;
    case ListItem:
      ReplaceListItem(window.Control(row.control), row.index, text);
      break;
    case MenuCaption:
      menu.SetCaption(static_cast<UINT>(row.control), text);
      break;
  }
}

// The tray's default action list names the two menu items it chooses between,
// in their current captions.
void RefillDefaultActions(HWND list, const TrayMenu& menu) {
  const LRESULT selected = SendMessageA(list, CB_GETCURSEL, 0, 0);
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  for (UINT command : {IDM_ENTIRE_SCREEN, IDM_PREFERENCES}) {
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(menu.Caption(command).c_str()));
  }
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

}  // namespace

void ApplyLanguage(const std::string& path, PreferencesWindow& window, TrayMenu& menu, MessageCatalogue& catalogue) {
  // Read once for every text: a large file must not be read again for each.
  const LanguageFile file = ReadLanguageFile(path);
  MessageCatalogue messages;
  const std::vector<std::string> texts =
      ReadCatalogue([&file](const std::string& section, const std::string& key,
                            const std::string& fallback) { return file.Text(section, key, fallback); },
                    messages);
  for (const TextTarget& row : kTargets) Apply(row, TextOf(texts, row.text), window, menu);
  RefillDefaultActions(window.Control(IDC_cbDefaultAction), menu);
  catalogue = messages;
}
