// The tray menu as the user sees it: its items in the language of the texts,
// the default mark and the check; and the icon's images.
#include "ui/tray/tray_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "info_paths.h"
#include "resources/resource.h"
#include "tests/win/test_owners.h"

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

// Each item has an access key none of the others has.
// Print again takes its key last, so that the others keep theirs.
TEST(TrayMenu, ShowsExactlyTheSixCommandsInTheLanguageOfTheTexts) {
  TrayMenu menu;
  const std::vector<std::string> english = {"Pr&int again", "-", "&Preferences", "&Run on startup", "-", "&Help",
                                            "&About",       "-", "&Exit"};
  EXPECT_EQ(VisibleItems(menu.Make(Texts()).get()), english);

  const Texts german([](const std::string& section, const std::string& key, const std::string& fallback) {
    if (section != "TrayMenu") return fallback;
    return key == "Exit" ? std::string("Beenden") : key == "Help" ? std::string("&Pause") : fallback;
  });
  EXPECT_EQ(VisibleItems(menu.Make(german).get()),
            (std::vector<std::string>{"Pr&int again", "-", "&Preferences", "&Run on startup", "-", "P&ause", "A&bout",
                                      "-", "B&eenden"}))
      << "a key of the file's own is kept while it is free";
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
  // The region command has no item either: nothing visible is bold.
  menu.SetDefaultAction(2);
  EXPECT_EQ(menu.DefaultItem(), static_cast<UINT>(IDM_REGION));
  EXPECT_EQ(GetMenuDefaultItem(menu.Make(Texts()).get(), FALSE, 0), static_cast<UINT>(-1));
  menu.SetDefaultAction(-1);
  EXPECT_EQ(menu.DefaultItem(), static_cast<UINT>(IDM_REGION));
}

TEST(TrayMenu, RunOnStartupCarriesACheckMark) {
  TrayMenu menu;
  EXPECT_FALSE(Checked(menu.Make(Texts()).get(), IDM_RUN_ON_STARTUP));
  menu.SetRunOnStartupChecked(true);
  EXPECT_TRUE(Checked(menu.Make(Texts()).get(), IDM_RUN_ON_STARTUP));
  menu.SetRunOnStartupChecked(false);
  EXPECT_FALSE(Checked(menu.Make(Texts()).get(), IDM_RUN_ON_STARTUP));
}

TEST(TrayMenu, APolicyTakesPreferencesAndItsBoldMarkAway) {
  TrayMenu menu;
  menu.SetDefaultAction(1);
  menu.SetPreferencesShown(false);
  const owners::Menu made = menu.Make(Texts());
  EXPECT_EQ(VisibleItems(made.get()),
            (std::vector<std::string>{"&Print again", "-", "&Run on startup", "-", "&Help", "&About", "-", "&Exit"}));
  EXPECT_EQ(GetMenuState(made.get(), IDM_PREFERENCES, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuDefaultItem(made.get(), FALSE, 0), static_cast<UINT>(-1));
  menu.SetPreferencesShown(true);
  EXPECT_EQ(GetMenuDefaultItem(menu.Make(Texts()).get(), FALSE, 0), static_cast<UINT>(IDM_PREFERENCES));
}

// The icon has an image of each small-icon size from 100 % to 300 %, so that
// none is stretched, and keeps its 16-colour 16x16 one for old shells.
TEST(TrayIcon, HoldsAnImageForEachSmallIconSize) {
  const test_owners::Module program(LoadLibraryExA(info_paths::Program().c_str(), nullptr,
                                                   LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(program);
  const HRSRC group = FindResourceW(program.get(), MAKEINTRESOURCEW(IDI_TRAY), RT_GROUP_ICON);
  ASSERT_TRUE(group);
  auto* directory = static_cast<BYTE*>(LockResource(LoadResource(program.get(), group)));
  const auto image = [&](int size) -> const BITMAPINFOHEADER* {
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    const HRSRC icon = FindResourceW(program.get(), MAKEINTRESOURCEW(id), RT_ICON);
    return icon ? static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(program.get(), icon))) : nullptr;
  };
  for (int size : {16, 20, 24, 32, 48}) {
    const BITMAPINFOHEADER* header = image(size);
    ASSERT_TRUE(header) << size;
    EXPECT_EQ(header->biWidth, size);
    EXPECT_EQ(header->biHeight, 2 * size);  // the colour and the mask
    EXPECT_EQ(header->biBitCount, 32) << size;
  }
  // The group's entries (GRPICONDIRENTRY) follow its 6-byte header.
  bool sixteenColours = false;
  const WORD count = reinterpret_cast<const WORD*>(directory)[2];
  for (WORD entry = 0; entry < count; ++entry) {
    const BYTE* fields = directory + 6 + 14 * entry;  // width, height, colours, 0, planes, bits, ...
    sixteenColours |= fields[0] == 16 && fields[1] == 16 && fields[2] == 16;
  }
  EXPECT_TRUE(sixteenColours);
}
