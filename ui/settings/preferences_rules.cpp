#include <algorithm>
#include <utility>

#include "core/languages/access_keys.h"
#include "core/settings/font_caption.h"
#include "core/settings/number_field.h"
#include "services/information/help.h"
#include "services/output/page_file.h"
#include "services/output/printer.h"
#include "ui/settings/controls.h"
#include "ui/settings/preferences_pages.h"

// The Preferences pages' rules, which enable and tidy the controls, and the
// handlers of their buttons: the switches, the number fields, the dialogs.

namespace {

constexpr int kModifierBoxCount = 4;  // Ctrl, Alt, Shift and Win, identifiers in a row
// Controls that change a setting besides the one that shows it.
constexpr std::pair<int, int> kCompanionControls[] = {
    {IDC_COLOR_SWATCH, IDC_WATERMARK_COLOR},
    {IDC_FILE_PRINTER_FOLDER, IDC_BROWSE_FOLDER},
};
constexpr int kWatermarkControlsSwitched[] = {IDC_WATERMARK_CORNER, IDC_WATERMARK_TEXT, IDC_WATERMARK_FONT,
                                              IDC_WATERMARK_COLOR, IDC_TRANSPARENCY};

}  // namespace

void PreferencesPages::Enable(int id, bool on) {
  EnableWindow(Control(id), on && std::ranges::find(managed_, id) == managed_.end());
}

// What a policy holds the user cannot change: its controls are greyed, and
// so are the ones that change it besides its own.
void PreferencesPages::ShowManaged(const PoliciesInForce& policies) {
  const std::vector<int> before = std::exchange(managed_, {});
  for (const Setting& setting : kSettings) {
    if (!policies.Holds(setting)) continue;
    const int boxes = setting.shown == SettingShown::ModifierBoxes ? kModifierBoxCount : 1;
    for (int box = 0; box < boxes; ++box) managed_.push_back(setting.control + box);
    for (const auto& [control, companion] : kCompanionControls) {
      if (control == setting.control) managed_.push_back(companion);
    }
  }
  // The rules decide again for the controls a policy no longer holds.
  for (int id : before) EnableWindow(Control(id), TRUE);
  ApplyWatermarkSwitch();
  ApplyDelaySwitch();
  ApplySeriesSwitch();
  ApplyFileSaveSwitch();
  for (int id : managed_) EnableWindow(Control(id), FALSE);
  // The line below the tabs takes room only while it is shown.
  const bool noted = policies.Any();
  if (noted != noteShown_) {
    noteShown_ = noted;
    ShowWindow(managedNote_.get(), noted ? SW_SHOWNA : SW_HIDE);
    LayOut();
  }
}

// The watermark's controls are enabled exactly when it is switched on; the
// swatch shows the state by its colours.
void PreferencesPages::ApplyWatermarkSwitch() {
  const bool on = Ticked(Control(IDC_MAKE_WATERMARK));
  for (int id : kWatermarkControlsSwitched) Enable(id, on);
  // Outlined in the text colour, so that a high-contrast theme frames it too.
  swatch_.SetColors(on ? SwatchColors{static_cast<COLORREF>(fontColor_), GetSysColor(COLOR_WINDOWTEXT)}
                       : SwatchColors{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW)});
  NameSwatch();
}

void PreferencesPages::SetSwatchCaption(std::string caption) {
  swatchCaption_ = std::move(caption);
  NameSwatch();
}

// The colour held, whether or not the swatch shows it now.
void PreferencesPages::NameSwatch() { swatch_.SetName(ColorCaption(swatchCaption_, fontColor_)); }

void PreferencesPages::ApplyDelaySwitch() { Enable(IDC_DELAY, Ticked(Control(IDC_DELAYED_CAPTURE))); }

void PreferencesPages::ApplySeriesSwitch() {
  const bool on = Ticked(Control(IDC_SEVERAL_SHOTS));
  Enable(IDC_NUMBER_OF_SHOTS, on);
  Enable(IDC_INTERVAL, on);
  Enable(IDC_SHOTS_PER_PAGE, on);
}

// The folder counts only while pages of file printers are saved without asking.
void PreferencesPages::ApplyFileSaveSwitch() {
  const bool on = Ticked(Control(IDC_FILE_PRINTER_AUTOSAVE));
  Enable(IDC_FILE_PRINTER_FOLDER, on);
  Enable(IDC_BROWSE_FOLDER, on);
}

// Setting the tidied text raises one more change, which finds nothing to
// replace: the text equal to its own normal form is left alone.
void PreferencesPages::TidyNumberField(HWND field) {
  const std::string text = WindowText(field);
  DWORD start = 0;
  Send(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  const NumberFieldText tidy = NormaliseNumberText(text, start);
  if (tidy.text != text) SetWindowTextOf(field, tidy.text);
  if (tidy.selectAll) {
    Send(field, EM_SETSEL, 0, -1);
  } else {
    Send(field, EM_SETSEL, tidy.caret, static_cast<LPARAM>(tidy.caret));
  }
}

void PreferencesPages::LeaveNumberField(HWND field) {
  const std::string text = WindowText(field);
  const std::string left = LeaveNumberText(text);
  if (left != text) SetWindowTextOf(field, left);
}

void PreferencesPages::ChooseWatermarkFont() {
  if (dialogs_.chooseFont(window_, font_)) {
    SetWindowTextOf(Control(IDC_WATERMARK_FONT), LiteralCaption(ChosenFontCaption(font_.name, font_.bold, font_.italic,
                                                                                  static_cast<uint32_t>(font_.size))));
  }
  ApplyWatermarkSwitch();
}

void PreferencesPages::ChooseWatermarkColor() {
  auto color = static_cast<COLORREF>(fontColor_);
  if (dialogs_.chooseColor(window_, color)) fontColor_ = static_cast<int32_t>(color);
  ApplyWatermarkSwitch();
}

// The picker opens at the folder in the field, or at the default one.
void PreferencesPages::ChooseFileFolder() {
  const HWND field = Control(IDC_FILE_PRINTER_FOLDER);
  const std::string shown = WindowText(field);
  std::string folder = shown.empty() ? DefaultPageFolder() : shown;
  if (dialogs_.chooseFolder(window_, folderPickerTitle_, folder)) SetWindowTextOf(field, folder);
}

// Errors of the set-up (no default printer to fall back on) end at the page's
// error boundary. For a missing printer a policy sets, the default printer
// is set up: the pages go there.
void PreferencesPages::OpenPrinterSetup() {
  printer_.SetupDialog(window_, missingPrinter_.empty() ? SelectedIndex(Control(IDC_PRINTER)) : -1);
}

void PreferencesPages::OpenHomePage() { ::OpenHomePage(window_); }
