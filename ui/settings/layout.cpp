#include "ui/settings/layout.h"

#include <commctrl.h>

#include "base/system_text.h"
#include "ui/settings/controls.h"

namespace {

using K = ControlKind;
using T = TextId;

struct KindStyle {
  const wchar_t* windowClass;
  DWORD style;
  DWORD exStyle;
};

// Indexed by ControlKind; a swatch is made by its own class.
constexpr KindStyle kKindStyles[] = {
    {L"STATIC", SS_LEFT, 0},
    {L"STATIC", SS_CENTER, 0},
    {L"STATIC", SS_RIGHT, 0},
    {L"STATIC", SS_LEFT | SS_NOTIFY, 0},
    {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {L"BUTTON", BS_GROUPBOX, 0},
    {TRACKBAR_CLASSW, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 0},
    {nullptr, 0, 0},
};

constexpr ControlLayout kGeneralControls[] = {
    {IDC_LANGUAGE_LABEL, K::Label, English(T::GeneralLanguage), 12, 15, 90, 16},
    {IDC_LANGUAGE, K::List, "", 110, 12, 170, 200},
    {IDC_REFRESH_LANGUAGES, K::Button, English(T::GeneralRefreshLanguages), 290, 10, 80, kButtonHeight},
    {IDC_SHORTCUTS_GROUP, K::Group, English(T::GeneralShortcutsTitle), 8, 48, 400, 112},
    {kNoControlId, K::CentredLabel, "Ctrl", 127, 70, 30, 16},
    {kNoControlId, K::CentredLabel, "+", 158, 70, 10, 16},
    {kNoControlId, K::CentredLabel, "Alt", 169, 70, 30, 16},
    {kNoControlId, K::CentredLabel, "+", 200, 70, 10, 16},
    {kNoControlId, K::CentredLabel, "Shift", 211, 70, 30, 16},
    {kNoControlId, K::CentredLabel, "+", 242, 70, 10, 16},
    {kNoControlId, K::CentredLabel, "Win", 253, 70, 30, 16},
    {kNoControlId, K::CentredLabel, "+", 286, 70, 10, 16},
    {IDC_KEY_LABEL, K::Label, English(T::GeneralShortcutsKey), 300, 70, 96, 16},
    {IDC_ENTIRE_SCREEN_LABEL, K::Label, English(T::GeneralShortcutsEntireScreen), 16, 95, 110, 16},
    {IDC_ENTIRE_SCREEN_CTRL, K::Check, "", 134, 93, 16, 20},
    {IDC_ENTIRE_SCREEN_ALT, K::Check, "", 176, 93, 16, 20},
    {IDC_ENTIRE_SCREEN_SHIFT, K::Check, "", 218, 93, 16, 20},
    {IDC_ENTIRE_SCREEN_WIN, K::Check, "", 260, 93, 16, 20},
    {IDC_ENTIRE_SCREEN_KEY, K::List, "", 300, 92, 96, 300},
    {IDC_ACTIVE_WINDOW_LABEL, K::Label, English(T::GeneralShortcutsActiveWindow), 16, 127, 110, 16},
    {IDC_ACTIVE_WINDOW_CTRL, K::Check, "", 134, 125, 16, 20},
    {IDC_ACTIVE_WINDOW_ALT, K::Check, "", 176, 125, 16, 20},
    {IDC_ACTIVE_WINDOW_SHIFT, K::Check, "", 218, 125, 16, 20},
    {IDC_ACTIVE_WINDOW_WIN, K::Check, "", 260, 125, 16, 20},
    {IDC_ACTIVE_WINDOW_KEY, K::List, "", 300, 124, 96, 300},
    {IDC_DEFAULT_ACTION_LABEL, K::Label, English(T::GeneralDefaultTrayAction), 12, 181, 150, 16},
    {IDC_DEFAULT_ACTION, K::List, "", 170, 178, 200, 100},
    {IDC_HOME_PAGE_LINK, K::Link, "", 12, 250, 200, 16},
};

constexpr ControlLayout kPrintingControls[] = {
    {IDC_PRINTER_LABEL, K::Label, English(T::PrintingPrinter), 12, 15, 70, 16},
    {IDC_PRINTER, K::List, "", 90, 12, 220, 200},
    {IDC_PAGE_POSITION_LABEL, K::Label, English(T::PrintingPagePosition), 12, 83, 70, 16},
    {IDC_PAGE_POSITION, K::List, "", 90, 80, 160, 240},
    {IDC_PRINTER_PROPERTIES, K::Button, "Properties", 318, 10, 85, kButtonHeight},
    {IDC_FIT_TO_PAGE, K::Check, English(T::PrintingFitToPage), 90, 46, 220, 20},
    {IDC_ORIENTATION_LABEL, K::Label, English(T::PrintingOrientation), 12, 117, 70, 16},
    {IDC_ORIENTATION, K::List, "", 90, 114, 180, 120},
    {IDC_COPIES_LABEL, K::Label, English(T::PrintingCopies), 12, 151, 70, 16},
    {IDC_COPIES, K::Edit, "", 90, 148, 40, 22},
    {IDC_GRAYSCALE, K::Check, English(T::PrintingGrayscale), 90, 182, 220, 20},
};

constexpr ControlLayout kWatermarkControls[] = {
    {IDC_MAKE_WATERMARK, K::Check, English(T::WatermarkMake), 12, 10, 250, 20},
    {IDC_WATERMARK_CORNER_LABEL, K::Label, English(T::WatermarkLocation), 12, 45, 80, 16},
    {IDC_WATERMARK_CORNER, K::List, "", 100, 42, 200, 200, true},
    {IDC_WATERMARK_TEXT_LABEL, K::Label, English(T::WatermarkText), 12, 77, 80, 16},
    {IDC_WATERMARK_TEXT, K::Edit, "", 100, 74, 300, 22, true},
    {IDC_WATERMARK_FONT_LABEL, K::Label, English(T::WatermarkFont), 12, 109, 80, 16},
    {IDC_WATERMARK_FONT, K::Button, English(T::BrowseFont), 100, 105, 300, kButtonHeight, true},
    {IDC_WATERMARK_COLOR, K::Button, English(T::WatermarkFontColor), 100, 137, 130, kButtonHeight, true},
    {IDC_COLOR_SWATCH, K::Swatch, "", 194, 142, 28, 15},
    {IDC_TRANSPARENCY_GROUP, K::Group, English(T::WatermarkTransparency), 8, 172, 400, 90},
    {IDC_TRANSPARENCY, K::TrackBar, "", 16, 192, 384, 32, true},
    {IDC_SOLID_LABEL, K::Label, English(T::WatermarkSolid), 22, 232, 120, 16},
    {IDC_INVISIBLE_LABEL, K::RightLabel, English(T::WatermarkInvisible), 274, 232, 120, 16},
};

constexpr ControlLayout kTimerControls[] = {
    {IDC_DELAYED_CAPTURE, K::Check, English(T::TimerDelayedCapture), 12, 10, 250, 20},
    {IDC_DELAY_LABEL, K::Label, English(T::TimerDelay), 30, 43, 110, 16},
    {IDC_DELAY, K::Edit, "", 150, 40, 70, 22},
    {IDC_SEVERAL_SHOTS, K::Check, English(T::TimerSeveralShots), 12, 80, 250, 20},
    {IDC_NUMBER_OF_SHOTS_LABEL, K::Label, English(T::TimerNumberOfShots), 30, 113, 110, 16},
    {IDC_NUMBER_OF_SHOTS, K::Edit, "", 150, 110, 40, 22},
    {IDC_INTERVAL_LABEL, K::Label, English(T::TimerInterval), 210, 113, 100, 16},
    {IDC_INTERVAL, K::Edit, "", 315, 110, 70, 22},
};

}  // namespace

const PageLayout kPageLayouts[kPageCount] = {
    {IDC_GENERAL_PAGE, T::GeneralTitle, kGeneralControls},
    {IDC_PRINTING_PAGE, T::PrintingTitle, kPrintingControls},
    {IDC_WATERMARK_PAGE, T::WatermarkTitle, kWatermarkControls},
    {IDC_TIMER_PAGE, T::TimerTitle, kTimerControls},
};

std::string GroupCaption(const std::string& text) { return " " + text + " "; }

HWND CreateControl(const ControlLayout& layout, HWND parent) {
  const KindStyle& kind = kKindStyles[static_cast<int>(layout.kind)];
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style | (layout.disabled ? WS_DISABLED : 0);
  const std::string text = layout.kind == ControlKind::Group ? GroupCaption(layout.text) : layout.text;
  HWND control = CreateWindowExW(
      kind.exStyle, kind.windowClass, Wide(text).c_str(), style, layout.x, layout.y, layout.width, layout.height,
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), GetModuleHandleW(nullptr), nullptr);
  Send(control, WM_SETFONT, reinterpret_cast<WPARAM>(ControlFont()), FALSE);
  return control;
}
