#include "ui/settings/preferences_pages.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "ui/tray/tray_menu.h"
#include "services/capture/hot_keys.h"
#include "core/capture/key_names.h"
#include "services/information/help.h"
#include "core/information/home_page.h"
#include "ui/languages/apply_texts.h"
#include "services/output/printer.h"
#include "core/settings/font_caption.h"
#include "core/settings/number_field.h"
#include "resources/resource.h"

namespace {

constexpr const char* kPageClass = "VorlanePreferencesPage";
constexpr const char* kSwatchClass = "VorlaneColorSwatch";

constexpr int kNoControlId = -1;  // fixed texts nothing looks up
constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 6;

constexpr int kWaterTextLimit = 50;
constexpr int kNumberOfShotsLimit = 3;
constexpr int kTransparencyMax = 255;
constexpr int kTransparencyPage = 5;
constexpr int kTransparencyTick = 15;
constexpr int kPagePositionCount = 9;
constexpr int kWaterLocationCount = 4;
constexpr int kPointsPerInch = 72;
constexpr int kPointSizeTenths = 10;
constexpr int32_t kStyleBold = 1;
constexpr int32_t kStyleItalic = 2;
constexpr COLORREF kSwatchOutlineOn = RGB(0, 0, 0);
constexpr COLORREF kLinkColor = RGB(0, 0, 255);
constexpr COLORREF kColorBits = 0x00FFFFFF;  // a stored colour may carry a high byte GDI would misread

// Offsets of the swatch's two colours in its window's extra bytes.
constexpr int kSwatchFill = 0;
constexpr int kSwatchOutline = sizeof(LONG_PTR);
constexpr int kSwatchExtraBytes = 2 * sizeof(LONG_PTR);

enum class Kind { Label, CentredLabel, RightLabel, Link, Check, Button, List, Edit, Group, TrackBar, Swatch };

struct KindStyle {
  const char* windowClass;
  DWORD style;
  DWORD exStyle;
};

// Indexed by Kind.
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
    {kSwatchClass, 0, 0},
};

struct ControlSpec {
  int id;
  Kind kind;
  const char* text;
  int x, y, width, height;  // a list's height includes its drop-down
  bool disabled = false;
};

// Each page's controls in focus order. The texts are those of the window's
// definition; the language applied at start-up replaces the translatable ones.
constexpr ControlSpec kGeneralControls[] = {
    {IDC_lbLanguage, Kind::Label, "Language", 12, 15, 90, 16},
    {IDC_cbLanguage, Kind::List, "", 110, 12, 170, 200},
    {IDC_sbRefreshLanguages, Kind::Button, "Refresh", 290, 10, 80, kButtonHeight},
    {IDC_gbShortcuts, Kind::Group, " Shortcuts ", 8, 48, 400, 112},
    {kNoControlId, Kind::CentredLabel, "Ctrl", 127, 70, 30, 16},
    {kNoControlId, Kind::CentredLabel, "+", 158, 70, 10, 16},
    {kNoControlId, Kind::CentredLabel, "Alt", 169, 70, 30, 16},
    {kNoControlId, Kind::CentredLabel, "+", 200, 70, 10, 16},
    {kNoControlId, Kind::CentredLabel, "Shift", 211, 70, 30, 16},
    {kNoControlId, Kind::CentredLabel, "+", 242, 70, 10, 16},
    {kNoControlId, Kind::CentredLabel, "Win", 253, 70, 30, 16},
    {kNoControlId, Kind::CentredLabel, "+", 286, 70, 10, 16},
    {IDC_lbShortcutKey, Kind::Label, "Key", 300, 70, 96, 16},
    {IDC_lbEntireScreen, Kind::Label, "Entire screen", 16, 95, 110, 16},
    {IDC_cbxSCEntireScreenCtrl, Kind::Check, "", 134, 93, 16, 20},
    {IDC_cbxSCEntireScreenAlt, Kind::Check, "", 176, 93, 16, 20},
    {IDC_cbxSCEntireScreenShift, Kind::Check, "", 218, 93, 16, 20},
    {IDC_cbxSCEntireScreenWin, Kind::Check, "", 260, 93, 16, 20},
    {IDC_cbSCEntireScreenKey, Kind::List, "", 300, 92, 96, 300},
    {IDC_lbActiveWindow, Kind::Label, "Active window", 16, 127, 110, 16},
    {IDC_cbxSCActiveWindowCtrl, Kind::Check, "", 134, 125, 16, 20},
    {IDC_cbxSCActiveWindowAlt, Kind::Check, "", 176, 125, 16, 20},
    {IDC_cbxSCActiveWindowShift, Kind::Check, "", 218, 125, 16, 20},
    {IDC_cbxSCActiveWindowWin, Kind::Check, "", 260, 125, 16, 20},
    {IDC_cbSCActiveWindowKey, Kind::List, "", 300, 124, 96, 300},
    {IDC_lbDefaultTrayAction, Kind::Label, "Tray icon default action", 12, 181, 150, 16},
    {IDC_cbDefaultAction, Kind::List, "", 170, 178, 200, 100},
    {IDC_lbHome, Kind::Link, "", 12, 250, 200, 16},
};

constexpr ControlSpec kPrintingControls[] = {
    {IDC_lbPrinters, Kind::Label, "Printer", 12, 15, 70, 16},
    {IDC_cbPrinters, Kind::List, "", 90, 12, 220, 200},
    {IDC_lbPagePosition, Kind::Label, "Position", 12, 83, 70, 16},
    {IDC_cbPagePosition, Kind::List, "", 90, 80, 160, 240},
    {IDC_Button1, Kind::Button, "Properties", 318, 10, 85, kButtonHeight},
    {IDC_cbxFitToPage, Kind::Check, "Fit to page", 90, 46, 220, 20},
};

constexpr ControlSpec kWatermarkControls[] = {
    {IDC_cbxMakeWater, Kind::Check, "Make watermark", 12, 10, 250, 20},
    {IDC_lbWaterLoc, Kind::Label, "Location", 12, 45, 80, 16},
    {IDC_cbWaterLoc, Kind::List, "", 100, 42, 200, 200, true},
    {IDC_lbWaterText, Kind::Label, "Text", 12, 77, 80, 16},
    {IDC_edWaterText, Kind::Edit, "", 100, 74, 300, 22, true},
    {IDC_lbWaterFont, Kind::Label, "Font", 12, 109, 80, 16},
    {IDC_btFont, Kind::Button, "Browse Font", 100, 105, 300, kButtonHeight, true},
    {IDC_btColor, Kind::Button, "Color", 100, 137, 130, kButtonHeight, true},
    {IDC_shColor, Kind::Swatch, "", 194, 142, 28, 15},
    {IDC_gbWaterTransp, Kind::Group, " Transparency ", 8, 172, 400, 90},
    {IDC_trbWaterTransp, Kind::TrackBar, "", 16, 192, 384, 32, true},
    {IDC_lbSolid, Kind::Label, "Solid", 22, 232, 120, 16},
    {IDC_lbInvisible, Kind::RightLabel, "Invisible", 274, 232, 120, 16},
};

constexpr ControlSpec kTimerControls[] = {
    {IDC_cbxDelayedCapture, Kind::Check, "Delayed capture", 12, 10, 250, 20},
    {IDC_lbDelay, Kind::Label, "Delay (sec.) :", 30, 43, 110, 16},
    {IDC_edDelay, Kind::Edit, "", 150, 40, 70, 22},
    {IDC_cbxSeveralShots, Kind::Check, "Make several shots", 12, 80, 250, 20},
    {IDC_lbNumOfShots, Kind::Label, "Number of shots :", 30, 113, 110, 16},
    {IDC_edNumOfShots, Kind::Edit, "", 150, 110, 40, 22},
    {IDC_lbInterval, Kind::Label, "Interval (sec.) :", 210, 113, 100, 16},
    {IDC_edInterval, Kind::Edit, "", 315, 110, 70, 22},
};

struct PageSpec {
  int id;
  const char* title;
  std::span<const ControlSpec> controls;
};

// Indexed by Page.
constexpr PageSpec kPages[kPageCount] = {
    {IDC_tsGeneral, "General", kGeneralControls},
    {IDC_tsPrinting, "Printing", kPrintingControls},
    {IDC_tsWatermark, "Watermark", kWatermarkControls},
    {IDC_tsTimer, "Timer", kTimerControls},
};

struct ButtonSpec {
  int id;
  const char* text;
  FaceCommand command;
};

// Right-aligned below the page control, in this order.
constexpr ButtonSpec kButtons[] = {
    {IDC_btOK, "OK", FaceCommand::OK},
    {IDC_btCancel, "Cancel", FaceCommand::Cancel},
    {IDC_btApply, "Apply", FaceCommand::Apply},
};

constexpr HotKeyControls kEntireScreenRow = {IDC_cbxSCEntireScreenCtrl, IDC_cbxSCEntireScreenAlt,
                                             IDC_cbxSCEntireScreenShift, IDC_cbxSCEntireScreenWin,
                                             IDC_cbSCEntireScreenKey};
constexpr HotKeyControls kActiveWindowRow = {IDC_cbxSCActiveWindowCtrl, IDC_cbxSCActiveWindowAlt,
                                             IDC_cbxSCActiveWindowShift, IDC_cbxSCActiveWindowWin,
                                             IDC_cbSCActiveWindowKey};

constexpr int kNumberFields[] = {IDC_edDelay, IDC_edNumOfShots, IDC_edInterval};
constexpr int kWatermarkControlsSwitched[] = {IDC_cbWaterLoc, IDC_edWaterText, IDC_btFont, IDC_btColor,
                                              IDC_trbWaterTransp};

constexpr UINT_PTR kLanguageListSubclass = 1;
constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;  // a change of drawing order only

// -- small control helpers ----------------------------------------------------

LRESULT Send(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageA(control, message, wParam, lParam);
}

std::string WindowText(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool Ticked(HWND box) { return Send(box, BM_GETCHECK) == BST_CHECKED; }
void SetTicked(HWND box, bool ticked) { Send(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED); }

int SelectedIndex(HWND list) { return static_cast<int>(Send(list, CB_GETCURSEL)); }

// An index the list does not have clears its selection.
void SelectIndex(HWND list, int32_t index) {
  const auto count = static_cast<int32_t>(Send(list, CB_GETCOUNT));
  Send(list, CB_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < count ? index : -1));
}

std::string ItemText(HWND list, int index) {
  const LRESULT length = Send(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied = Send(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
  return text;
}

std::string SelectedText(HWND list) {
  const int index = SelectedIndex(list);
  return index < 0 ? std::string() : ItemText(list, index);
}

void AddItem(HWND list, const char* text) { Send(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }

void FillList(HWND list, const std::vector<std::string>& items) {
  Send(list, CB_RESETCONTENT);
  for (const std::string& item : items) AddItem(list, item.c_str());
}

// The English items of a list whose texts are catalogue rows from `first` on.
void AddCatalogueItems(HWND list, TextId first, int count) {
  for (int i = 0; i < count; ++i) AddItem(list, kCatalogue[IndexOf(first) + static_cast<size_t>(i)].english);
}

void AddStyle(HWND control, LONG_PTR style) {
  SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) | style);
  InvalidateRect(control, nullptr, TRUE);
}

// -- the pages and the swatch -------------------------------------------------

// A page passes its controls' messages on to the main window, whose handler
// forwards them to the face inside its error handling.
LRESULT CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(page, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  const auto owner = reinterpret_cast<HWND>(GetWindowLongPtrA(page, GWLP_USERDATA));
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
      return SendMessageA(owner, message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_lbHome) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, kLinkColor);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_SETCURSOR:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(wParam)) == IDC_lbHome) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));  // a shared cursor: not owned
        return TRUE;
      }
      break;
  }
  return DefWindowProcA(page, message, wParam, lParam);
}

SwatchColors SwatchColorsOf(HWND swatch) {
  return {static_cast<COLORREF>(GetWindowLongPtrA(swatch, kSwatchFill)),
          static_cast<COLORREF>(GetWindowLongPtrA(swatch, kSwatchOutline))};
}

void PaintSwatch(HWND swatch) {
  const owners::PaintDc paint(swatch);
  const SwatchColors colors = SwatchColorsOf(swatch);
  RECT area{};
  GetClientRect(swatch, &area);
  const owners::Brush fill(CreateSolidBrush(colors.fill & kColorBits));
  const owners::Brush outline(CreateSolidBrush(colors.outline & kColorBits));
  FillRect(paint.get(), &area, fill.get());
  FrameRect(paint.get(), &area, outline.get());
}

// The colour swatch: a filled rectangle with an outline that reports any
// mouse button pressed on it as a click.
LRESULT CALLBACK SwatchProc(HWND swatch, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintSwatch(swatch);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SendMessageA(GetParent(swatch), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(swatch), STN_CLICKED),
                   reinterpret_cast<LPARAM>(swatch));
      return 0;
  }
  return DefWindowProcA(swatch, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance) {
  WNDCLASSEXA page{};
  page.cbSize = sizeof page;
  page.lpfnWndProc = PageProc;
  page.hInstance = instance;
  page.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  page.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  page.lpszClassName = kPageClass;
  WNDCLASSEXA swatch = page;
  swatch.lpfnWndProc = SwatchProc;
  swatch.cbWndExtra = kSwatchExtraBytes;
  swatch.lpszClassName = kSwatchClass;
  // A second window in the same run finds the classes registered already.
  (void)RegisterClassExA(&page);
  (void)RegisterClassExA(&swatch);
}

HFONT GuiFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

HWND CreateControl(const ControlSpec& layout, HWND parent, HINSTANCE instance) {
  const KindStyle& kind = kKindStyles[static_cast<int>(layout.kind)];
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style | (layout.disabled ? WS_DISABLED : 0);
  HWND control = CreateWindowExA(kind.exStyle, kind.windowClass, layout.text, style, layout.x, layout.y, layout.width,
                                 layout.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                                 instance, nullptr);
  Send(control, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
  return control;
}

// -- the system dialogs -------------------------------------------------------

int ScreenPixelsPerInch() {
  const owners::WindowDc screen(nullptr, GetDC(nullptr));
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

bool ChooseFontDialog(HWND owner, FontChoice& font) {
  LOGFONTA logFont{};
  logFont.lfHeight = -MulDiv(font.size, ScreenPixelsPerInch(), kPointsPerInch);
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = font.italic;
  logFont.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(logFont.lfFaceName, font.name.c_str(), LF_FACESIZE);
  CHOOSEFONTA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpLogFont = &logFont;
  dialog.Flags = CF_TTONLY | CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontA(&dialog)) return false;
  font = {logFont.lfFaceName, dialog.iPointSize / kPointSizeTenths, logFont.lfWeight >= FW_BOLD, logFont.lfItalic != 0};
  return true;
}

bool ChooseColorDialog(HWND owner, COLORREF& color) {
  // The custom colours the user mixes are kept for the run, as the dialog's own.
  static COLORREF customColors[16] = {};
  CHOOSECOLORA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.rgbResult = color & kColorBits;
  dialog.lpCustColors = customColors;
  dialog.Flags = CC_RGBINIT;
  if (!ChooseColorA(&dialog)) return false;
  color = dialog.rgbResult;
  return true;
}

}  // namespace

CommonDialogs SystemDialogs() { return {ChooseFontDialog, ChooseColorDialog}; }

// -- creation -----------------------------------------------------------------

PreferencesWindow::PreferencesWindow(HWND owner, HINSTANCE instance, Printer& printer, std::string programDirectory,
                                     CommonDialogs dialogs)
    : owner_(owner), printer_(printer), programDirectory_(std::move(programDirectory)), dialogs_(std::move(dialogs)) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  RegisterClasses(instance);
  CreateControls(instance);
}

void PreferencesWindow::CreateControls(HINSTANCE instance) {
  RECT client{};
  GetClientRect(owner_, &client);
  const int buttonTop = client.bottom - kMargin - kButtonHeight;

  pcMain_.reset(CreateWindowExA(WS_EX_CONTROLPARENT, WC_TABCONTROLA, "",
                                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, kMargin,
                                kMargin, client.right - 2 * kMargin, buttonTop - 2 * kMargin, owner_,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_pcMain)), instance, nullptr));
  Send(pcMain_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);

  int left = client.right - kMargin - static_cast<int>(std::size(kButtons)) * (kButtonWidth + kButtonGap) + kButtonGap;
  for (size_t i = 0; i < std::size(kButtons); ++i) {
    const ControlSpec layout{kButtons[i].id, Kind::Button, kButtons[i].text, left,
                             buttonTop,      kButtonWidth, kButtonHeight};
    buttons_[i].reset(CreateControl(layout, owner_, instance));
    left += kButtonWidth + kButtonGap;
  }

  for (int page = 0; page < kPageCount; ++page) {
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kPages[page].title);
    Send(pcMain_.get(), TCM_INSERTITEMA, static_cast<WPARAM>(page), reinterpret_cast<LPARAM>(&item));
  }
  // The page area is known once the tabs are in.
  RECT area{};
  GetClientRect(pcMain_.get(), &area);
  Send(pcMain_.get(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
  for (int page = 0; page < kPageCount; ++page) {
    pages_[page] = CreateWindowExA(WS_EX_CONTROLPARENT, kPageClass, "", WS_CHILD | WS_CLIPSIBLINGS, area.left, area.top,
                                   area.right - area.left, area.bottom - area.top, pcMain_.get(),
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPages[page].id)), instance, owner_);
    for (const ControlSpec& layout : kPages[page].controls) CreateControl(layout, pages_[page], instance);
    // A group box fills its inside: it goes beneath the controls it holds.
    // It takes no focus, so this changes only what is drawn on top.
    for (const ControlSpec& layout : kPages[page].controls) {
      if (layout.kind == Kind::Group) SetWindowPos(Control(layout.id), HWND_BOTTOM, 0, 0, 0, 0, kKeepPlace);
    }
  }

  for (const char* name : KeyNames) {
    AddItem(Control(IDC_cbSCEntireScreenKey), name);
    AddItem(Control(IDC_cbSCActiveWindowKey), name);
  }
  AddCatalogueItems(Control(IDC_cbDefaultAction), TextId::TakeEntireScreen, 1);
  AddCatalogueItems(Control(IDC_cbDefaultAction), TextId::Preferences, 1);
  AddCatalogueItems(Control(IDC_cbWaterLoc), TextId::WatermarkLocationLT, kWaterLocationCount);
  AddCatalogueItems(Control(IDC_cbPagePosition), TextId::PrintingPagePositionLT, kPagePositionCount);
  Send(Control(IDC_cbPagePosition), CB_SETMINVISIBLE, kPagePositionCount);

  Send(Control(IDC_edWaterText), EM_LIMITTEXT, kWaterTextLimit);
  Send(Control(IDC_edNumOfShots), EM_LIMITTEXT, kNumberOfShotsLimit);

  HWND transparency = Control(IDC_trbWaterTransp);
  Send(transparency, TBM_SETRANGE, TRUE, MAKELPARAM(0, kTransparencyMax));
  Send(transparency, TBM_SETPAGESIZE, 0, kTransparencyPage);
  Send(transparency, TBM_SETTICFREQ, kTransparencyTick, 0);

  HWND home = Control(IDC_lbHome);
  SetWindowTextA(home, std::string(kHomePageHost).c_str());
  LOGFONTA underlined{};
  GetObjectA(GuiFont(), sizeof underlined, &underlined);
  underlined.lfUnderline = TRUE;
  linkFont_.reset(CreateFontIndirectA(&underlined));
  Send(home, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);

  // The swatch lies on the right end of the Color button; it takes no focus,
  // so raising it changes only what is drawn on top.
  SetWindowPos(Control(IDC_shColor), HWND_TOP, 0, 0, 0, 0, kKeepPlace);

  SetWindowSubclass(Control(IDC_cbLanguage), LanguageListProc, kLanguageListSubclass,
                    reinterpret_cast<DWORD_PTR>(this));
  cbxMakeWaterClick();
  SelectPage(Page::General);
}

LRESULT CALLBACK PreferencesWindow::LanguageListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                                     DWORD_PTR self) {
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:  // with Alt held
      reinterpret_cast<PreferencesWindow*>(self)->cbLanguageKeyDown(wParam);
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, LanguageListProc, id);
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

HWND PreferencesWindow::Control(int id) const {
  for (HWND page : pages_) {
    if (HWND control = GetDlgItem(page, id)) return control;
  }
  if (id == IDC_pcMain) return pcMain_.get();
  for (size_t i = 0; i < std::size(kButtons); ++i) {
    if (kButtons[i].id == id) return buttons_[i].get();
  }
  return nullptr;
}

// -- operations for the main window -------------------------------------------

void PreferencesWindow::FormShow(const std::function<void()>& loadPreferences) {
  AddStyle(Control(IDC_btColor), BS_LEFT);
  for (int field : kNumberFields) AddStyle(Control(field), ES_NUMBER);
  RefreshLanguages();
  loadPreferences();
  SelectPage(Page::General);
}

void PreferencesWindow::RefreshLanguages() {
  HWND list = Control(IDC_cbLanguage);
  languages_ = ::RefreshLanguages(ListDirectory(LanguageSearchPattern(programDirectory_)), SelectedText(list));
  FillList(list, languages_.names);
  SelectIndex(list, languages_.selected ? static_cast<int32_t>(*languages_.selected) : -1);
}

void PreferencesWindow::ShowPreferences(const Preferences& record, bool autoStartExists, TrayMenu& menu,
                                        MessageCatalogue& catalogue) {
  menu.SetAutoStartChecked(autoStartExists);

  if (const auto entry = FindLanguage(languages_.names, record.Language)) {
    SelectIndex(Control(IDC_cbLanguage), static_cast<int32_t>(*entry));
  }
  ApplyLanguage(SelectedLanguagePath(), *this, menu, catalogue);

  ShowHotKey(kEntireScreenRow, record.ShortcutShiftEntireScreen, record.ShortcutKeyEntireScreen);
  ShowHotKey(kActiveWindowRow, record.ShortcutShiftActiveWindow, record.ShortcutKeyActiveWindow);

  SelectIndex(Control(IDC_cbDefaultAction), record.DefaultAction);
  menu.SetDefaultAction(record.DefaultAction);

  SelectIndex(Control(IDC_cbWaterLoc), record.WatermarkLocation);
  SetWindowTextA(Control(IDC_edWaterText), record.WatermarkText.c_str());

  if (!record.WatermarkFontName.empty()) fdFont_.name = record.WatermarkFontName;
  fdFont_.size = record.WatermarkFontSize;
  fdFont_.bold = (record.WatermarkFontStyle & kStyleBold) != 0;
  fdFont_.italic = (record.WatermarkFontStyle & kStyleItalic) != 0;
  SetWindowTextA(Control(IDC_btFont), StoredFontCaption(record.WatermarkFontName, fdFont_.bold, fdFont_.italic,
                                                        fdFont_.size, catalogue.BrowseFont)
                                          .c_str());
  cdFontColor_ = record.WatermarkFontColor;
  Send(Control(IDC_trbWaterTransp), TBM_SETPOS, TRUE, record.WatermarkFontTransparency);
  SetTicked(Control(IDC_cbxMakeWater), record.WatermarkMake);
  cbxMakeWaterClick();

  SetWindowTextA(Control(IDC_edDelay), std::to_string(record.TimerDelay).c_str());
  SetTicked(Control(IDC_cbxDelayedCapture), record.TimerDelayedCapture);
  cbxDelayedCaptureClick();
  SetWindowTextA(Control(IDC_edNumOfShots), std::to_string(record.TimerNumberOfShots).c_str());
  SetWindowTextA(Control(IDC_edInterval), std::to_string(record.TimerInterval).c_str());
  SetTicked(Control(IDC_cbxSeveralShots), record.TimerSeveralShots);
  cbxSeveralShotsClick();

  HWND printers = Control(IDC_cbPrinters);
  const std::string previousPrinter = SelectedText(printers);
  FillList(printers, printer_.PrinterNames());
  SelectPrinter(previousPrinter);
  SetTicked(Control(IDC_cbxFitToPage), record.PrintFitToPage);
  SelectIndex(Control(IDC_cbPagePosition), record.PrintPagePosition);
  SelectPrinter(record.PrintPrinter);
}

Preferences PreferencesWindow::CollectPreferences() const {
  Preferences values;
  values.Language = SelectedText(Control(IDC_cbLanguage));
  const HotKey entireScreen = CollectHotKey(kEntireScreenRow);
  values.ShortcutShiftEntireScreen = entireScreen.Modifiers;
  values.ShortcutKeyEntireScreen = entireScreen.Key;
  const HotKey activeWindow = CollectHotKey(kActiveWindowRow);
  values.ShortcutShiftActiveWindow = activeWindow.Modifiers;
  values.ShortcutKeyActiveWindow = activeWindow.Key;
  values.DefaultAction = SelectedIndex(Control(IDC_cbDefaultAction));
  values.WatermarkMake = Ticked(Control(IDC_cbxMakeWater));
  values.WatermarkLocation = SelectedIndex(Control(IDC_cbWaterLoc));
  values.WatermarkText = WindowText(Control(IDC_edWaterText));
  values.WatermarkFontName = fdFont_.name;
  values.WatermarkFontSize = fdFont_.size;
  values.WatermarkFontStyle = (fdFont_.bold ? kStyleBold : 0) | (fdFont_.italic ? kStyleItalic : 0);
  values.WatermarkFontColor = cdFontColor_;
  values.WatermarkFontTransparency = static_cast<int32_t>(Send(Control(IDC_trbWaterTransp), TBM_GETPOS));
  values.PrintFitToPage = Ticked(Control(IDC_cbxFitToPage));
  values.PrintPagePosition = SelectedIndex(Control(IDC_cbPagePosition));
  values.PrintPrinter = SelectedText(Control(IDC_cbPrinters));
  values.TimerDelay = IntegerOr(CollectedNumberText(IDC_edDelay), 0);
  values.TimerDelayedCapture = Ticked(Control(IDC_cbxDelayedCapture));
  values.TimerNumberOfShots = IntegerOr(CollectedNumberText(IDC_edNumOfShots), 1);
  values.TimerInterval = IntegerOr(CollectedNumberText(IDC_edInterval), 0);
  values.TimerSeveralShots = Ticked(Control(IDC_cbxSeveralShots));
  return values;
}

int PreferencesWindow::PrinterCount() const { return static_cast<int>(Send(Control(IDC_cbPrinters), CB_GETCOUNT)); }

bool PreferencesWindow::PrinterSelected() const { return SelectedIndex(Control(IDC_cbPrinters)) >= 0; }

std::string PreferencesWindow::SelectedLanguagePath() const {
  const int selected = SelectedIndex(Control(IDC_cbLanguage));
  return LanguageFileOf(programDirectory_, languages_,
                        selected < 0 ? std::nullopt : std::optional<size_t>(static_cast<size_t>(selected)));
}

void PreferencesWindow::ApplySelectedLanguage(TrayMenu& menu, MessageCatalogue& catalogue) {
  ApplyLanguage(SelectedLanguagePath(), *this, menu, catalogue);
}

FaceCommand PreferencesWindow::HandleCommand(WPARAM wParam, LPARAM) {
  const int id = LOWORD(wParam);
  const WORD code = HIWORD(wParam);
  for (const ButtonSpec& button : kButtons) {
    if (button.id == id && code == BN_CLICKED) return button.command;
  }

  struct Route {
    int id;
    WORD code;
    void (PreferencesWindow::*handler)();
  };
  static constexpr Route kRoutes[] = {
      {IDC_cbxMakeWater, BN_CLICKED, &PreferencesWindow::cbxMakeWaterClick},
      {IDC_cbxDelayedCapture, BN_CLICKED, &PreferencesWindow::cbxDelayedCaptureClick},
      {IDC_cbxSeveralShots, BN_CLICKED, &PreferencesWindow::cbxSeveralShotsClick},
      {IDC_btFont, BN_CLICKED, &PreferencesWindow::btFontClick},
      {IDC_btColor, BN_CLICKED, &PreferencesWindow::btColorClick},
      {IDC_shColor, STN_CLICKED, &PreferencesWindow::shColorMouseDown},
      {IDC_Button1, BN_CLICKED, &PreferencesWindow::Button1Click},
      {IDC_sbRefreshLanguages, BN_CLICKED, &PreferencesWindow::sbRefreshLanguagesClick},
      {IDC_lbHome, STN_CLICKED, &PreferencesWindow::lbHomeClick},
  };
  for (const Route& route : kRoutes) {
    if (route.id == id && route.code == code) {
      (this->*route.handler)();
      return FaceCommand::None;
    }
  }

  if (std::ranges::find(kNumberFields, id) != std::end(kNumberFields)) {
    HWND field = Control(id);
    if (code == EN_CHANGE) edNumOfShotsChange(field);
    // The focus also leaves the field when the user switches to another
    // program or a box opens: only a move within the window counts. By now
    // the focus is on its new window; one of another program is none.
    const HWND next = GetFocus();
    if (code == EN_KILLFOCUS && next && IsChild(owner_, next)) edIntervalExit(field);
  }
  return FaceCommand::None;
}

bool PreferencesWindow::HandleNotify(LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->idFrom != IDC_pcMain || header->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
  pcMainChange();
  return true;
}

void PreferencesWindow::SelectPage(Page page) {
  Send(pcMain_.get(), TCM_SETCURSEL, static_cast<WPARAM>(page));
  pcMainChange();
}

Page PreferencesWindow::CurrentPage() const { return static_cast<Page>(Send(pcMain_.get(), TCM_GETCURSEL)); }

SwatchColors PreferencesWindow::ShColorColors() const { return SwatchColorsOf(Control(IDC_shColor)); }

// -- control handlers ---------------------------------------------------------

void PreferencesWindow::cbxMakeWaterClick() {
  const bool on = Ticked(Control(IDC_cbxMakeWater));
  for (int id : kWatermarkControlsSwitched) EnableWindow(Control(id), on);
  const SwatchColors colors = on ? SwatchColors{static_cast<COLORREF>(cdFontColor_), kSwatchOutlineOn}
                                 : SwatchColors{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW)};
  HWND swatch = Control(IDC_shColor);
  SetWindowLongPtrA(swatch, kSwatchFill, static_cast<LONG_PTR>(colors.fill));
  SetWindowLongPtrA(swatch, kSwatchOutline, static_cast<LONG_PTR>(colors.outline));
  InvalidateRect(swatch, nullptr, TRUE);
}

void PreferencesWindow::cbxDelayedCaptureClick() {
  EnableWindow(Control(IDC_edDelay), Ticked(Control(IDC_cbxDelayedCapture)));
}

void PreferencesWindow::cbxSeveralShotsClick() {
  const bool on = Ticked(Control(IDC_cbxSeveralShots));
  EnableWindow(Control(IDC_edNumOfShots), on);
  EnableWindow(Control(IDC_edInterval), on);
}

// Setting the tidied text raises one more change, which finds nothing to
// replace: the text equal to its own normal form is left alone.
void PreferencesWindow::edNumOfShotsChange(HWND field) {
  const std::string text = WindowText(field);
  DWORD start = 0;
  Send(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  const NumberFieldText tidy = NormaliseNumberText(text, start);
  if (tidy.text != text) SetWindowTextA(field, tidy.text.c_str());
  if (tidy.selectAll) {
    Send(field, EM_SETSEL, 0, -1);
  } else {
    Send(field, EM_SETSEL, tidy.caret, static_cast<LPARAM>(tidy.caret));
  }
}

void PreferencesWindow::edIntervalExit(HWND field) {
  const std::string text = WindowText(field);
  const std::string left = LeaveNumberText(text);
  if (left != text) SetWindowTextA(field, left.c_str());
}

void PreferencesWindow::btFontClick() {
  if (dialogs_.chooseFont(owner_, fdFont_)) {
    SetWindowTextA(
        Control(IDC_btFont),
        ChosenFontCaption(fdFont_.name, fdFont_.bold, fdFont_.italic, static_cast<uint32_t>(fdFont_.size)).c_str());
  }
  cbxMakeWaterClick();
}

void PreferencesWindow::btColorClick() {
  auto color = static_cast<COLORREF>(cdFontColor_);
  if (dialogs_.chooseColor(owner_, color)) cdFontColor_ = static_cast<int32_t>(color);
  cbxMakeWaterClick();
}

void PreferencesWindow::shColorMouseDown() { btColorClick(); }

// Errors of the set-up (no default printer to fall back on) go to the main
// window's error handler.
void PreferencesWindow::Button1Click() { printer_.SetupDialog(owner_, SelectedIndex(Control(IDC_cbPrinters))); }

void PreferencesWindow::sbRefreshLanguagesClick() { RefreshLanguages(); }

void PreferencesWindow::cbLanguageKeyDown(WPARAM key) {
  if (key == VK_F5) RefreshLanguages();
}

void PreferencesWindow::lbHomeClick() { OpenHomePage(owner_); }

void PreferencesWindow::pcMainChange() {
  const auto shown = static_cast<int>(CurrentPage());
  for (int page = 0; page < kPageCount; ++page) ShowWindow(pages_[page], page == shown ? SW_SHOW : SW_HIDE);
}

// -- helpers of ShowPreferences and CollectPreferences -------------------------

// The field being edited is read as leaving it would leave it.
std::string PreferencesWindow::CollectedNumberText(int id) const {
  const HWND field = Control(id);
  const std::string text = WindowText(field);
  return GetFocus() == field ? LeaveNumberText(text) : text;
}

void PreferencesWindow::ShowHotKey(const HotKeyControls& row, int32_t mask, int32_t key) {
  const ModifierBoxes boxes = MaskToBoxes(mask);
  SetTicked(Control(row.ctrl), boxes.Ctrl);
  SetTicked(Control(row.alt), boxes.Alt);
  SetTicked(Control(row.shift), boxes.Shift);
  SetTicked(Control(row.win), boxes.Win);
  if (const auto item = KeyCodeToItem(key, SystemKeyNameOf)) SelectIndex(Control(row.key), *item);
}

HotKey PreferencesWindow::CollectHotKey(const HotKeyControls& row) const {
  const ModifierBoxes boxes{Ticked(Control(row.alt)), Ticked(Control(row.ctrl)), Ticked(Control(row.shift)),
                            Ticked(Control(row.win))};
  return {BoxesToMask(boxes), ItemToKeyCode(SelectedText(Control(row.key)), SystemKeyNameOf, SameTextInUserLocale)};
}

// The first entry with that name without regard to case; none when it is gone.
void PreferencesWindow::SelectPrinter(const std::string& name) {
  HWND printers = Control(IDC_cbPrinters);
  const LRESULT found = name.empty() ? CB_ERR
                                     : Send(printers, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(name.c_str()));
  Send(printers, CB_SETCURSEL, static_cast<WPARAM>(found == CB_ERR ? -1 : found));
}
