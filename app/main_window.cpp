#include "app/main_window.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "base/dpi.h"
#include "base/error_box.h"
#include "base/message_loop.h"
#include "base/paths.h"
#include "core/commands/command_line.h"
#include "core/information/help_path.h"
#include "core/languages/localised_error.h"
#include "resources/resource.h"
#include "services/capture/hot_keys.h"
#include "services/capture/screen_grab.h"
#include "services/commands/command_handoff.h"
#include "services/information/help.h"
#include "services/output/print_shot.h"
#include "services/settings/registry.h"
#include "ui/languages/apply_texts.h"
#include "ui/settings/layout.h"

namespace {

// How each capture is asked for: by its hot key, or by its command (the
// tray's default action and other programs post those).
struct CaptureRoute {
  WPARAM hotKey;
  WORD command;
  CaptureKind kind;
};
constexpr CaptureRoute kCaptureRoutes[] = {
    {kEntireScreenHotKeyId, IDM_ENTIRE_SCREEN, CaptureKind::EntireScreen},
    {kActiveWindowHotKeyId, IDM_ACTIVE_WINDOW, CaptureKind::ActiveWindow},
    {kRegionHotKeyId, IDM_REGION, CaptureKind::Region},
};

// What a double click on the tray icon does, by the DefaultAction value.
enum class TrayAction { Capture, OpenPreferences };
struct TrayDefault {
  TrayAction action;
  CaptureKind kind;
};
constexpr TrayDefault kTrayDefaults[] = {
    {TrayAction::Capture, CaptureKind::EntireScreen},
    {TrayAction::OpenPreferences, {}},
    {TrayAction::Capture, CaptureKind::Region},
};

const TrayDefault* TrayDefaultOf(int32_t value) {
  if (value < 0 || value >= static_cast<int32_t>(std::size(kTrayDefaults))) return nullptr;
  return &kTrayDefaults[value];
}

bool IsCaptureCommand(WORD command) {
  return std::ranges::any_of(kCaptureRoutes, [command](const CaptureRoute& route) { return route.command == command; });
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance),
      classIcon_(LoadIconW(instance, MAKEINTRESOURCEW(IDI_TRAY))),
      screenPixelsPerInch_(ScreenPixelsPerInch()),
      aboutWindow_(instance) {
  // The shell announces a re-created taskbar (an Explorer restart) with this.
  taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
  RegisterWindowClass(instance, kMainWindowClass, classIcon_);
  // A fixed single-border window, made hidden; the Preferences pages give it
  // its size for their captions and the window's DPI.
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  Create(WS_EX_DLGMODALFRAME, kMainWindowClass, English(TextId::Title), style, CW_USEDEFAULT, CW_USEDEFAULT,
         kClientWidth, kClientHeight, nullptr);
  SetDialogWindow(handle(), [this](const MSG& key) { return HandleDialogKey(key); });
  pages_->RefreshLanguages();
  LoadSettings();
  CentreOnScreen();
  RegisterHotKeys();
}

MainWindow::~MainWindow() {
  SetDialogWindow(nullptr);
  RemoveTrayIcon(handle());
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // After Exit the window only waits to be destroyed: it takes no more requests.
  if (exiting_ && (message == WM_COMMAND || message == WM_HOTKEY || message == WM_TRAYICON || message == WM_TIMER)) {
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      BuildPreferences();
      return 0;
    case WM_CLOSE:
      if (!exiting_) HideToTray();
      return 0;
    case WM_COMMAND:
      RunCommand(LOWORD(wParam));
      return 0;
    case WM_COPYDATA:
      return TakeHandedCommand(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_NOTIFY:
      if (pages_) pages_->HandleNotify(lParam);  // the page control notifies while it is being made
      return 0;
    case WM_HOTKEY:
      HandleHotKey(wParam);
      return 0;
    case WM_REGION_CHOSEN:
      TakeChosenRegion();
      return 0;
    case WM_TIMER:
      if (wParam == kCaptureTimerId) capture_->Tick();
      return 0;
    case WM_TRAYICON:
      HandleTrayMouse(lParam);
      return 0;
    case WM_DPICHANGED:
      ChangeDpi(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_NEXTDLGCTL:
      MoveFocus(wParam, lParam);
      return 0;
    case DM_GETDEFID:  // Enter presses OK, as in a dialog
      return MAKELRESULT(IDC_OK, DC_HASDEFID);
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  if (message == taskbarCreatedMessage_ && taskbarCreatedMessage_ != 0) {
    AddTrayIcon();
    return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

// What waits while a page is spooled: everything from the tray and the
// menus, which may open a window and wait for the user there. A capture does
// not wait: it is refused.
bool MainWindow::WaitsForPrintJob(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (message == WM_TRAYICON) {
    const TrayDefault* action = TrayDefaultOf(settings_.DefaultAction);
    return !(lParam == WM_LBUTTONDBLCLK && action && action->action == TrayAction::Capture);
  }
  return message == WM_COMMAND && !IsCaptureCommand(LOWORD(wParam));
}

// An error of the program's own says itself in the language applied.
void MainWindow::ReportError(const std::exception& error) {
  const auto* localised = dynamic_cast<const LocalisedError*>(&error);
  ShowError(handle(), localised ? localised->Text(texts_) : error.what());
}

void MainWindow::BuildPreferences() {
  // No system menu, no minimise or maximise box: the window is left with a
  // caption bar only, and OK, Cancel or Exit are the ways out.
  const LONG_PTR style = GetWindowLongPtrW(handle(), GWL_STYLE);
  SetWindowLongPtrW(handle(), GWL_STYLE, style & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU));
  // The icon before the Preferences controls: it is what the user waits for
  // at start-up, and no message is handled before the constructor is done.
  LoadTrayIcon(WindowDpi(handle()));
  AddTrayIcon();
  pages_ = std::make_unique<PreferencesPages>(handle(), printer_);
  captureTimer_ = std::make_unique<WindowTimer>(handle());
  capture_ = std::make_unique<CaptureRequest>(
      *captureTimer_, [this] { return Timing(); }, [this](CaptureKind kind) { TakeShot(kind); },
      [this] { sheets_.EndSeries(); });
}

void MainWindow::RunCommand(WORD command) {
  for (const CaptureRoute& route : kCaptureRoutes) {
    if (route.command == command) StartCapture(route.kind);
  }
  switch (command) {
    case IDM_PRINT_AGAIN:
      sheets_.PrintAgain();
      break;
    case IDM_PREFERENCES:
      OpenPreferences();
      break;
    case IDM_RUN_ON_STARTUP:
      ToggleRunOnStartup();
      break;
    case IDM_HELP:
      OpenHelp();
      break;
    case IDM_ABOUT:
      ShowAbout();
      break;
    case IDM_EXIT:
      ExitProgram();
      break;
    case IDOK:  // Enter
    case IDC_OK:
      ApplyAndHide();
      break;
    case IDCANCEL:  // Esc
    case IDC_CANCEL:
      HideToTray();
      break;
    case IDC_APPLY:
      ApplySettings();
      break;
  }
}

// Tab follows the reading order of the page shown, across the page control
// and the buttons; Ctrl+Tab and Ctrl+Page Down go to the next page, with
// Shift or Page Up to the one before.
LRESULT MainWindow::TakeHandedCommand(const COPYDATASTRUCT& data) {
  const int command = CommandOfOption(HandedOption(data));
  if (command == 0) return FALSE;
  PostMessageW(handle(), WM_COMMAND, static_cast<WPARAM>(command), 0);
  return TRUE;
}

void MainWindow::HandleHotKey(WPARAM id) {
  for (const CaptureRoute& route : kCaptureRoutes) {
    if (route.hotKey == id) StartCapture(route.kind);
  }
}

void MainWindow::HandleTrayMouse(LPARAM mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
      if (const TrayDefault* action = TrayDefaultOf(settings_.DefaultAction)) {
        if (action->action == TrayAction::Capture) StartCapture(action->kind);
        if (action->action == TrayAction::OpenPreferences) OpenPreferences();
      }
      break;
    case WM_RBUTTONUP:
      trayMenu_.SetPrintAgainEnabled(sheets_.CanPrintAgain());
      trayMenu_.Popup(handle(), texts_);
      break;
  }
}

void MainWindow::StartCapture(CaptureKind kind) {
  // While a region is being chosen its window covers the screens: a shot
  // would show it, and a second one would cover the first.
  if (overlay_) return;
  switch (kind) {
    case CaptureKind::EntireScreen:
      capture_->StartEntireScreen();
      break;
    case CaptureKind::ActiveWindow:
      capture_->StartActiveWindow();
      break;
    case CaptureKind::Region:
      ChooseRegion();
      break;
  }
}

// The screens are frozen at the key press, so that menus and tooltips the
// key would close stay in the shot.
void MainWindow::ChooseRegion() {
  // The region request replaces the one in progress from now: a series going
  // on would take shots of the region window.
  capture_->Drop();
  overlay_ = std::make_unique<RegionOverlay>(FreezeScreens(), texts_, handle(), WM_REGION_CHOSEN);
}

// Whatever happens, the region window is gone when this returns or throws,
// so that a box about a failed shot is not hidden beneath it.
void MainWindow::TakeChosenRegion() {
  std::unique_ptr<RegionOverlay> overlay = std::move(overlay_);
  if (!overlay || !overlay->Taken()) return;
  region_ = *overlay->Taken();
  frozenShot_.reset();
  if (TakesFrozenPicture(Timing())) {
    // The page needs no screen: it goes out before the window is ended.
    frozenShot_ = CutArea(overlay->Frozen(), region_);
  } else {
    // Ended, and off what the screens show, before a shot copies them anew.
    overlay.reset();
    AwaitScreensShown();
  }
  capture_->StartRegion();
}

CaptureTiming MainWindow::Timing() const {
  return {settings_.TimerDelayedCapture, settings_.TimerDelay, settings_.TimerSeveralShots,
          settings_.TimerNumberOfShots, settings_.TimerInterval};
}

void MainWindow::TakeShot(CaptureKind kind) {
  sheets_.LetGoOfLastPage();
  std::optional<Shot> shot;
  switch (kind) {
    case CaptureKind::EntireScreen:
      shot = GrabEntireScreen(settings_.CaptureScreen, settings_.CaptureMousePointer);
      break;
    case CaptureKind::ActiveWindow:
      shot = GrabActiveWindow(settings_.CaptureMousePointer);
      break;
    case CaptureKind::Region:
      // The frozen picture serves once; where the crosshair was the pointer, none is drawn in.
      shot = frozenShot_ ? std::exchange(frozenShot_, std::nullopt)
                         : GrabScreenArea(region_, settings_.CaptureMousePointer);
      break;
  }
  if (!shot) return;  // nothing in the foreground: nothing to print
  KeptShot kept(std::move(shot->bitmap), std::move(shot->title), shot->taken);
  if (capture_->Flags() & kCaptureSeries) {
    sheets_.AddToSeries(std::move(kept));
  } else {
    sheets_.PrintAlone(std::move(kept));
  }
}

// Also what sending the window back to the tray runs, so the icon returns
// if it was lost; never again after Exit took it away.
void MainWindow::AddTrayIcon() {
  if (!exiting_) ::AddTrayIcon(handle(), trayIcon_.get());
}

// The small-icon size of the DPI: the resource holds an image for each
// common one, so none is stretched.
void MainWindow::LoadTrayIcon(int dpi) {
  trayIcon_.reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(IDI_TRAY), IMAGE_ICON,
                                                SystemMetricForDpi(SM_CXSMICON, dpi),
                                                SystemMetricForDpi(SM_CYSMICON, dpi), LR_DEFAULTCOLOR)));
}

// The window moves where the system suggests, takes fonts for the new DPI
// and lays itself out with them; the tray icon is loaded at its new size.
void MainWindow::ChangeDpi(int dpi, const RECT& suggested) {
  SetWindowPos(handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  pages_->ChangeDpi(dpi);
  // Released once the shell shows the new one.
  const owners::Icon previous = std::move(trayIcon_);
  LoadTrayIcon(dpi);
  if (!exiting_) ChangeTrayIcon(handle(), trayIcon_.get());
}

void MainWindow::ToggleRunOnStartup() {
  // The mark changes whatever the registry says; the next load shows its real state.
  if (StartWithWindowsExists()) {
    trayMenu_.SetRunOnStartupChecked(false);
    RemoveStartWithWindows();
  } else {
    trayMenu_.SetRunOnStartupChecked(true);
    AddStartWithWindows(ExecutablePath());
  }
}

void MainWindow::OpenHelp() { ::OpenHelp(handle(), HelpFilePath(ExecutablePath(), texts_.HelpFileName())); }

void MainWindow::ShowAbout() {
  aboutWindow_.SetVersionCaption(AboutVersionCaption(ExecutablePath()));
  aboutWindow_.ShowModal(handle());
}

// The window is destroyed only after the message loop has ended, never
// beneath a box or a dialog whose caller still runs: their loops end on the
// quit and hand it on.
void MainWindow::ExitProgram() {
  overlay_.reset();
  RemoveTrayIcon(handle());
  UnregisterHotKeys(handle());
  exiting_ = true;
  ShowWindow(handle(), SW_HIDE);
  // The shots a series has taken go out before the program ends; a sheet
  // that cannot says so, and the program ends all the same.
  try {
    capture_->Drop();
  } catch (const std::exception& error) {
    ReportError(error);
  }
  PostQuitMessage(0);
}
