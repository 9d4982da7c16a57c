#include "ui/settings/layout.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "base/dpi.h"
#include "base/owners.h"
#include "base/system_text.h"
#include "core/settings/room_layout.h"
#include "ui/settings/controls.h"

namespace {

using K = ControlKind;
using T = TextId;

struct KindStyle {
  const wchar_t* windowClass;
  DWORD style;
  DWORD exStyle;
};

// Indexed by ControlKind. The swatch is a button that draws itself and
// takes no focus: the Color button beside it does the same by keyboard.
constexpr KindStyle kKindStyles[] = {
    {L"STATIC", SS_LEFT, 0},
    {L"STATIC", SS_LEFT, 0},
    {L"STATIC", SS_LEFT | SS_NOPREFIX, 0},
    {L"STATIC", SS_CENTER | SS_NOPREFIX, 0},
    {L"STATIC", SS_RIGHT | SS_NOPREFIX, 0},
    {WC_LINK, WS_TABSTOP, 0},
    {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0},
    {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {L"BUTTON", BS_GROUPBOX, 0},
    {TRACKBAR_CLASSW, TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, 0},
    {L"BUTTON", BS_OWNERDRAW, 0},
};
static_assert(std::size(kKindStyles) == static_cast<size_t>(ControlKind::Swatch) + 1);

constexpr ControlLayout kGeneralControls[] = {
    {IDC_LANGUAGE_LABEL, K::Label, English(T::GeneralLanguage), 12, 15, 90, 16},
    {IDC_LANGUAGE, K::NameList, "", 110, 12, 170, 200},
    {IDC_REFRESH_LANGUAGES, K::Button, English(T::GeneralRefreshLanguages), 290, 10, 80, kButtonHeight},
    {IDC_SHORTCUTS_GROUP, K::Group, English(T::GeneralShortcutsTitle), 8, 48, 400, 144},
    {kNoControlId, K::CentredText, "Ctrl", 127, 70, 30, 16},
    {kNoControlId, K::CentredText, "+", 158, 70, 10, 16},
    {kNoControlId, K::CentredText, "Alt", 169, 70, 30, 16},
    {kNoControlId, K::CentredText, "+", 200, 70, 10, 16},
    {kNoControlId, K::CentredText, "Shift", 211, 70, 30, 16},
    {kNoControlId, K::CentredText, "+", 242, 70, 10, 16},
    {kNoControlId, K::CentredText, "Win", 253, 70, 30, 16},
    {kNoControlId, K::CentredText, "+", 286, 70, 10, 16},
    {IDC_KEY_LABEL, K::Text, English(T::GeneralShortcutsKey), 300, 70, 96, 16},
    {IDC_ENTIRE_SCREEN_LABEL, K::Label, English(T::GeneralShortcutsEntireScreen), 16, 95, 110, 16},
    {IDC_ENTIRE_SCREEN_CTRL, K::BareCheck, "", 134, 93, 16, 20},
    {IDC_ENTIRE_SCREEN_ALT, K::BareCheck, "", 176, 93, 16, 20},
    {IDC_ENTIRE_SCREEN_SHIFT, K::BareCheck, "", 218, 93, 16, 20},
    {IDC_ENTIRE_SCREEN_WIN, K::BareCheck, "", 260, 93, 16, 20},
    {IDC_ENTIRE_SCREEN_KEY_NAME, K::HiddenLabel, "", 300, 92, 0, 0},
    {IDC_ENTIRE_SCREEN_KEY, K::List, "", 300, 92, 96, 300},
    {IDC_ACTIVE_WINDOW_LABEL, K::Label, English(T::GeneralShortcutsActiveWindow), 16, 127, 110, 16},
    {IDC_ACTIVE_WINDOW_CTRL, K::BareCheck, "", 134, 125, 16, 20},
    {IDC_ACTIVE_WINDOW_ALT, K::BareCheck, "", 176, 125, 16, 20},
    {IDC_ACTIVE_WINDOW_SHIFT, K::BareCheck, "", 218, 125, 16, 20},
    {IDC_ACTIVE_WINDOW_WIN, K::BareCheck, "", 260, 125, 16, 20},
    {IDC_ACTIVE_WINDOW_KEY_NAME, K::HiddenLabel, "", 300, 124, 0, 0},
    {IDC_ACTIVE_WINDOW_KEY, K::List, "", 300, 124, 96, 300},
    {IDC_REGION_LABEL, K::Label, English(T::GeneralShortcutsRegion), 16, 159, 110, 16},
    {IDC_REGION_CTRL, K::BareCheck, "", 134, 157, 16, 20},
    {IDC_REGION_ALT, K::BareCheck, "", 176, 157, 16, 20},
    {IDC_REGION_SHIFT, K::BareCheck, "", 218, 157, 16, 20},
    {IDC_REGION_WIN, K::BareCheck, "", 260, 157, 16, 20},
    {IDC_REGION_KEY_NAME, K::HiddenLabel, "", 300, 156, 0, 0},
    {IDC_REGION_KEY, K::List, "", 300, 156, 96, 300},
    {IDC_DEFAULT_ACTION_LABEL, K::Label, English(T::GeneralDefaultTrayAction), 12, 213, 150, 16},
    {IDC_DEFAULT_ACTION, K::List, "", 170, 210, 200, 100},
    {IDC_CAPTURE_SCREEN_LABEL, K::Label, English(T::GeneralCaptureScreen), 12, 245, 150, 16},
    {IDC_CAPTURE_SCREEN, K::List, "", 170, 242, 200, 100},
    {IDC_HOME_PAGE_LINK, K::Link, "", 12, 282, 200, 16},
};

constexpr ControlLayout kPrintingControls[] = {
    {IDC_PRINTER_LABEL, K::Label, English(T::PrintingPrinter), 12, 15, 70, 16},
    {IDC_PRINTER, K::NameList, "", 90, 12, 220, 200},
    {IDC_PRINTER_PROPERTIES, K::Button, "Properties", 318, 10, 85, kButtonHeight},
    {IDC_FIT_TO_PAGE, K::Check, English(T::PrintingFitToPage), 90, 46, 220, 20},
    {IDC_PAGE_POSITION_LABEL, K::Label, English(T::PrintingPagePosition), 12, 83, 70, 16},
    {IDC_PAGE_POSITION, K::List, "", 90, 80, 160, 240},
    {IDC_ORIENTATION_LABEL, K::Label, English(T::PrintingOrientation), 12, 117, 70, 16},
    {IDC_ORIENTATION, K::List, "", 90, 114, 180, 120},
    {IDC_COPIES_LABEL, K::Label, English(T::PrintingCopies), 12, 151, 70, 16},
    {IDC_COPIES, K::Edit, "", 90, 148, 40, 22},
    {IDC_PRINT_COLORS_LABEL, K::Label, English(T::PrintingColors), 150, 151, 90, 16},
    {IDC_PRINT_COLORS, K::List, "", 245, 148, 155, 100},
    {IDC_GRAYSCALE, K::Check, English(T::PrintingGrayscale), 90, 182, 220, 20},
    {IDC_CAPTURE_MOUSE_POINTER, K::Check, English(T::PrintingCaptureMousePointer), 90, 212, 220, 20},
    {IDC_FILE_PRINTER_AUTOSAVE, K::Check, English(T::PrintingFileAutoSave), 90, 242, 310, 20},
    {IDC_FILE_PRINTER_FOLDER_LABEL, K::Label, English(T::PrintingFileFolder), 12, 273, 70, 16},
    {IDC_FILE_PRINTER_FOLDER, K::Edit, "", 90, 270, 220, 22},
    {IDC_BROWSE_FOLDER, K::Button, English(T::PrintingBrowseFolder), 318, 268, 85, kButtonHeight},
};

constexpr ControlLayout kWatermarkControls[] = {
    {IDC_MAKE_WATERMARK, K::Check, English(T::WatermarkMake), 12, 10, 250, 20},
    {IDC_WATERMARK_CORNER_LABEL, K::Label, English(T::WatermarkLocation), 12, 45, 80, 16},
    {IDC_WATERMARK_CORNER, K::List, "", 100, 42, 200, 200, true},
    {IDC_WATERMARK_TEXT_LABEL, K::Label, English(T::WatermarkText), 12, 77, 80, 16},
    {IDC_WATERMARK_TEXT, K::Edit, "", 100, 74, 300, 22, true},
    {IDC_WATERMARK_FONT_LABEL, K::Label, English(T::WatermarkFont), 12, 109, 80, 16},
    {IDC_WATERMARK_FONT, K::ValueButton, English(T::BrowseFont), 100, 105, 300, kButtonHeight, true},
    {IDC_WATERMARK_COLOR, K::Button, English(T::WatermarkFontColor), 100, 137, 130, kButtonHeight, true},
    {IDC_COLOR_SWATCH, K::Swatch, "", 194, 142, 28, 15},
    {IDC_TRANSPARENCY_GROUP, K::Group, English(T::WatermarkTransparency), 8, 172, 400, 90},
    {IDC_TRANSPARENCY, K::TrackBar, "", 16, 192, 384, 32, true},
    {IDC_SOLID_LABEL, K::Text, English(T::WatermarkSolid), 22, 232, 120, 16},
    {IDC_INVISIBLE_LABEL, K::RightText, English(T::WatermarkInvisible), 274, 232, 120, 16},
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
    {IDC_SHOTS_PER_PAGE_LABEL, K::Label, English(T::TimerShotsPerPage), 30, 147, 110, 16},
    {IDC_SHOTS_PER_PAGE, K::List, "", 150, 144, 50, 100},
};

}  // namespace

const PageLayout kPageLayouts[kPageCount] = {
    {IDC_GENERAL_PAGE, T::GeneralTitle, kGeneralControls},
    {IDC_PRINTING_PAGE, T::PrintingTitle, kPrintingControls},
    {IDC_WATERMARK_PAGE, T::WatermarkTitle, kWatermarkControls},
    {IDC_TIMER_PAGE, T::TimerTitle, kTimerControls},
};

std::string GroupCaption(const std::string& text) { return " " + text + " "; }

namespace {

bool IsInput(ControlKind kind) {
  switch (kind) {
    case ControlKind::List:
    case ControlKind::NameList:
    case ControlKind::Edit:
    case ControlKind::TrackBar:
    case ControlKind::ValueButton:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool TakesAccessKey(std::span<const ControlLayout> rows, size_t row) {
  switch (rows[row].kind) {
    case ControlKind::Label:
    case ControlKind::Check:
    case ControlKind::Button:
      return true;
    case ControlKind::Group:
      return row + 1 < rows.size() && IsInput(rows[row + 1].kind);
    default:
      return false;
  }
}

const ControlLayout* RowLabelOf(std::span<const ControlLayout> rows, size_t row) {
  for (size_t before = row; before-- > 0;) {
    if (rows[before].kind == ControlKind::Label) return &rows[before];
  }
  return nullptr;
}

// The head whose design spans the middle of the box, or its left edge for
// a box of no width.
const ControlLayout* ColumnHeadOf(std::span<const ControlLayout> rows, size_t row) {
  const int middle = rows[row].x + rows[row].width / 2;
  for (const ControlLayout& head : rows) {
    const bool isHead = head.kind == ControlKind::CentredText || head.kind == ControlKind::Text;
    if (isHead && head.y < rows[row].y && head.x <= middle && middle < head.x + head.width) return &head;
  }
  return nullptr;
}

namespace {

constexpr UINT_PTR kFocusFrameId = 2;

// A check box draws its focus frame around its caption: one without a
// shown caption gets a frame around its box instead, while it has the focus
// and the keyboard is in use.
LRESULT CALLBACK FrameFocus(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_NCDESTROY:
      RemoveWindowSubclass(box, FrameFocus, kFocusFrameId);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE: {
      const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
      InvalidateRect(box, nullptr, TRUE);
      return result;
    }
    case WM_PAINT: {
      const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
      if (GetFocus() == box && !(SendMessageW(box, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
        const owners::WindowDc dc(box, GetDC(box));
        RECT area{};
        GetClientRect(box, &area);
        DrawFocusRect(dc.get(), &area);
      }
      return result;
    }
  }
  return DefSubclassProc(box, message, wParam, lParam);
}

}  // namespace

HWND CreateControl(const ControlLayout& layout, HWND parent) {
  const KindStyle& kind = kKindStyles[static_cast<int>(layout.kind)];
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style | (layout.disabled ? WS_DISABLED : 0);
  const std::string text = layout.kind == ControlKind::Group ? GroupCaption(layout.text) : layout.text;
  HWND control = CreateWindowExW(
      kind.exStyle, kind.windowClass, Wide(text).c_str(), style, layout.x, layout.y, layout.width, layout.height,
      parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), GetModuleHandleW(nullptr), nullptr);
  if (control && layout.kind == ControlKind::BareCheck) SetWindowSubclass(control, FrameFocus, kFocusFrameId, 0);
  return control;
}

// -- fitting the captions ------------------------------------------------------

namespace {

// Room around a caption, in pixels at 96 dpi: what the system draws beside
// the text (a box, edges, a focus rectangle, a drop-down arrow).
constexpr int kCheckTextGap = 6;
constexpr SIZE kButtonMargin{10, 3};  // on each side
constexpr int kEditMargin = 3;        // above and below, with the border
constexpr int kGroupCaptionIndent = 10;
constexpr int kListTextMargin = 8;
// No caption widens its control beyond the page's design width.
constexpr int kWidestNeed = kClientWidth - 4 * kMargin;

// A link's text without the markup around the address.
std::string LinkCaption(std::string text) {
  for (const char* tag : {"<a>", "</a>"}) {
    if (const size_t at = text.find(tag); at != std::string::npos) text.erase(at, std::char_traits<char>::length(tag));
  }
  return text;
}

// Pixels of the text on one line in the control's font: its width as the
// control draws it ("&" marks a mnemonic) and the font's line height.
SIZE TextExtent(HWND control, const std::string& text) {
  const std::wstring wide = Wide(text);
  const owners::WindowDc dc(control, GetDC(control));
  const owners::Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(Send(control, WM_GETFONT)));
  RECT box{};
  DrawTextW(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &box, DT_CALCRECT | DT_SINGLELINE);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.get(), &metrics);
  return {box.right - box.left, metrics.tmHeight};
}

// The room the control's content needs; 0 where it needs none of its own.
SIZE NeededSize(ControlKind kind, HWND control, int dpi) {
  const SIZE text = TextExtent(control, WindowText(control));
  switch (kind) {
    case ControlKind::Label:
    case ControlKind::Text:
    case ControlKind::CentredText:
    case ControlKind::RightText:
      return text;
    case ControlKind::Link:
      return TextExtent(control, LinkCaption(WindowText(control)));
    case ControlKind::Check: {
      const int box = SystemMetricForDpi(SM_CXMENUCHECK, dpi);
      return {text.cx == 0 ? box : box + Scale(kCheckTextGap, dpi) + text.cx, std::max<LONG>(box, text.cy)};
    }
    case ControlKind::Button:
    case ControlKind::ValueButton:
      return {text.cx + 2 * Scale(kButtonMargin.cx, dpi), text.cy + 2 * Scale(kButtonMargin.cy, dpi)};
    case ControlKind::Edit:
      return {0, text.cy + 2 * Scale(kEditMargin, dpi)};
    case ControlKind::Group:
      return {text.cx + 2 * Scale(kGroupCaptionIndent, dpi), 0};
    case ControlKind::List: {
      LONG widest = 0;
      for (const std::string& item : Items(control)) widest = std::max(widest, TextExtent(control, item).cx);
      return {widest + SystemMetricForDpi(SM_CXVSCROLL, dpi) + Scale(kListTextMargin, dpi), 0};
    }
    case ControlKind::NameList:
    case ControlKind::TrackBar:
    case ControlKind::Swatch:
    case ControlKind::BareCheck:  // its text is a name, not a caption
    case ControlKind::HiddenLabel:
      break;
  }
  return {0, 0};
}

RECT Scaled(const ControlLayout& row, int dpi) {
  // Edges, not lengths, are scaled, so that touching controls still touch.
  return {Scale(row.x, dpi), Scale(row.y, dpi), Scale(row.x + row.width, dpi), Scale(row.y + row.height, dpi)};
}

int Centre(const RECT& rect) { return (rect.left + rect.right) / 2; }

bool IsList(ControlKind kind) { return kind == ControlKind::List || kind == ControlKind::NameList; }

// A swatch keeps its design size and its place from the right end of the
// button it lies on; a check box without caption its size, centred under
// the head of its column.
void FollowWhatItLiesOn(std::span<const ControlLayout> rows, std::vector<RoomBox>& boxes, size_t i, int dpi) {
  const RECT design = Scaled(rows[i], dpi);
  RoomBox& box = boxes[i];
  const bool swatch = rows[i].kind == ControlKind::Swatch && i > 0;
  const bool bareCheck = rows[i].kind == ControlKind::BareCheck;
  if (!swatch && !bareCheck) return;
  box.width = design.right - design.left;
  box.height = design.bottom - design.top;
  if (swatch) {
    const RECT buttonDesign = Scaled(rows[i - 1], dpi);
    const RoomBox& button = boxes[i - 1];
    box.left = button.left + button.width - (buttonDesign.right - design.left);
    box.top = button.top + (design.top - buttonDesign.top);
    return;
  }
  if (const ControlLayout* head = ColumnHeadOf(rows, i)) {
    const RoomBox& column = boxes[static_cast<size_t>(head - rows.data())];
    box.left = column.left + column.width / 2 - (Centre(design) - design.left);
  }
}

}  // namespace

POINT LayOutPage(std::span<const ControlLayout> rows, std::span<const HWND> controls, int dpi) {
  std::vector<RoomBox> boxes;
  for (size_t i = 0; i < rows.size(); ++i) {
    const RECT design = Scaled(rows[i], dpi);
    SIZE needed = NeededSize(rows[i].kind, controls[i], dpi);
    // The swatch on the button's right end takes its room from the caption.
    if (i + 1 < rows.size() && rows[i + 1].kind == ControlKind::Swatch && needed.cx > 0) {
      needed.cx += design.right - Scaled(rows[i + 1], dpi).left;
    }
    // A list's design height is its drop-down's; on the page it takes its
    // closed height, which its font decides.
    RECT closed{};
    GetWindowRect(controls[i], &closed);
    const int height = IsList(rows[i].kind) ? closed.bottom - closed.top : design.bottom - design.top;
    boxes.push_back({design.left, design.top, design.right - design.left, height,
                     std::min<int>(needed.cx, Scale(kWidestNeed, dpi)), needed.cy, rows[i].kind == ControlKind::Group});
  }
  MakeRoom(boxes);
  for (size_t i = 0; i < rows.size(); ++i) FollowWhatItLiesOn(rows, boxes, i, dpi);

  POINT corner{0, 0};
  for (size_t i = 0; i < rows.size(); ++i) {
    const RoomBox& box = boxes[i];
    const int height = IsList(rows[i].kind) ? Scaled(rows[i], dpi).bottom - Scaled(rows[i], dpi).top : box.height;
    MoveWindow(controls[i], box.left, box.top, box.width, height, TRUE);
    corner.x = std::max<LONG>(corner.x, box.left + box.width);
    corner.y = std::max<LONG>(corner.y, box.top + box.height);
  }
  return corner;
}

SIZE ButtonSize(std::span<const HWND> buttons, int dpi) {
  SIZE size{Scale(kButtonWidth, dpi), Scale(kButtonHeight, dpi)};
  for (HWND button : buttons) {
    const SIZE needed = NeededSize(ControlKind::Button, button, dpi);
    size.cx = std::max(size.cx, needed.cx);
    size.cy = std::max(size.cy, needed.cy);
  }
  return size;
}
