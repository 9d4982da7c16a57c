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

}  // namespace

MainWindow::MainWindow(HINSTANCE instance)
    : instance_(instance),
      classIcon_(LoadIconW(instance, MAKEINTRESOURCEW(IDI_TRAY))),
      // The shell announces a re-created taskbar (an Explorer restart) with this.
      taskbarCreatedMessage_(RegisterWindowMessageW(L"TaskbarCreated")),
      screenPixelsPerInch_(ScreenPixelsPerInch()),
      aboutWindow_(instance) {
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
  // While Exit gives the tray icon back, what comes in meanwhile is not taken.
  if (exiting_ && (message == WM_COMMAND || message == WM_COPYDATA || message == WM_HOTKEY || message == WM_TRAYICON ||
                   message == WM_TIMER)) {
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      BuildPreferences();
      return 0;
    case WM_CLOSE:
      if (!exiting_) HideToTray();
      return 0;
    case WM_SHOWWINDOW:
      // The Preferences closing over a region window give it the keyboard back.
      if (!wParam) GiveKeyboardToRegion();
      return DefaultHandling(message, wParam, lParam);
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
    case WM_HANDED_CAPTURE:
      RunHandedCapture();
      return 0;
    case WM_CAPTURE_REFUSED:
      ReportError(LocalisedError(TextId::CaptureRefusedWhileRegion));
      return 0;
    case WM_TIMER:
      if (wParam != kCaptureTimerId) return 0;
      // Before the tick, which may end the request or fail.
      CarryOnHandedCaptures();
      capture_->Tick();
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
// menus, which may open a window and wait for the user there, and the
// captures handed from command lines, each of which gives its page. A capture
// from a key or a click does not wait: it is refused.
bool MainWindow::WaitsForPrintJob(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (message == WM_TRAYICON) {
    const TrayDefault* action = TrayDefaultOf(settings_.DefaultAction);
    return !(lParam == WM_LBUTTONDBLCLK && action && action->action == TrayAction::Capture);
  }
  return message == WM_HANDED_CAPTURE || (message == WM_COMMAND && !HotKeyWithCommand(LOWORD(wParam)));
}

// An error of the program's own says itself in the language applied.
void MainWindow::ReportError(const std::exception& error) {
  const auto* localised = dynamic_cast<const LocalisedError*>(&error);
  ShowError(handle(), localised ? localised->Text(texts_) : error.what());
  GiveKeyboardToRegion();
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
  if (const HotKeySetting* hotKey = HotKeyWithCommand(command)) StartCapture(hotKey->kind);
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

void MainWindow::HandleHotKey(WPARAM id) {
  if (const HotKeySetting* hotKey = HotKeyWithId(static_cast<int>(id))) StartCapture(hotKey->kind);
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
  regionHanded_ = false;
  overlay_ = std::make_unique<RegionOverlay>(FreezeScreens(), texts_, handle(), WM_REGION_CHOSEN);
}

// Whatever happens, the region window is gone when this returns or throws,
// so that a box about a failed shot is not hidden beneath it.
void MainWindow::TakeChosenRegion() {
  std::unique_ptr<RegionOverlay> overlay = std::move(overlay_);
  CarryOnHandedCaptures();
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

// Only when a window of ours that opened over the region window closes:
// taking the keyboard back from a program the user went to would fight the user.
void MainWindow::GiveKeyboardToRegion() {
  if (!overlay_) return;
  // A box of ours still open over it, such as the first of two alike, keeps the keyboard until it closes.
  const HWND front = GetForegroundWindow();
  const bool oursOpen = front && front != handle() && front != overlay_->handle() && IsWindowVisible(front) &&
                        GetWindowThreadProcessId(front, nullptr) == GetCurrentThreadId();
  if (!oursOpen) overlay_->TakeKeyboard();
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
  KeptShot kept(std::move(shot->bitmap), std::move(shot->title), shot->taken, std::move(shot->windows));
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
  GiveKeyboardToRegion();
}

// The process ends as soon as the tray icon and the hot keys are given back
// and the sheet a series was filling has gone out. The system then takes
// away every window, box and dialog still open, with the callers beneath
// them, at once: closing each in turn would wait for it (two seconds a window
// under X11 without a window manager), and nothing is left to save, for
// settings are stored on Apply and a page being spooled holds Exit back
// until it is in the spooler.
void MainWindow::ExitProgram() {
  exiting_ = true;
  RemoveTrayIcon(handle());
  UnregisterHotKeys(handle());
  // A sheet that cannot go out says so, and the program ends all the same.
  // With no series going on, nothing waits.
  try {
    capture_->Drop();
  } catch (const std::exception& error) {
    ReportError(error);
  }
  ExitProcess(0);
}
