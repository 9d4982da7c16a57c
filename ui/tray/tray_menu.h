#pragma once
// The tray icon and its popup menu.
#include <windows.h>

#include <cstdint>

#include "base/owners.h"
#include "core/languages/texts.h"

// The message the icon sends its window, with the mouse message in lParam.
inline constexpr UINT WM_TRAYICON = WM_USER + 123;

// Adds the icon; a repeated add while it exists has no effect.
void AddTrayIcon(HWND window, HICON icon);
// The same icon in another image: its size for a new DPI.
void ChangeTrayIcon(HWND window, HICON icon);
void RemoveTrayIcon(HWND window);

// What the menu remembers between openings: its default item and the check
// of Run on startup. The menu itself is made as it opens, in the language of
// the texts, and destroyed afterwards.
class TrayMenu {
 public:
  // DefaultAction 0 marks the entire-screen item and 2 the region item,
  // which the menu does not show, so no visible item is bold; 1 marks
  // Preferences; anything else leaves the mark where it was.
  void SetDefaultAction(int32_t defaultAction);
  UINT DefaultItem() const { return defaultItem_; }

  void SetRunOnStartupChecked(bool checked) { runOnStartupChecked_ = checked; }
  bool RunOnStartupChecked() const { return runOnStartupChecked_; }

  // Greyed until there is a page to print again.
  void SetPrintAgainEnabled(bool enabled) { printAgainEnabled_ = enabled; }

  // A policy may take Preferences out of the menu.
  void SetPreferencesShown(bool shown) { preferencesShown_ = shown; }
  // The menu as it opens: Print again, Preferences (unless a policy took it
  // away), Run on startup, Help, About and Exit.
  owners::Menu Make(const Texts& texts) const;

  // Opens the menu at the cursor; the chosen command goes to the window.
  void Popup(HWND window, const Texts& texts) const;

 private:
  UINT defaultItem_ = IDM_ENTIRE_SCREEN;
  bool runOnStartupChecked_ = false;
  bool printAgainEnabled_ = false;
  bool preferencesShown_ = true;
};
