// The tray menu as the user sees it: its items in the language of the texts,
// the default mark and the check.
#include "ui/tray/tray_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

bool Checked(HMENU menu, UINT command) { return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED) != 0; }

}  // namespace

TEST(TrayMenu, ShowsExactlyTheFiveCommandsInTheLanguageOfTheTexts) {
  TrayMenu menu;
  const std::vector<std::string> english = {"Preferences", "Run on startup", "-", "Help", "About", "-", "Exit"};
  EXPECT_EQ(VisibleItems(menu.Make(Texts()).get()), english);

  const Texts german([](const std::string& section, const std::string& key, const std::string& fallback) {
    return section == "TrayMenu" && key == "Exit" ? std::string("Beenden") : fallback;
  });
  std::vector<std::string> expected = english;
  expected.back() = "Beenden";
  EXPECT_EQ(VisibleItems(menu.Make(german).get()), expected);
}

TEST(TrayMenu, TheDefaultActionPlacesTheBoldMark) {
  TrayMenu menu;
  // At first the mark is on the entire-screen command, which has no item: nothing visible is bold.
  EXPECT_EQ(menu.DefaultItem(), static_cast<UINT>(IDM_ENTIRE_SCREEN));
  EXPECT_EQ(GetMenuDefaultItem(menu.Make(Texts()).get(), FALSE, 0), static_cast<UINT>(-1));

  menu.SetDefaultAction(1);
  EXPECT_EQ(GetMenuDefaultItem(menu.Make(Texts()).get(), FALSE, 0), static_cast<UINT>(IDM_PREFERENCES));
  menu.SetDefaultAction(7);  // other values leave the mark where it is
  EXPECT_EQ(GetMenuDefaultItem(menu.Make(Texts()).get(), FALSE, 0), static_cast<UINT>(IDM_PREFERENCES));
  menu.SetDefaultAction(0);
  EXPECT_EQ(menu.DefaultItem(), static_cast<UINT>(IDM_ENTIRE_SCREEN));
  EXPECT_EQ(GetMenuDefaultItem(menu.Make(Texts()).get(), FALSE, 0), static_cast<UINT>(-1));
}

TEST(TrayMenu, RunOnStartupCarriesACheckMark) {
  TrayMenu menu;
  EXPECT_FALSE(Checked(menu.Make(Texts()).get(), IDM_RUN_ON_STARTUP));
  menu.SetRunOnStartupChecked(true);
  EXPECT_TRUE(Checked(menu.Make(Texts()).get(), IDM_RUN_ON_STARTUP));
  menu.SetRunOnStartupChecked(false);
  EXPECT_FALSE(Checked(menu.Make(Texts()).get(), IDM_RUN_ON_STARTUP));
}
