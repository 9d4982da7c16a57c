#include "ui/tray/tray_menu.h"

#include <shellapi.h>

#include "resources/resource.h"

namespace {

// The record the icon is added and removed with: window and icon id 0.
NOTIFYICONDATAA IconRecord(HWND window) {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V2_SIZE;
  record.hWnd = window;
  record.uID = 0;
  return record;
}

struct MenuItem {
  UINT id;  // 0 for a separator
  const char* caption;
};

// The visible items of the popup, in order; the two capture items are hidden.
constexpr MenuItem kVisibleItems[] = {
    {IDM_PREFERENCES, "Preferences"}, {IDM_AUTO_START, "Run on startup"}, {0, nullptr},
    {IDM_HELP, "Help"},               {IDM_ABOUT, "About"},               {0, nullptr},
    {IDM_EXIT, "Exit"},
};

int HiddenIndex(UINT id) {
  if (id == IDM_ENTIRE_SCREEN) return 0;
  if (id == IDM_ACTIVE_WINDOW) return 1;
  return -1;
}

}  // namespace

void AddTrayIcon(HWND window, HICON icon) {
  NOTIFYICONDATAA record = IconRecord(window);
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = WM_TRAYICON;
  record.hIcon = icon;
  lstrcpynA(record.szTip, "Vorlane", sizeof record.szTip);
  // Fails harmlessly when the icon is already there.
  (void)Shell_NotifyIconA(NIM_ADD, &record);
}

void RemoveTrayIcon(HWND window) {
  NOTIFYICONDATAA record = IconRecord(window);
  (void)Shell_NotifyIconA(NIM_DELETE, &record);
}

TrayMenu::TrayMenu()
    : menu_(CreatePopupMenu()),
      hiddenCaptions_{"Take entire screen", "Take active window"},
      defaultItem_(IDM_ENTIRE_SCREEN) {
  for (const MenuItem& item : kVisibleItems) {
    if (item.id == 0) {
      AppendMenuA(menu_.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuA(menu_.get(), MF_STRING, item.id, item.caption);
    }
  }
}

void TrayMenu::SetCaption(UINT id, const std::string& caption) {
  if (int hidden = HiddenIndex(id); hidden >= 0) {
    hiddenCaptions_[hidden] = caption;
    return;
  }
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = const_cast<char*>(caption.c_str());
  SetMenuItemInfoA(menu_.get(), id, FALSE, &info);
}

std::string TrayMenu::Caption(UINT id) const {
  if (int hidden = HiddenIndex(id); hidden >= 0) return hiddenCaptions_[hidden];
  char caption[1024] = "";
  GetMenuStringA(menu_.get(), id, caption, sizeof caption, MF_BYCOMMAND);
  return caption;
}

void TrayMenu::SetDefaultAction(int32_t defaultAction) {
  if (defaultAction == 0) {
    defaultItem_ = IDM_ENTIRE_SCREEN;
    SetMenuDefaultItem(menu_.get(), static_cast<UINT>(-1), FALSE);  // the marked item is hidden
  } else if (defaultAction == 1) {
    defaultItem_ = IDM_PREFERENCES;
    SetMenuDefaultItem(menu_.get(), IDM_PREFERENCES, FALSE);
  }
}

void TrayMenu::SetAutoStartChecked(bool checked) {
  CheckMenuItem(menu_.get(), IDM_AUTO_START, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool TrayMenu::AutoStartChecked() const {
  return (GetMenuState(menu_.get(), IDM_AUTO_START, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void TrayMenu::Popup(HWND window) const {
  POINT cursor{};
  GetCursorPos(&cursor);
  // Without being the foreground window the menu would not close when the
  // user clicks elsewhere.
  SetForegroundWindow(window);
  TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
  PostMessageA(window, WM_NULL, 0, 0);
}
