#pragma once
// The main window: invisible owner of the tray icon, the hot keys and the
// capture timer, and at the same time the Preferences window.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/application.h"
#include "ui/tray/tray_menu.h"
#include "core/capture/capture_request.h"
#include "services/capture/window_timer.h"
#include "ui/information/about_window.h"
#include "core/languages/texts.h"
#include "services/output/printer.h"
#include "core/settings/preferences.h"
#include "ui/settings/preferences_pages.h"

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

  void ReportError(const std::string& text);
  bool WaitsForPage(UINT message, WPARAM wParam, LPARAM lParam) const;
  void AfterJob();

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
  TfmAbout fmAbout;  // made before the main window: a box at start-up may already let About be chosen

  // Messages that would open a window and wait for the user while a page is
  // spooled, handed back to the queue once the job is closed, in their order.
  std::vector<MSG> held_;
  std::vector<std::string> errorsHeld_;   // to be shown once the job is closed
  std::vector<std::string> errorsShown_;  // on screen now: the same text gets no second box
};

// Posted to the main window when a print job is closed and messages or errors
// wait for it.
inline constexpr UINT WM_JOB_CLOSED = WM_APP + 1;

// The general error handler: the error's text in a message box captioned
// with the application title; the program goes on.
void ShowError(const char* text);
