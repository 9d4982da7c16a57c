#include "app/main_window.h"

#include <algorithm>
#include <stdexcept>

#include "base/message_loop.h"
#include "base/paths.h"
#include "services/capture/hot_keys.h"
#include "services/capture/screen_grab.h"
#include "core/information/help_path.h"
#include "services/information/help.h"
#include "core/languages/localised_error.h"
#include "services/output/print_shot.h"
#include "services/settings/registry.h"
#include "resources/resource.h"

namespace {

constexpr int kClientWidth = 440;
constexpr int kClientHeight = 360;

void RegisterWindowClass(HINSTANCE instance, HICON icon, WNDPROC procedure) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kMainWindowClass;
  RegisterClassExA(&windowClass);
}

}  // namespace

void ShowError(const char* text) {
  MessageBoxA(nullptr, text, kApplicationTitle, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

TfmOptions::TfmOptions(HINSTANCE instance)
    : instance_(instance), icon_(LoadIconA(instance, MAKEINTRESOURCEA(IDI_TRAY))), fmAbout(instance) {
  screenPpi_ = ScreenPixelsPerInch();
  // The shell announces a re-created taskbar (an Explorer restart) with this.
  taskbarCreated_ = RegisterWindowMessageA("TaskbarCreated");
  RegisterWindowClass(instance, icon_, WindowProc);
  // A fixed single-border window centred on the screen; created hidden.
  RECT frame{0, 0, kClientWidth, kClientHeight};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  CreateWindowExA(WS_EX_DLGMODALFRAME, kMainWindowClass, "Preferences", style,
                  (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width,
                  height, nullptr, nullptr, instance, this);
  if (!handle_) throw std::runtime_error("The main window could not be created.");
  SetDialogWindow(handle_);
  face_->RefreshLanguages();
  LoadPreferences();
  RegisterHotKeys();
}

TfmOptions::~TfmOptions() {
  SetDialogWindow(nullptr);
  if (handle_) DestroyWindow(handle_);
}

LRESULT CALLBACK TfmOptions::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<TfmOptions*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<TfmOptions*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    return DefWindowProcA(window, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (const LocalisedError& error) {
    self->ReportError(error.Text(self->catalogue_));
  } catch (const std::exception& error) {
    self->ReportError(error.what());
  }
  return 0;
}

// A box opened while a page is spooled would make the job wait for the user:
// it is shown once the job is closed. Quick repeated refusals add no box
// while one with the same text is on screen.
void TfmOptions::ReportError(const std::string& text) {
  if (printer_.Printing()) {
    if (std::ranges::find(errorsHeld_, text) == errorsHeld_.end()) errorsHeld_.push_back(text);
    return;
  }
  if (std::ranges::find(errorsShown_, text) != errorsShown_.end()) return;
  errorsShown_.push_back(text);
  ShowError(text.c_str());
  errorsShown_.erase(std::ranges::find(errorsShown_, text));
}

// What waits until the page is spooled: anything that may open a window and
// wait for the user there. A capture does not wait: it is refused.
bool TfmOptions::WaitsForPage(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (message == WM_TRAYICON) return !(lParam == WM_LBUTTONDBLCLK && preferences_.DefaultAction == 0);
  if (message != WM_COMMAND) return false;
  const UINT command = LOWORD(wParam);
  return lParam != 0 || (command != IDM_ENTIRE_SCREEN && command != IDM_ACTIVE_WINDOW);
}

// Called after every shot: once no job is open any more, what waited for it
// goes back to the queue, followed by the errors it held.
void TfmOptions::AfterJob() {
  if (printer_.Printing() || (held_.empty() && errorsHeld_.empty())) return;
  for (const MSG& waiting : held_) PostMessageA(handle_, waiting.message, waiting.wParam, waiting.lParam);
  held_.clear();
  PostMessageA(handle_, WM_JOB_CLOSED, 0, 0);
}

LRESULT TfmOptions::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // After Exit the window only waits to be destroyed: it takes no more requests.
  if (FExiting && (message == WM_COMMAND || message == WM_HOTKEY || message == WM_TRAYICON || message == WM_TIMER)) {
    return 0;
  }
  if (printer_.Printing() && WaitsForPage(message, wParam, lParam)) {
    held_.push_back({handle_, message, wParam, lParam, 0, {}});
    return 0;
  }
  switch (message) {
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_CLOSE:
      FormClose();
      return 0;
    case WM_COMMAND:
      WMCommand(wParam, lParam);
      return 0;
    case WM_NOTIFY:
      if (face_) face_->HandleNotify(lParam);  // controls may notify while the face is being built
      return 0;
    case WM_HOTKEY:
      WMHotKey(wParam);
      return 0;
    case WM_TIMER:
      if (wParam == kDelayTimerId) capture_->tiDelayTimer();
      return 0;
    case WM_TRAYICON:
      WMTrayIcon(lParam);
      return 0;
    case WM_JOB_CLOSED: {
      std::vector<std::string> errors;
      errors.swap(errorsHeld_);
      for (const std::string& text : errors) ReportError(text);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    AddTrayIcon();
    return 0;
  }
  return DefWindowProcA(handle_, message, wParam, lParam);
}

void TfmOptions::FormCreate() {
  // No system menu, no minimise or maximise box: the window is left with a
  // caption bar only, and OK, Cancel or Exit are the ways out.
  const LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
  SetWindowLongPtrA(handle_, GWL_STYLE, style & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU));
  // The icon before the Preferences controls: it is what the user waits for
  // at start-up, and no message is handled before the constructor is done.
  AddTrayIcon();
  face_ = std::make_unique<PreferencesWindow>(handle_, instance_, printer_);
  tiDelay = std::make_unique<WindowTimer>(handle_);
  capture_ =
      std::make_unique<CaptureRequest>(*tiDelay, preferences_, [this](bool activeWindow) { TakeShot(activeWindow); });
  FExiting = false;
}

// Every close request only sends the window back to the tray: Exit ends the
// program by ending its message loop.
void TfmOptions::FormClose() {
  if (!FExiting) btCancelClick();
}

void TfmOptions::WMCommand(WPARAM wParam, LPARAM lParam) {
  if (lParam != 0) {  // from a control of the Preferences window
    if (!face_) return;
    switch (face_->HandleCommand(wParam, lParam)) {
      case FaceCommand::OK:
        btOKClick();
        break;
      case FaceCommand::Cancel:
        btCancelClick();
        break;
      case FaceCommand::Apply:
        btApplyClick();
        break;
      case FaceCommand::None:
        break;
    }
    return;
  }
  switch (LOWORD(wParam)) {
    case IDM_ENTIRE_SCREEN:
      capture_->miEntireScreenClick();
      break;
    case IDM_ACTIVE_WINDOW:
      capture_->miActiveWindowClick();
      break;
    case IDM_PREFERENCES:
      miPreferencesClick();
      break;
    case IDM_AUTO_START:
      miAutoStartClick();
      break;
    case IDM_HELP:
      miHelpClick();
      break;
    case IDM_ABOUT:
      miAboutClick();
      break;
    case IDM_EXIT:
      miExitClick();
      break;
  }
}

void TfmOptions::WMHotKey(WPARAM id) {
  if (id == kEntireScreenHotKeyId) capture_->miEntireScreenClick();
  if (id == kActiveWindowHotKeyId) capture_->miActiveWindowClick();
}

void TfmOptions::WMTrayIcon(LPARAM mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONDBLCLK:
      if (preferences_.DefaultAction == 0) capture_->miEntireScreenClick();
      if (preferences_.DefaultAction == 1) miPreferencesClick();
      break;
    case WM_RBUTTONUP:
      PopupMenu1.Popup(handle_);
      break;
  }
}

void TfmOptions::TakeShot(bool activeWindow) {
  struct AfterJobScope {
    TfmOptions& window;
    ~AfterJobScope() { window.AfterJob(); }
  } afterJob{*this};
  std::optional<Shot> shot = activeWindow ? GrabActiveWindow() : std::optional<Shot>(GrabEntireScreen());
  if (!shot) return;  // nothing in the foreground: nothing to print
  PrintShot(printer_, std::move(shot->bitmap), shot->title, preferences_, screenPpi_);
}

// Also what sending the window back to the tray runs, so the icon returns
// if it was lost; never again after Exit took it away.
void TfmOptions::AddTrayIcon() {
  if (!FExiting) ::AddTrayIcon(handle_, icon_);
}

void TfmOptions::miPreferencesClick() {
  if (!IsWindowVisible(handle_)) {
    ShowWindow(handle_, SW_SHOW);
    if (!shown_) {
      shown_ = true;
      face_->FormShow([this] { LoadPreferences(); });
    }
  }
  LoadPreferences();
  ShowWindow(handle_, SW_SHOWNORMAL);
  SetForegroundWindow(handle_);
}

void TfmOptions::miAutoStartClick() {
  // The mark changes whatever the registry says; the next load shows its real state.
  if (StartWithWindowsExists()) {
    PopupMenu1.SetAutoStartChecked(false);
    RemoveStartWithWindows();
  } else {
    PopupMenu1.SetAutoStartChecked(true);
    AddStartWithWindows(ExecutablePath());
  }
}

void TfmOptions::miHelpClick() { OpenHelp(handle_, HelpFilePath(ExecutablePath(), catalogue_.HelpFileName)); }

void TfmOptions::miAboutClick() {
  fmAbout.SetVersionCaption(AboutVersionCaption(ExecutablePath()));
  fmAbout.ShowModal(handle_);
}

// The window is destroyed only after the message loop has ended, never
// beneath a box or a dialog whose caller still runs: their loops end on the
// quit and hand it on.
void TfmOptions::miExitClick() {
  RemoveTrayIcon(handle_);
  UnregisterHotKeys(handle_);
  capture_->Drop();
  FExiting = true;
  ShowWindow(handle_, SW_HIDE);
  PostQuitMessage(0);
}

void TfmOptions::btApplyClick() {
  if (face_->PrinterCount() == 0) {
    MessageBoxA(handle_, catalogue_.NoPrintersInSystem.c_str(), kApplicationTitle, MB_OK);
    return;
  }
  if (!face_->PrinterSelected()) {
    MessageBoxA(handle_, catalogue_.PrinterNotSelected.c_str(), kApplicationTitle, MB_OK);
    return;
  }
  face_->ApplySelectedLanguage(PopupMenu1, catalogue_);
  RegistryPreferenceStore store;
  SavePreferences(store, face_->CollectPreferences());
  LoadPreferences();
  UnregisterHotKeys(handle_);
  RegisterHotKeys();
}

// The window goes back to the tray even when Apply refused.
void TfmOptions::btOKClick() {
  btApplyClick();
  btCancelClick();
}

void TfmOptions::btCancelClick() {
  ShowWindow(handle_, SW_HIDE);
  AddTrayIcon();
}

void TfmOptions::LoadPreferences() {
  RegistryPreferenceStore store;
  preferences_ = ::LoadPreferences(store, [this] { return printer_.SelectedPrinterName(); });
  face_->ShowPreferences(preferences_, StartWithWindowsExists(), PopupMenu1, catalogue_);
}

void TfmOptions::RegisterHotKeys() {
  if (FExiting) return;
  ::RegisterHotKeys(handle_, {preferences_.ShortcutShiftEntireScreen, preferences_.ShortcutKeyEntireScreen},
                    {preferences_.ShortcutShiftActiveWindow, preferences_.ShortcutKeyActiveWindow},
                    catalogue_.UnableSetEntireScreenSC, catalogue_.UnableSetActiveWindowSC);
}
