#include "ui/settings/layout.h"

#include <commctrl.h>

#include "ui/settings/controls.h"

namespace {

using K = ControlKind;
using T = TextId;

struct KindStyle {
  const char* windowClass;
  DWORD style;
  DWORD exStyle;
};

// Indexed by ControlKind; a swatch is made by its own class.
constexpr KindStyle kKindStyles[] = {
    {"STATIC", SS_LEFT, 0},
    {"STATIC", SS_CENTER, 0},
    {"STATIC", SS_RIGHT, 0},
    {"STATIC", SS_LEFT | SS_NOTIFY, 0},
    {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {"BUTTON", BS_GROUPBOX, 0},
    {TRACKBAR_CLASSA, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 0},
    {nullptr, 0, 0},
};

constexpr ControlLayout kGeneralControls[] = {
    {IDC_lbLanguage, K::Label, English(T::GeneralLanguage), 12, 15, 90, 16},
    {IDC_cbLanguage, K::List, "", 110, 12, 170, 200},
    {IDC_sbRefreshLanguages, K::Button, English(T::GeneralRefreshLanguages), 290, 10, 80, kButtonHeight},
    {IDC_gbShortcuts, K::Group, English(T::GeneralShortcutsTitle), 8, 48, 400, 112},
    {kNoControlId, K::CentredLabel, "Ctrl", 127, 70, 30, 16},
    {kNoControlId, K::CentredLabel, "+", 158, 70, 10, 16},
    {kNoControlId, K::CentredLabel, "Alt", 169, 70, 30, 16},
    {kNoControlId, K::CentredLabel, "+", 200, 70, 10, 16},
    {kNoControlId, K::CentredLabel, "Shift", 211, 70, 30, 16},
    {kNoControlId, K::CentredLabel, "+", 242, 70, 10, 16},
    {kNoControlId, K::CentredLabel, "Win", 253, 70, 30, 16},
    {kNoControlId, K::CentredLabel, "+", 286, 70, 10, 16},
    {IDC_lbShortcutKey, K::Label, English(T::GeneralShortcutsKey), 300, 70, 96, 16},
    {IDC_lbEntireScreen, K::Label, English(T::GeneralShortcutsEntireScreen), 16, 95, 110, 16},
    {IDC_cbxSCEntireScreenCtrl, K::Check, "", 134, 93, 16, 20},
    {IDC_cbxSCEntireScreenAlt, K::Check, "", 176, 93, 16, 20},
    {IDC_cbxSCEntireScreenShift, K::Check, "", 218, 93, 16, 20},
    {IDC_cbxSCEntireScreenWin, K::Check, "", 260, 93, 16, 20},
    {IDC_cbSCEntireScreenKey, K::List, "", 300, 92, 96, 300},
    {IDC_lbActiveWindow, K::Label, English(T::GeneralShortcutsActiveWindow), 16, 127, 110, 16},
    {IDC_cbxSCActiveWindowCtrl, K::Check, "", 134, 125, 16, 20},
    {IDC_cbxSCActiveWindowAlt, K::Check, "", 176, 125, 16, 20},
    {IDC_cbxSCActiveWindowShift, K::Check, "", 218, 125, 16, 20},
    {IDC_cbxSCActiveWindowWin, K::Check, "", 260, 125, 16, 20},
    {IDC_cbSCActiveWindowKey, K::List, "", 300, 124, 96, 300},
    {IDC_lbDefaultTrayAction, K::Label, English(T::GeneralDefaultTrayAction), 12, 181, 150, 16},
    {IDC_cbDefaultAction, K::List, "", 170, 178, 200, 100},
    {IDC_lbHome, K::Link, "", 12, 250, 200, 16},
};

constexpr ControlLayout kPrintingControls[] = {
    {IDC_lbPrinters, K::Label, English(T::PrintingPrinter), 12, 15, 70, 16},
    {IDC_cbPrinters, K::List, "", 90, 12, 220, 200},
    {IDC_lbPagePosition, K::Label, English(T::PrintingPagePosition), 12, 83, 70, 16},
    {IDC_cbPagePosition, K::List, "", 90, 80, 160, 240},
    {IDC_Button1, K::Button, "Properties", 318, 10, 85, kButtonHeight},
    {IDC_cbxFitToPage, K::Check, English(T::PrintingFitToPage), 90, 46, 220, 20},
};

constexpr ControlLayout kWatermarkControls[] = {
    {IDC_cbxMakeWater, K::Check, English(T::WatermarkMake), 12, 10, 250, 20},
    {IDC_lbWaterLoc, K::Label, English(T::WatermarkLocation), 12, 45, 80, 16},
    {IDC_cbWaterLoc, K::List, "", 100, 42, 200, 200, true},
    {IDC_lbWaterText, K::Label, English(T::WatermarkText), 12, 77, 80, 16},
    {IDC_edWaterText, K::Edit, "", 100, 74, 300, 22, true},
    {IDC_lbWaterFont, K::Label, English(T::WatermarkFont), 12, 109, 80, 16},
    {IDC_btFont, K::Button, English(T::BrowseFont), 100, 105, 300, kButtonHeight, true},
    {IDC_btColor, K::Button, English(T::WatermarkFontColor), 100, 137, 130, kButtonHeight, true},
    {IDC_shColor, K::Swatch, "", 194, 142, 28, 15},
    {IDC_gbWaterTransp, K::Group, English(T::WatermarkTransparency), 8, 172, 400, 90},
    {IDC_trbWaterTransp, K::TrackBar, "", 16, 192, 384, 32, true},
    {IDC_lbSolid, K::Label, English(T::WatermarkSolid), 22, 232, 120, 16},
    {IDC_lbInvisible, K::RightLabel, English(T::WatermarkInvisible), 274, 232, 120, 16},
};

constexpr ControlLayout kTimerControls[] = {
    {IDC_cbxDelayedCapture, K::Check, English(T::TimerDelayedCapture), 12, 10, 250, 20},
    {IDC_lbDelay, K::Label, English(T::TimerDelay), 30, 43, 110, 16},
    {IDC_edDelay, K::Edit, "", 150, 40, 70, 22},
    {IDC_cbxSeveralShots, K::Check, English(T::TimerSeveralShots), 12, 80, 250, 20},
    {IDC_lbNumOfShots, K::Label, English(T::TimerNumberOfShots), 30, 113, 110, 16},
    {IDC_edNumOfShots, K::Edit, "", 150, 110, 40, 22},
    {IDC_lbInterval, K::Label, English(T::TimerInterval), 210, 113, 100, 16},
    {IDC_edInterval, K::Edit, "", 315, 110, 70, 22},
};

}  // namespace

const PageLayout kPageLayouts[kPageCount] = {
    {IDC_tsGeneral, T::GeneralTitle, kGeneralControls},
    {IDC_tsPrinting, T::PrintingTitle, kPrintingControls},
    {IDC_tsWatermark, T::WatermarkTitle, kWatermarkControls},
    {IDC_tsTimer, T::TimerTitle, kTimerControls},
};

std::string GroupCaption(const std::string& text) { return " " + text + " "; }

HWND CreateControl(const ControlLayout& layout, HWND parent) {
  const KindStyle& kind = kKindStyles[static_cast<int>(layout.kind)];
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style | (layout.disabled ? WS_DISABLED : 0);
  const std::string text = layout.kind == ControlKind::Group ? GroupCaption(layout.text) : layout.text;
  HWND control = CreateWindowExA(kind.exStyle, kind.windowClass, text.c_str(), style, layout.x, layout.y, layout.width,
                                 layout.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                                 GetModuleHandleA(nullptr), nullptr);
  Send(control, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), FALSE);
  return control;
}
