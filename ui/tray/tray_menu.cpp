#include "ui/tray/tray_menu.h"

#include <shellapi.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "base/system_text.h"
#include "core/languages/access_keys.h"

namespace {

// The record the icon is added and removed with: window and icon id 0.
NOTIFYICONDATAW IconRecord(HWND window) {
  NOTIFYICONDATAW record{};
  record.cbSize = NOTIFYICONDATAW_V2_SIZE;
  record.hWnd = window;
  record.uID = 0;
  return record;
}

struct MenuItem {
  UINT command;  // 0 for a separator
  TextId caption;
};

// The items in their order. The capture commands have no item: the tray
// icon's double click and the hot keys give them.
constexpr MenuItem kItems[] = {
    {IDM_PRINT_AGAIN, TextId::PrintAgain},
    {0, {}},
    {IDM_PREFERENCES, TextId::Preferences},
    {IDM_RUN_ON_STARTUP, TextId::RunOnStartup},
    {0, {}},
    {IDM_HELP, TextId::Help},
    {IDM_ABOUT, TextId::About},
    {0, {}},
    {IDM_EXIT, TextId::Exit},
};
static_assert(kItems[0].command == IDM_PRINT_AGAIN, "Print again is the first item, the last to take its key");

// The command a double click gives, by the DefaultAction value.
constexpr UINT kDefaultItems[] = {IDM_ENTIRE_SCREEN, IDM_PREFERENCES, IDM_REGION};

}  // namespace

void AddTrayIcon(HWND window, HICON icon) {
  NOTIFYICONDATAW record = IconRecord(window);
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = WM_TRAYICON;
  record.hIcon = icon;
  lstrcpynW(record.szTip, L"Vorlane", static_cast<int>(std::size(record.szTip)));
  // Fails harmlessly when the icon is already there.
  (void)Shell_NotifyIconW(NIM_ADD, &record);
}

void ChangeTrayIcon(HWND window, HICON icon) {
  NOTIFYICONDATAW record = IconRecord(window);
  record.uFlags = NIF_ICON;
  record.hIcon = icon;
  (void)Shell_NotifyIconW(NIM_MODIFY, &record);
}

void RemoveTrayIcon(HWND window) {
  NOTIFYICONDATAW record = IconRecord(window);
  (void)Shell_NotifyIconW(NIM_DELETE, &record);
}

void TrayMenu::SetDefaultAction(int32_t defaultAction) {
  if (defaultAction >= 0 && defaultAction < static_cast<int32_t>(std::size(kDefaultItems))) {
    defaultItem_ = kDefaultItems[defaultAction];
  }
}

owners::Menu TrayMenu::Make(const Texts& texts) const {
  std::vector<MenuItem> shown;
  std::vector<std::string> captions;
  for (const MenuItem& item : kItems) {
    if (item.command == IDM_PREFERENCES && !preferencesShown_) continue;
    shown.push_back(item);
    if (item.command != 0) captions.push_back(texts[item.caption]);
  }
  // Each item's caption with an access key no other item has. Print again,
  // the newest item, takes its key after the others, so that theirs stay
  // the keys their users know.
  std::rotate(captions.begin(), captions.begin() + 1, captions.end());
  std::vector<std::string> keyed = ChooseAccessKeys(captions);
  std::rotate(keyed.rbegin(), keyed.rbegin() + 1, keyed.rend());
  owners::Menu menu(CreatePopupMenu());
  size_t caption = 0;
  for (const MenuItem& item : shown) {
    if (item.command == 0) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu.get(), MF_STRING, item.command, Wide(keyed[caption++]).c_str());
    }
  }
  CheckMenuItem(menu.get(), IDM_RUN_ON_STARTUP, MF_BYCOMMAND | (runOnStartupChecked_ ? MF_CHECKED : MF_UNCHECKED));
  EnableMenuItem(menu.get(), IDM_PRINT_AGAIN, MF_BYCOMMAND | (printAgainEnabled_ ? MF_ENABLED : MF_GRAYED));
  // A default item the menu does not show marks nothing.
  const bool marked = defaultItem_ == IDM_PREFERENCES && preferencesShown_;
  SetMenuDefaultItem(menu.get(), marked ? IDM_PREFERENCES : static_cast<UINT>(-1), FALSE);
  return menu;
}

void TrayMenu::Popup(HWND window, const Texts& texts) const {
  const owners::Menu menu = Make(texts);
  POINT cursor{};
  GetCursorPos(&cursor);
  // Without being the foreground window the menu would not close when the
  // user clicks elsewhere.
  SetForegroundWindow(window);
  TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, window, nullptr);
  PostMessageW(window, WM_NULL, 0, 0);
}
