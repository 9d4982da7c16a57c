#pragma once
// The visible face of the Preferences window: the page control with its four
// tab pages and the OK, Cancel and Apply buttons inside the main window, the
// font and colour the watermark is edited with, and the rules that enable and
// tidy the controls. The main window forwards its WM_COMMAND and WM_NOTIFY
// here; the pages pass their controls' messages on to the main window, so
// that every handler runs inside the main window's error handling.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "base/owners.h"
#include "base/paths.h"
#include "core/languages/texts.h"
#include "core/languages/language_list.h"
#include "core/settings/preferences.h"

class Printer;
class TrayMenu;
struct HotKey;

// The buttons whose clicks the main window handles itself.
enum class FaceCommand { None, OK, Cancel, Apply };

// The tab pages in their order on the page control.
enum class Page { General, Printing, Watermark, Timer };
inline constexpr int kPageCount = 4;

// What the font dialog holds: the font being edited.
struct FontChoice {
  std::string name = "MS Sans Serif";
  int32_t size = 8;  // points
  bool bold = false;
  bool italic = false;
};

struct SwatchColors {
  COLORREF fill = 0;
  COLORREF outline = 0;
};

// The system's font and colour dialogs: each edits the value it is given and
// tells whether the user confirmed. Replaceable, so that what the window does
// around them can be checked without someone at the keyboard.
struct CommonDialogs {
  std::function<bool(HWND owner, FontChoice& font)> chooseFont;
  std::function<bool(HWND owner, COLORREF& color)> chooseColor;
};
CommonDialogs SystemDialogs();

// The controls of one hot-key row: four modifier boxes and the key list.
struct HotKeyControls {
  int ctrl, alt, shift, win, key;
};

class PreferencesWindow {
 public:
  // Creates the controls in the owner's client area. The printer object
  // fills the printer list and opens the set-up dialog.
  PreferencesWindow(HWND owner, HINSTANCE instance, Printer& printer, std::string programDirectory = ProgramDirectory(),
                    CommonDialogs dialogs = SystemDialogs());
  ~PreferencesWindow() = default;
  PreferencesWindow(const PreferencesWindow&) = delete;
  PreferencesWindow& operator=(const PreferencesWindow&) = delete;

  // The first showing of the window: the Color caption to the left, digits
  // only in the number fields, the language list rebuilt, the preferences
  // loaded (the caller's part, which ends in ShowPreferences), the General tab.
  void FormShow(const std::function<void()>& loadPreferences);

  // Rebuilds the language list, keeping the selected name when it is still there.
  void RefreshLanguages();

  // Puts the record into the controls, applies the record's language and sets
  // the tray menu's marks.
  void ShowPreferences(const Preferences& record, bool autoStartExists, TrayMenu& menu, MessageCatalogue& catalogue);

  // The values as the controls hold them, ready to be saved.
  Preferences CollectPreferences() const;

  int PrinterCount() const;
  bool PrinterSelected() const;

  // The file of the selected language; with none selected a path that names no file.
  std::string SelectedLanguagePath() const;
  void ApplySelectedLanguage(TrayMenu& menu, MessageCatalogue& catalogue);

  // WM_COMMAND of the main window: runs the handler of a control of the face
  // and tells which of OK, Cancel and Apply was clicked, if any.
  FaceCommand HandleCommand(WPARAM wParam, LPARAM lParam);
  // WM_NOTIFY of the main window; true when it was the page control's.
  bool HandleNotify(LPARAM lParam);

  HWND handle() const { return owner_; }
  // A control of the face by its IDC_ identifier; nullptr for an unknown one.
  HWND Control(int id) const;

  void SelectPage(Page page);
  Page CurrentPage() const;

  // What the colour swatch is painted with.
  SwatchColors ShColorColors() const;
  const FontChoice& Font() const { return fdFont_; }
  int32_t FontColor() const { return cdFontColor_; }

 private:
  static LRESULT CALLBACK LanguageListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR self);

  void CreateControls(HINSTANCE instance);

  void cbxMakeWaterClick();
  void cbxDelayedCaptureClick();
  void cbxSeveralShotsClick();
  void edNumOfShotsChange(HWND field);
  void edIntervalExit(HWND field);
  void btFontClick();
  void btColorClick();
  void shColorMouseDown();
  void Button1Click();
  void sbRefreshLanguagesClick();
  void cbLanguageKeyDown(WPARAM key);
  void lbHomeClick();
  void pcMainChange();

  void ShowHotKey(const HotKeyControls& row, int32_t mask, int32_t key);
  HotKey CollectHotKey(const HotKeyControls& row) const;
  std::string CollectedNumberText(int id) const;
  void SelectPrinter(const std::string& name);

  HWND owner_;
  Printer& printer_;
  std::string programDirectory_;
  CommonDialogs dialogs_;
  LanguageList languages_;
  FontChoice fdFont_;
  int32_t cdFontColor_ = 0;  // 0x00BBGGRR as stored
  // Declared before the windows that use it, so that it outlives them.
  owners::Font linkFont_;
  owners::Window pcMain_;
  owners::Window buttons_[3];
  HWND pages_[kPageCount] = {};  // children of pcMain_, destroyed with it
};
