// The main window as the Preferences window: its keyboard, its opening, and
// applying and loading the settings with the hot keys they name.
#include "app/main_window.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "base/dpi.h"
#include "base/error_box.h"
#include "base/message_loop.h"
#include "core/languages/localised_error.h"
#include "resources/resource.h"
#include "services/capture/hot_keys.h"
#include "services/settings/registry.h"
#include "ui/languages/apply_texts.h"
#include "ui/settings/layout.h"

bool MainWindow::HandleDialogKey(const MSG& key) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  if (GetKeyState(VK_MENU) < 0) return false;
  switch (key.wParam) {
    case VK_TAB:
      if (ctrl) {
        pages_->SelectNextPage(shift);
      } else {
        MoveFocus(shift, FALSE);
      }
      return true;
    case VK_NEXT:
    case VK_PRIOR:
      if (!ctrl) return false;
      pages_->SelectNextPage(key.wParam == VK_PRIOR);
      return true;
  }
  return false;
}

// As a dialog does: to the control given, or to the next tab stop after the
// focus or the one before. An access key of a label moves to the label, then
// on to the input it names.
void MainWindow::MoveFocus(WPARAM target, LPARAM isControl) {
  HWND next = isControl ? reinterpret_cast<HWND>(target) : pages_->NextTabStop(GetFocus(), target != 0);
  if (!next) return;
  // A field entered from the keyboard has its text selected, ready to be typed over.
  if (!isControl && (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)) {
    SendMessageW(next, EM_SETSEL, 0, -1);
  }
  SetFocus(next);
}

// A command from the command line of a copy started later. It is carried out
// once the sender has its answer, as the tray's commands are: the sender
// never waits for a capture or a window.
void MainWindow::CentreOnScreen() {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  RECT frame{};
  GetWindowRect(handle(), &frame);
  const RECT& work = monitor.rcWork;
  SetWindowPos(handle(), nullptr, (work.left + work.right - (frame.right - frame.left)) / 2,
               (work.top + work.bottom - (frame.bottom - frame.top)) / 2, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::OpenPreferences() {
  // The policies as they are now decide whether the window may open at all.
  RegistryPolicyStore computer(HKEY_LOCAL_MACHINE), user(HKEY_CURRENT_USER);
  policies_.disablePreferences = PoliciesNow(computer, user).disablePreferences;
  trayMenu_.SetPreferencesShown(!policies_.disablePreferences);
  if (policies_.disablePreferences) return;
  const HotKeyDefinitions hotKeysBefore = HotKeysOf(settings_);
  if (!IsWindowVisible(handle())) {
    ShowWindow(handle(), SW_SHOW);
    if (!shownBefore_) {
      shownBefore_ = true;
      pages_->PrepareFirstShowing();
      LoadSettings();
      pages_->SelectPage(Page::General);
    }
  }
  // Every opening shows what is stored and the policies as they are now:
  // edits that were not applied are gone.
  LoadSettings();
  if (HotKeysOf(settings_) != hotKeysBefore) {
    UnregisterHotKeys(handle());
    RegisterHotKeys();
  }
  ShowWindow(handle(), SW_SHOWNORMAL);
  SetForegroundWindow(handle());
  // Where a screen reader starts reading, and where the keyboard starts: the
  // focus is on a control, and shown.
  pages_->FocusFirstControl();
  SendMessageW(handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

// Saves what the pages hold, unless the user has a printer to choose and
// has none chosen.
bool MainWindow::ApplySettings() {
  // The policies as they are now: one may have come while the window was
  // open. A printer a policy sets is none of the user's to choose, and keeps
  // nothing else from being saved.
  RegistryPolicyStore computer(HKEY_LOCAL_MACHINE), user(HKEY_CURRENT_USER);
  const PoliciesInForce policiesNow = PoliciesNow(computer, user);
  if (!policiesNow.Holds("PrintPrinter") && !PrinterChosen()) return false;
  texts_ = ApplySelectedLanguage(*pages_);
  // A value in force by policy stays the user's own choice underneath.
  RegistryPreferenceStore store;
  SaveOwnPreferences(store, pages_->CollectPreferences(), policiesNow);
  LoadSettings();
  UnregisterHotKeys(handle());
  RegisterHotKeys();
  return true;
}

// Says so when there is no printer to choose, or none is chosen.
bool MainWindow::PrinterChosen() const {
  if (pages_->PrinterCount() == 0) {
    ShowMessage(handle(), texts_[TextId::NoPrintersInSystem]);
    return false;
  }
  if (!pages_->PrinterSelected()) {
    ShowMessage(handle(), texts_[TextId::PrinterNotSelected]);
    return false;
  }
  return true;
}

// After a refusal the window stays open with the user's edits, which its
// message said were not saved.
void MainWindow::ApplyAndHide() {
  if (ApplySettings()) HideToTray();
}

void MainWindow::HideToTray() {
  ShowWindow(handle(), SW_HIDE);
  AddTrayIcon();
}

// The stored settings with the policies in force over them, shown in their
// language; the tray menu follows them.
void MainWindow::LoadSettings() {
  RegistryPreferenceStore store;
  settings_ = LoadPreferences(store, [this] { return printer_.SelectedPrinterName(); });
  RegistryPolicyStore computer(HKEY_LOCAL_MACHINE), user(HKEY_CURRENT_USER);
  policies_ = ApplyPolicies(settings_, computer, user);
  pages_->SelectLanguage(settings_.Language);
  texts_ = ApplySelectedLanguage(*pages_);
  pages_->ShowPreferences(settings_, texts_[TextId::BrowseFont], policies_);
  trayMenu_.SetRunOnStartupChecked(StartWithWindowsExists());
  trayMenu_.SetDefaultAction(settings_.DefaultAction);
  trayMenu_.SetPreferencesShown(!policies_.disablePreferences);
}

void MainWindow::RegisterHotKeys() {
  if (exiting_) return;
  std::vector<HotKeyRegistration> registrations;
  for (const HotKeySetting& hotKey : kHotKeys) {
    registrations.push_back({hotKey.id, HotKeyOf(hotKey, settings_), texts_[hotKey.refused]});
  }
  ::RegisterHotKeys(handle(), registrations, [this, &registrations](size_t row, const std::string& text) {
    if (refusals_.ShouldReport(row, registrations[row].hotKey, FixedByPolicy(kHotKeys[row], policies_))) {
      ShowMessage(handle(), text);
    }
  });
}
