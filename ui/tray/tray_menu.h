#pragma once
// The tray icon and its popup menu.
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/owners.h"

inline constexpr UINT WM_TRAYICON = WM_USER + 123;

// Adds the icon; a repeated add while it exists has no effect.
void AddTrayIcon(HWND window, HICON icon);
void RemoveTrayIcon(HWND window);

// PopupMenu1. Its first two items (take entire screen, take active window)
// are never shown, so they are not in the popup at all; their captions are
// kept here because the Preferences window lists them.
class TrayMenu {
 public:
  TrayMenu();

  // The items by command id (IDM_* in resources/resource.h).
  void SetCaption(UINT id, const std::string& caption);
  std::string Caption(UINT id) const;

  // DefaultAction 0 marks the hidden entire-screen item (so no visible item
  // is bold), 1 marks Preferences, anything else leaves the mark.
  void SetDefaultAction(int32_t defaultAction);
  UINT DefaultItem() const { return defaultItem_; }

  void SetAutoStartChecked(bool checked);
  bool AutoStartChecked() const;

  // Opens the menu at the cursor; the chosen command goes to the window.
  void Popup(HWND window) const;

  HMENU handle() const { return menu_.get(); }

 private:
  owners::Menu menu_;
  std::string hiddenCaptions_[2];
  UINT defaultItem_;
};
