#pragma once
// The main window: invisible owner of the tray icon, the hot keys and the
// capture timer, and at the same time the Preferences window.
#include <windows.h>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>

#include "base/owners.h"
#include "base/window.h"
#include "core/capture/capture_request.h"
#include "core/languages/texts.h"
#include "core/settings/hot_key_settings.h"
#include "core/settings/policies.h"
#include "core/settings/preferences.h"
#include "services/capture/screen_grab.h"
#include "services/capture/window_timer.h"
#include "services/output/printer.h"
#include "services/output/sheets.h"
#include "ui/capture/region_overlay.h"
#include "ui/information/about_window.h"
#include "ui/settings/preferences_pages.h"
#include "ui/tray/tray_menu.h"

// The window class other programs and the tests know the window by.
inline constexpr const char* kMainWindowClass = "TfmOptions";

// Posted by the region window once the user has chosen or cancelled.
inline constexpr UINT WM_REGION_CHOSEN = WM_APP + 2;
// Posted to itself: carry out the next capture handed from a command line.
inline constexpr UINT WM_HANDED_CAPTURE = WM_APP + 3;
// Posted to itself: say that a capture handed from a command line was refused.
inline constexpr UINT WM_CAPTURE_REFUSED = WM_APP + 4;

class MainWindow : public Window {
 public:
  // Makes the window hidden, adds the tray icon, shows the stored settings in
  // the stored language and registers the hot keys.
  explicit MainWindow(HINSTANCE instance);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool WaitsForPrintJob(UINT message, WPARAM wParam, LPARAM lParam) const override;
  void ReportError(const std::exception& error) override;

  void BuildPreferences();
  void RunCommand(WORD command);
  bool HandleDialogKey(const MSG& key);
  void MoveFocus(WPARAM target, LPARAM isControl);
  LRESULT TakeHandedCommand(const COPYDATASTRUCT& data);
  void RunHandedCapture();
  void CarryOnHandedCaptures();
  void HandleHotKey(WPARAM id);
  void HandleTrayMouse(LPARAM mouseMessage);
  void StartCapture(CaptureKind kind);
  void ChooseRegion();
  void TakeChosenRegion();
  void GiveKeyboardToRegion();
  CaptureTiming Timing() const;
  void TakeShot(CaptureKind kind);

  void AddTrayIcon();
  void LoadTrayIcon(int dpi);
  void ChangeDpi(int dpi, const RECT& suggested);
  void CentreOnScreen();
  void OpenPreferences();
  void ToggleRunOnStartup();
  void OpenHelp();
  void ShowAbout();
  void ExitProgram();
  bool ApplySettings();
  bool PrinterChosen() const;
  void ApplyAndHide();
  void HideToTray();
  void LoadSettings();
  void RegisterHotKeys();

  HINSTANCE instance_;
  HICON classIcon_;  // from the module's resources: shared, not owned
  owners::Icon trayIcon_;
  bool exiting_ = false;
  bool shownBefore_ = false;  // the first showing prepares the pages
  UINT taskbarCreatedMessage_;
  double screenPixelsPerInch_;

  Preferences settings_;  // the user's own, with the policies in force over them
  PoliciesInForce policies_;
  RefusalReports refusals_;
  Texts texts_;
  TrayMenu trayMenu_;
  Printer printer_;
  Sheets sheets_{printer_, settings_, screenPixelsPerInch_};
  // Made before the main window: a box at start-up may already let About be chosen.
  AboutWindow aboutWindow_;
  std::unique_ptr<WindowTimer> captureTimer_;
  std::unique_ptr<CaptureRequest> capture_;
  std::unique_ptr<PreferencesPages> pages_;
  std::unique_ptr<RegionOverlay> overlay_;  // while a region is being chosen
  bool regionHanded_ = false;               // its window was asked for from a command line
  ScreenRect region_{};                     // the region of the request
  std::optional<Shot> frozenShot_;          // its one shot, when that is the frozen picture
  std::deque<CaptureKind> handedCaptures_;  // from command lines, each waiting for the one before
};
