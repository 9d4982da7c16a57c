#include "ui/settings/preferences_pages.h"

#include <commctrl.h>

#include <algorithm>

#include "base/system_text.h"
#include "core/capture/key_names.h"
#include "core/information/home_page.h"
#include "core/languages/access_keys.h"
#include "core/languages/localised_error.h"
#include "core/output/page_geometry.h"
#include "core/settings/font_caption.h"
#include "services/languages/language_folder.h"
#include "services/output/page_file.h"
#include "services/output/printer.h"
#include "ui/settings/controls.h"
#include "ui/settings/setting_controls.h"

namespace {

constexpr const char* kPageClass = "VorlanePreferencesPage";

constexpr int kNoteHeight = 16;  // a line of text, as the labels have it
constexpr int kWaterTextLimit = 50;
constexpr int kTransparencyPage = 5;
constexpr int kTransparencyTick = 15;
constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;  // a change of drawing order only

bool IsNumberField(const Setting& setting) {
  return setting.shown == SettingShown::Number || setting.shown == SettingShown::Count;
}

bool IsNumberField(int id) {
  return std::ranges::any_of(kSettings, [id](const Setting& s) { return s.control == id && IsNumberField(s); });
}

}  // namespace

// -- the page windows ---------------------------------------------------------

void PreferencesPage::Create(PreferencesPages& pages, HWND tabs, const RECT& area, int id) {
  pages_ = &pages;
  RegisterWindowClass(GetModuleHandleW(nullptr), kPageClass);
  Window::Create(WS_EX_CONTROLPARENT, kPageClass, "", WS_CHILD | WS_CLIPSIBLINGS, area.left, area.top,
                 area.right - area.left, area.bottom - area.top, tabs, id);
}

LRESULT PreferencesPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:  // a page goes only with its window
      return 0;
    case WM_COMMAND:
      pages_->HandleCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      pages_->HandleNotify(lParam);
      return 0;
    case WM_DRAWITEM:
      pages_->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
  }
  return DefaultHandling(message, wParam, lParam);
}

// -- creation -----------------------------------------------------------------

PreferencesPages::PreferencesPages(HWND window, Printer& printer, std::string programDirectory, CommonDialogs dialogs)
    : window_(window), printer_(printer), programDirectory_(std::move(programDirectory)), dialogs_(std::move(dialogs)) {
  const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  CreateControls();
}

void PreferencesPages::CreateControls() {
  tabs_.reset(CreateWindowExW(
      WS_EX_CONTROLPARENT, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
      0, 0, kClientWidth, kClientHeight, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PAGES)),
      GetModuleHandleW(nullptr), nullptr));
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const ControlLayout layout{kButtonLayouts[i].id, ControlKind::Button, English(kButtonLayouts[i].caption), 0, 0,
                               kButtonWidth,         kButtonHeight};
    buttons_[i].reset(CreateControl(layout, window_));
  }
  for (int page = 0; page < kPageCount; ++page) {
    InsertTab(tabs_.get(), page, English(kPageLayouts[page].title));
  }
  // Shown below the tabs only while a policy holds some setting.
  managedNote_.reset(CreateWindowExW(0, L"STATIC", Wide(English(TextId::ManagedByOrganisation)).c_str(),
                                     WS_CHILD | SS_LEFT | SS_ENDELLIPSIS | SS_NOPREFIX, 0, 0, 0, 0, window_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_MANAGED_NOTE)),
                                     GetModuleHandleW(nullptr), nullptr));
  // Made at their design places; the layout for the DPI moves them.
  for (int page = 0; page < kPageCount; ++page) {
    pages_[page].Create(*this, tabs_.get(), RECT{0, 0, kClientWidth, kClientHeight}, kPageLayouts[page].id);
    for (const ControlLayout& layout : kPageLayouts[page].controls) {
      controls_[page].push_back(CreateControl(layout, pages_[page].handle()));
      if (layout.kind == ControlKind::Swatch) swatch_.Attach(controls_[page].back());
    }
    // A group box fills its inside: it goes beneath the controls it holds.
    // It takes no focus, so this changes only what is drawn on top.
    for (const ControlLayout& layout : kPageLayouts[page].controls) {
      if (layout.kind == ControlKind::Group) SetWindowPos(Control(layout.id), HWND_BOTTOM, 0, 0, 0, 0, kKeepPlace);
    }
  }

  for (const Setting& setting : kSettings) {
    if (setting.shown != SettingShown::KeyList) continue;
    for (const char* name : kKeyNames) AddItem(Control(setting.control), name);
  }
  for (const TextRow& row : kTextRows) {
    if (row.place == TextPlace::ListItem) AddItem(Control(row.control), row.english);
  }
  // The default action names the tray menu items it chooses between.
  for (TextId item : kDefaultActionItems) AddItem(Control(IDC_DEFAULT_ACTION), English(item));
  Send(Control(IDC_PAGE_POSITION), CB_SETMINVISIBLE, kPagePositionCount);  // all nine at once

  Send(Control(IDC_WATERMARK_TEXT), EM_LIMITTEXT, kWaterTextLimit);
  // A number field takes as many digits as its highest value has, a track
  // bar its setting's range.
  for (const Setting& setting : kSettings) {
    if (IsNumberField(setting)) {
      Send(Control(setting.control), EM_LIMITTEXT, std::to_string(setting.valid.highest).size());
    } else if (setting.shown == SettingShown::TrackBar) {
      Send(Control(setting.control), TBM_SETRANGE, TRUE, MAKELPARAM(setting.valid.lowest, setting.valid.highest));
    }
  }
  folderPickerTitle_ = English(TextId::PrintingFolderTitle);
  missingPrinterCaption_ = English(TextId::PrintingPrinterNotInstalled);

  HWND transparency = Control(IDC_TRANSPARENCY);
  Send(transparency, TBM_SETPAGESIZE, 0, kTransparencyPage);
  Send(transparency, TBM_SETTICFREQ, kTransparencyTick, 0);

  // Wine's link control leaves out the last character of its text when it
  // measures it: a blank after the link, so that the address is not cut.
  SetWindowTextOf(Control(IDC_HOME_PAGE_LINK), "<a>" + std::string(kHomePageHost) + "</a> ");
  // A track bar shows no text: its name is its label's, for screen readers.
  SetWindowTextOf(Control(IDC_TRANSPARENCY), English(TextId::WatermarkTransparency));

  // The swatch lies on the right end of the Color button; it takes no focus,
  // so raising it changes only what is drawn on top.
  SetWindowPos(swatch_.handle(), HWND_TOP, 0, 0, 0, 0, kKeepPlace);

  languageKeys_.Attach(Control(IDC_LANGUAGE), *this);
  linkKeys_.Attach(Control(IDC_HOME_PAGE_LINK), *this);
  // OK answers Enter wherever the focus is, but on another button.
  AddStyle(Control(IDC_OK), BS_DEFPUSHBUTTON);
  ApplyWatermarkSwitch();
  ChangeDpi(WindowDpi(window_));
  SelectPage(Page::General);
}

// -- the layout ---------------------------------------------------------------

void PreferencesPages::ChangeDpi(int dpi) {
  dpi_ = dpi;
  owners::Font font = MessageFont(dpi);
  const auto use = [&font](HWND control) { Send(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get())); };
  use(tabs_.get());
  for (const owners::Window& button : buttons_) use(button.get());
  use(managedNote_.get());
  for (const std::vector<HWND>& controls : controls_) std::ranges::for_each(controls, use);
  // The old font goes only now that no control uses it.
  controlFont_ = std::move(font);
  LayOut();
}

void PreferencesPages::LayOut() {
  const int margin = Scale(kMargin, dpi_);
  std::array<HWND, std::size(kButtonLayouts)> buttons{};
  std::ranges::transform(buttons_, buttons.begin(), [](const owners::Window& each) { return each.get(); });
  const SIZE button = ButtonSize(buttons, dpi_);
  // The page area: the design's, or more for what a page holds.
  RECT design{0, 0, Scale(kClientWidth, dpi_) - 2 * margin, Scale(kClientHeight - kButtonHeight, dpi_) - 3 * margin};
  Send(tabs_.get(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&design));
  SIZE area{design.right - design.left, design.bottom - design.top};
  for (int page = 0; page < kPageCount; ++page) {
    const POINT corner = LayOutPage(kPageLayouts[page].controls, controls_[page], dpi_);
    area.cx = std::max(area.cx, corner.x + margin);
    area.cy = std::max(area.cy, corner.y + margin);
  }
  RECT tabs{0, 0, area.cx, area.cy};
  Send(tabs_.get(), TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&tabs));
  // Every tab on one row: the control is as wide as its titles need.
  RECT lastTab{};
  Send(tabs_.get(), TCM_GETITEMRECT, kPageCount - 1, reinterpret_cast<LPARAM>(&lastTab));
  const int buttonsWidth =
      static_cast<int>(buttons_.size()) * (button.cx + Scale(kButtonGap, dpi_)) - Scale(kButtonGap, dpi_);
  const int width =
      std::max({static_cast<int>(tabs.right - tabs.left), static_cast<int>(lastTab.right) + margin, buttonsWidth}) +
      2 * margin;
  // The line about policies, with a margin above it, while it is shown.
  const int note = noteShown_ ? Scale(kNoteHeight, dpi_) + margin : 0;
  const int height = static_cast<int>(tabs.bottom - tabs.top) + button.cy + 3 * margin + note;

  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  const RECT frame = FrameForDpi(RECT{0, 0, width, height}, style, exStyle, dpi_);
  SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  const int buttonTop = height - margin - button.cy;
  MoveWindow(tabs_.get(), margin, margin, width - 2 * margin, buttonTop - 2 * margin - note, TRUE);
  MoveWindow(managedNote_.get(), margin, buttonTop - note, width - 2 * margin, std::max(note - margin, 0), TRUE);
  RECT pageArea{};
  GetClientRect(tabs_.get(), &pageArea);
  Send(tabs_.get(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pageArea));
  for (const PreferencesPage& page : pages_) {
    MoveWindow(page.handle(), pageArea.left, pageArea.top, pageArea.right - pageArea.left,
               pageArea.bottom - pageArea.top, TRUE);
  }
  int left = width - margin - buttonsWidth;
  for (HWND each : buttons) {
    MoveWindow(each, left, buttonTop, button.cx, button.cy, TRUE);
    left += button.cx + Scale(kButtonGap, dpi_);
  }
  // A page paints over its controls' old places: all of it is drawn anew.
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HWND PreferencesPages::Control(int id) const {
  for (const PreferencesPage& page : pages_) {
    if (HWND control = GetDlgItem(page.handle(), id)) return control;
  }
  if (id == IDC_PAGES) return tabs_.get();
  if (id == IDC_MANAGED_NOTE) return managedNote_.get();
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (kButtonLayouts[i].id == id) return buttons_[i].get();
  }
  return nullptr;
}

// -- operations for the main window -------------------------------------------

void PreferencesPages::PrepareFirstShowing() {
  AddStyle(Control(IDC_WATERMARK_COLOR), BS_LEFT);
  for (const Setting& setting : kSettings) {
    if (IsNumberField(setting)) AddStyle(Control(setting.control), ES_NUMBER);
  }
  // Left empty, the folder is the default one, shown in gray. Looked up
  // here rather than at start-up, which waits for nothing it does not need.
  Send(Control(IDC_FILE_PRINTER_FOLDER), EM_SETCUEBANNER, TRUE,
       reinterpret_cast<LPARAM>(Wide(DefaultPageFolder()).c_str()));
  RefreshLanguages();
}

void PreferencesPages::RefreshLanguages() {
  HWND list = Control(IDC_LANGUAGE);
  languages_ = ::RefreshLanguages(ListDirectory(LanguageSearchPattern(programDirectory_)), SelectedText(list));
  FillList(list, languages_.names);
  SelectIndex(list, languages_.selected ? static_cast<int32_t>(*languages_.selected) : -1);
}

void PreferencesPages::SelectLanguage(const std::string& name) {
  if (const auto entry = FindLanguage(languages_.names, name)) {
    SelectIndex(Control(IDC_LANGUAGE), static_cast<int32_t>(*entry));
  }
}

std::string PreferencesPages::SelectedLanguagePath() const {
  const int selected = SelectedIndex(Control(IDC_LANGUAGE));
  return LanguageFileOf(programDirectory_, languages_,
                        selected < 0 ? std::nullopt : std::optional<size_t>(static_cast<size_t>(selected)));
}

void PreferencesPages::ShowPreferences(const Preferences& record, const std::string& browseFont,
                                       const PoliciesInForce& policies) {
  const auto control = [this](int id) { return Control(id); };
  for (const Setting& setting : kSettings) ShowSetting(setting, record, control);

  // The font: a stored name is the dialog's font and the button's caption.
  if (!record.WatermarkFontName.empty()) font_.name = record.WatermarkFontName;
  font_.size = record.WatermarkFontSize;
  font_.bold = (record.WatermarkFontStyle & kFontStyleBold) != 0;
  font_.italic = (record.WatermarkFontStyle & kFontStyleItalic) != 0;
  // A font's name is shown as it is: an "&" in it marks no key.
  SetWindowTextOf(Control(IDC_WATERMARK_FONT),
                  LiteralCaption(StoredFontCaption(record.WatermarkFontName, font_.bold, font_.italic, font_.size,
                                                   WithoutAccessKey(browseFont))));
  fontColor_ = record.WatermarkFontColor;

  ShowPrinter(record.PrintPrinter, policies.Holds("PrintPrinter"));

  ShowManaged(policies);
}

Preferences PreferencesPages::CollectPreferences() const {
  Preferences values;
  const auto control = [this](int id) { return Control(id); };
  for (const Setting& setting : kSettings) CollectSetting(setting, values, control);
  values.Language = SelectedText(Control(IDC_LANGUAGE));
  values.WatermarkFontName = font_.name;
  values.WatermarkFontSize = font_.size;
  values.WatermarkFontStyle = (font_.bold ? kFontStyleBold : 0) | (font_.italic ? kFontStyleItalic : 0);
  values.WatermarkFontColor = fontColor_;
  values.PrintPrinter = missingPrinter_.empty() ? SelectedText(Control(IDC_PRINTER)) : missingPrinter_;
  return values;
}

int PreferencesPages::PrinterCount() const { return static_cast<int>(Send(Control(IDC_PRINTER), CB_GETCOUNT)); }

bool PreferencesPages::PrinterSelected() const { return SelectedIndex(Control(IDC_PRINTER)) >= 0; }

// The printers the system had at the first look, the first entry with that
// name selected without regard to case; none when it is gone. A printer a
// policy sets is listed all the same, said to be missing: the user cannot
// choose another, and pages go to the default printer.
void PreferencesPages::ShowPrinter(const std::string& name, bool managed) {
  HWND printers = Control(IDC_PRINTER);
  FillList(printers, printer_.PrinterNames());
  const int found = name.empty() ? -1 : FindItem(printers, name);
  missingPrinter_ = managed && found < 0 ? name : std::string();
  if (!missingPrinter_.empty()) AddItem(printers, FillFields(missingPrinterCaption_, {{"%PRINTER%", name}}));
  SelectIndex(printers, missingPrinter_.empty() ? found : PrinterCount() - 1);
}

void PreferencesPages::HandleCommand(int id, WORD code) {
  struct Route {
    int id;
    WORD code;
    void (PreferencesPages::*handler)();
  };
  static constexpr Route kRoutes[] = {
      {IDC_MAKE_WATERMARK, BN_CLICKED, &PreferencesPages::ApplyWatermarkSwitch},
      {IDC_DELAYED_CAPTURE, BN_CLICKED, &PreferencesPages::ApplyDelaySwitch},
      {IDC_SEVERAL_SHOTS, BN_CLICKED, &PreferencesPages::ApplySeriesSwitch},
      {IDC_FILE_PRINTER_AUTOSAVE, BN_CLICKED, &PreferencesPages::ApplyFileSaveSwitch},
      {IDC_BROWSE_FOLDER, BN_CLICKED, &PreferencesPages::ChooseFileFolder},
      {IDC_WATERMARK_FONT, BN_CLICKED, &PreferencesPages::ChooseWatermarkFont},
      {IDC_WATERMARK_COLOR, BN_CLICKED, &PreferencesPages::ChooseWatermarkColor},
      {IDC_COLOR_SWATCH, BN_CLICKED, &PreferencesPages::ChooseWatermarkColor},
      {IDC_PRINTER_PROPERTIES, BN_CLICKED, &PreferencesPages::OpenPrinterSetup},
      {IDC_REFRESH_LANGUAGES, BN_CLICKED, &PreferencesPages::RefreshLanguages},
  };
  for (const Route& route : kRoutes) {
    if (route.id == id && route.code == code) {
      (this->*route.handler)();
      return;
    }
  }
  if (!IsNumberField(id)) return;
  if (code == EN_CHANGE) TidyNumberField(Control(id));
  // The focus also leaves the field when the user switches to another
  // program or a box opens: only a move within the window counts. By now
  // the focus is on its new window; one of another program is none.
  const HWND next = GetFocus();
  if (code == EN_KILLFOCUS && next && IsChild(window_, next)) LeaveNumberField(Control(id));
}

bool PreferencesPages::HandleNotify(LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->idFrom == IDC_HOME_PAGE_LINK && (header->code == NM_CLICK || header->code == NM_RETURN)) {
    OpenHomePage();
    return true;
  }
  if (header->idFrom != IDC_PAGES || header->code != static_cast<UINT>(TCN_SELCHANGE)) return false;
  ShowSelectedPage();
  // The arrow keys go on changing the tab while the page control has the
  // focus; a page chosen any other way is entered at its first control.
  if (GetFocus() != tabs_.get()) FocusFirstControl();
  return true;
}

void PreferencesPages::DrawItem(const DRAWITEMSTRUCT& item) const {
  if (item.hwndItem == swatch_.handle()) swatch_.Draw(item);
}

void PreferencesPages::SelectPage(Page page) {
  Send(tabs_.get(), TCM_SETCURSEL, static_cast<WPARAM>(page));
  ShowSelectedPage();
}

Page PreferencesPages::CurrentPage() const { return static_cast<Page>(Send(tabs_.get(), TCM_GETCURSEL)); }

void PreferencesPages::ShowSelectedPage() {
  const auto shown = static_cast<int>(CurrentPage());
  for (int page = 0; page < kPageCount; ++page) ShowWindow(pages_[page].handle(), page == shown ? SW_SHOW : SW_HIDE);
  // What a screen reader calls the page control: the tab it shows.
  SetWindowTextOf(tabs_.get(), TabTitle(tabs_.get(), shown));
}
