// The tray menu as the user sees it: its items, the default mark and the check.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/tray/tray_menu.h"
#include "resources/resource.h"

namespace {

std::vector<std::string> VisibleItems(HMENU menu) {
  std::vector<std::string> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[256] = "";
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    items.push_back((GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR) ? "-" : text);
  }
  return items;
}

}  // namespace

TEST(TrayMenu, ShowsExactlyTheFiveCommandsWithTheirSeparators) {
  TrayMenu menu;
  const std::vector<std::string> expected = {"Preferences", "Run on startup", "-", "Help", "About", "-", "Exit"};
  EXPECT_EQ(VisibleItems(menu.handle()), expected);
}

TEST(TrayMenu, HiddenItemsKeepTheirCaptionsForThePreferencesWindow) {
  TrayMenu menu;
  EXPECT_EQ(menu.Caption(IDM_ENTIRE_SCREEN), "Take entire screen");
  EXPECT_EQ(menu.Caption(IDM_ACTIVE_WINDOW), "Take active window");
  menu.SetCaption(IDM_ENTIRE_SCREEN, "Ganzer Bildschirm");
  menu.SetCaption(IDM_EXIT, "Beenden");
  EXPECT_EQ(menu.Caption(IDM_ENTIRE_SCREEN), "Ganzer Bildschirm");
  EXPECT_EQ(menu.Caption(IDM_EXIT), "Beenden");
  EXPECT_EQ(GetMenuItemCount(menu.handle()), 7);
}

TEST(TrayMenu, TheDefaultActionPlacesTheBoldMark) {
  TrayMenu menu;
  // At first the mark is on the hidden entire-screen item: nothing visible is bold.
  EXPECT_EQ(menu.DefaultItem(), static_cast<UINT>(IDM_ENTIRE_SCREEN));
  EXPECT_EQ(GetMenuDefaultItem(menu.handle(), FALSE, 0), static_cast<UINT>(-1));

  menu.SetDefaultAction(1);
  EXPECT_EQ(GetMenuDefaultItem(menu.handle(), FALSE, 0), static_cast<UINT>(IDM_PREFERENCES));
  menu.SetDefaultAction(7);  // other values leave the mark where it is
  EXPECT_EQ(GetMenuDefaultItem(menu.handle(), FALSE, 0), static_cast<UINT>(IDM_PREFERENCES));
  menu.SetDefaultAction(0);
  EXPECT_EQ(menu.DefaultItem(), static_cast<UINT>(IDM_ENTIRE_SCREEN));
  EXPECT_EQ(GetMenuDefaultItem(menu.handle(), FALSE, 0), static_cast<UINT>(-1));
}

TEST(TrayMenu, RunOnStartupCarriesACheckMark) {
  TrayMenu menu;
  EXPECT_FALSE(menu.AutoStartChecked());
  menu.SetAutoStartChecked(true);
  EXPECT_TRUE(menu.AutoStartChecked());
  menu.SetAutoStartChecked(false);
  EXPECT_FALSE(menu.AutoStartChecked());
}
