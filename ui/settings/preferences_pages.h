#pragma once
// The Preferences pages: the page control with its four tab pages inside the
// main window, the OK, Cancel and Apply buttons below it, the font and colour
// the watermark is edited with, and the rules that enable and tidy the
// controls. The main window handles the three buttons itself.
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/dpi.h"
#include "base/owners.h"
#include "base/paths.h"
#include "base/window.h"
#include "core/languages/language_list.h"
#include "core/settings/policies.h"
#include "core/settings/preferences.h"
#include "ui/settings/color_swatch.h"
#include "ui/settings/common_dialogs.h"
#include "ui/settings/layout.h"

class Printer;
class PreferencesPages;

// One tab page: it handles its controls' commands through the pages.
class PreferencesPage : public Window {
 public:
  void Create(PreferencesPages& pages, HWND tabs, const RECT& area, int id);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  PreferencesPages* pages_ = nullptr;
};

// F5 on the language list rebuilds it, whatever modifier keys are held.
class LanguageListKeys : public Subclass {
 public:
  void Attach(HWND list, PreferencesPages& pages);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  PreferencesPages* pages_ = nullptr;
};

// Space on the home-page link opens it, as Enter does.
class LinkKeys : public Subclass {
 public:
  void Attach(HWND link, PreferencesPages& pages);

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  PreferencesPages* pages_ = nullptr;
};

class PreferencesPages {
 public:
  // Makes the controls in the window's client area. The printer object fills
  // the printer list and opens the set-up dialog.
  PreferencesPages(HWND window, Printer& printer, std::string programDirectory = ProgramDirectory(),
                   CommonDialogs dialogs = SystemDialogs());
  PreferencesPages(const PreferencesPages&) = delete;
  PreferencesPages& operator=(const PreferencesPages&) = delete;
  ~PreferencesPages() = default;

  // The first showing: the Color caption to the left, digits only in the
  // number fields, the default folder in the empty folder field, the
  // language list rebuilt. The caller then shows the
  // preferences and the General page.
  void PrepareFirstShowing();

  // Rebuilds the language list, keeping the selected name when it is still there.
  void RefreshLanguages();
  // Selects the first language of that name (ASCII letters in any case); the
  // selection stays as it was when there is none.
  void SelectLanguage(const std::string& name);
  // The file of the selected language; with none selected a path that names no file.
  std::string SelectedLanguagePath() const;

  // Puts the record into the controls, all but the language. browseFont is
  // the font button's caption while no font name is stored. The controls of
  // settings in force by policy are greyed, and a line below the tabs says so.
  void ShowPreferences(const Preferences& record, const std::string& browseFont, const PoliciesInForce& policies = {});
  // The values as the controls hold them, ready to be saved.
  Preferences CollectPreferences() const;

  int PrinterCount() const;
  bool PrinterSelected() const;

  // Fonts for the DPI, and the controls laid out again with them.
  void ChangeDpi(int dpi);
  int Dpi() const { return dpi_; }
  // Places the controls for their captions as they are now, and sizes the
  // window to hold them, its top-left corner kept. After a change of texts.
  void LayOut();

  // A command of a control on a page.
  void HandleCommand(int id, WORD code);
  // WM_NOTIFY of the window or a page; true when it was the page control's
  // or the link's.
  bool HandleNotify(LPARAM lParam);
  // WM_DRAWITEM of a page: the swatch.
  void DrawItem(const DRAWITEMSTRUCT& item) const;
  void OpenHomePage();

  // The tab stops of the window in reading order: the page control, the
  // shown page's controls, OK, Cancel and Apply. The one after `from`, or
  // before it, among those shown and enabled; from a label, the input it
  // names; from elsewhere, the first or the last.
  HWND NextTabStop(HWND from, bool backwards) const;
  // The focus on the first control of the page shown.
  void FocusFirstControl() const;
  // The next page or the one before, in a ring, with the focus on its first control.
  void SelectNextPage(bool backwards);

  HWND window() const { return window_; }
  // A control by its IDC_ identifier; nullptr for an unknown one.
  HWND Control(int id) const;

  void SelectPage(Page page);
  Page CurrentPage() const;

  const SwatchColors& ShownSwatchColors() const { return swatch_.Colors(); }
  const FontChoice& Font() const { return font_; }
  // The caption of the folder picker the Browse button opens.
  void SetFolderPickerTitle(std::string title) { folderPickerTitle_ = std::move(title); }
  // The swatch's name: this caption, then the colour's value.
  void SetSwatchCaption(std::string caption);
  // What the printer list shows for a printer a policy sets that is not
  // installed: %PRINTER% stands for its name.
  void SetMissingPrinterCaption(std::string caption) { missingPrinterCaption_ = std::move(caption); }
  int32_t FontColor() const { return fontColor_; }

 private:
  void CreateControls();
  void ShowPrinter(const std::string& name, bool managed);

  // Enables a control as a rule wants it, unless a policy holds its setting.
  void Enable(int id, bool on);
  void ShowManaged(const PoliciesInForce& policies);

  void ApplyWatermarkSwitch();
  void ApplyDelaySwitch();
  void ApplySeriesSwitch();
  void ApplyFileSaveSwitch();
  void TidyNumberField(HWND field);
  void LeaveNumberField(HWND field);
  void ChooseWatermarkFont();
  void ChooseWatermarkColor();
  void ChooseFileFolder();
  void OpenPrinterSetup();
  void ShowSelectedPage();
  void NameSwatch();

  HWND window_;
  Printer& printer_;
  std::string programDirectory_;
  CommonDialogs dialogs_;
  LanguageList languages_;
  FontChoice font_;
  int32_t fontColor_ = 0;  // 0x00BBGGRR as stored
  std::string folderPickerTitle_;
  std::string swatchCaption_;
  std::string missingPrinterCaption_;
  std::string missingPrinter_;  // the name a policy sets when no printer has it
  int dpi_ = kBaseDpi;
  // Declared before the windows that use it, so that it outlives them.
  owners::Font controlFont_;
  owners::Window tabs_;
  std::array<owners::Window, std::size(kButtonLayouts)> buttons_;
  owners::Window managedNote_;
  bool noteShown_ = false;
  std::vector<int> managed_;  // the controls of the settings in force by policy
  std::array<PreferencesPage, kPageCount> pages_;
  // Each page's controls in the order of its rows; its own children.
  std::array<std::vector<HWND>, kPageCount> controls_;
  ColorSwatch swatch_;
  LanguageListKeys languageKeys_;
  LinkKeys linkKeys_;
};
