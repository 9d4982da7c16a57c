#pragma once
// The main window: invisible owner of the tray icon, the hot keys and the
// capture timer, and at the same time the Preferences window.
#include <windows.h>

#include <memory>

#include "app/application.h"

#include "app/tray_menu.h"
#include "capture/capture_request.h"
#include "capture/window_timer.h"
#include "info/ufmAbout.h"
#include "lang/catalogue.h"
#include "output/printer.h"
#include "prefs/preferences_window.h"
#include "prefs/preferences.h"

inline constexpr const char* kMainWindowClass = "TfmOptions";

class TfmOptions {
 public:
  explicit TfmOptions(HINSTANCE instance);
  ~TfmOptions();
  TfmOptions(const TfmOptions&) = delete;
  TfmOptions& operator=(const TfmOptions&) = delete;

  HWND handle() const { return handle_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  void FormCreate();
  void FormClose();
  void WMCommand(WPARAM wParam, LPARAM lParam);
  void WMHotKey(WPARAM id);
  void WMTrayIcon(LPARAM mouseMessage);
  void TakeShot(bool activeWindow);

  void AddTrayIcon();
  void miPreferencesClick();
  void miAutoStartClick();
  void miHelpClick();
  void miAboutClick();
  void miExitClick();
  void btApplyClick();
  void btOKClick();
  void btCancelClick();

  void LoadPreferences();
  void RegisterHotKeys();

  HINSTANCE instance_;
  HWND handle_ = nullptr;
  HICON icon_ = nullptr;  // from the module's resources: shared, not owned
  bool FExiting = false;
  bool shown_ = false;  // the first showing runs FormShow
  UINT taskbarCreated_ = 0;
  double screenPpi_ = 96;

  Preferences preferences_;
  MessageCatalogue catalogue_;
  TrayMenu PopupMenu1;
  Printer printer_;
  std::unique_ptr<WindowTimer> tiDelay;
  std::unique_ptr<CaptureRequest> capture_;
  std::unique_ptr<PreferencesWindow> face_;
  std::unique_ptr<TfmAbout> fmAbout;
};

// The general error handler: the error's text in a message box captioned
// with the application title; the program goes on.
void ShowError(const char* text);
