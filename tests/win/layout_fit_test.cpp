// The Preferences window in every shipped language and in English, at 96,
// 144 and 192 dpi: every caption is measured in its control's own font and
// must fit the control, no two controls of a page overlap, Tab reads each
// page in order and no access key repeats on it. Needs a display: run under
// tests/testenv.py.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/owners.h"
#include "base/system_text.h"
#include "core/languages/access_keys.h"
#include "info_paths.h"
#include "resources/resource.h"
#include "services/output/printer.h"
#include "tests/win/test_window.h"
#include "ui/languages/apply_texts.h"
#include "ui/settings/controls.h"
#include "ui/settings/preferences_pages.h"

namespace {

constexpr int kDpis[] = {96, 144, 192};
// A 1366x768 screen less a taskbar: the window must fit there at 150 %.
constexpr SIZE kSmallWorkArea{1366, 728};

// What a control draws beside its caption, in pixels at 96 dpi: at least
// this much room must be left besides the text.
constexpr int kCheckBoxAndGap = 16;
constexpr int kButtonEdges = 6;
constexpr int kGroupIndent = 8;

struct Control {
  HWND window;
  RECT place;  // in the page's client area
  std::string name;
};

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

SIZE Extent(HWND control, const std::string& text) {
  const std::wstring shown = Wide(text);
  const owners::WindowDc dc(control, GetDC(control));
  const owners::Selection font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT box{};
  DrawTextW(dc.get(), shown.c_str(), static_cast<int>(shown.size()), &box, DT_CALCRECT | DT_SINGLELINE);
  return {box.right, box.bottom};
}

std::vector<Control> ControlsOf(HWND page) {
  std::vector<Control> controls;
  for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&place), 2);
    controls.push_back({child, place, std::to_string(GetDlgCtrlID(child)).append(": ").append(WindowText(child))});
  }
  return controls;
}

// A check box under a column head, whose text is a name for screen readers.
bool HasHiddenName(int id) {
  for (const PageLayout& page : kPageLayouts) {
    for (const ControlLayout& row : page.controls) {
      if (row.id == id) return row.kind == ControlKind::BareCheck;
    }
  }
  return false;
}

// Room the caption lacks; none when it fits.
std::string Misfit(const Control& control, int dpi) {
  const std::string kind = ClassOf(control.window);
  const LONG style = GetWindowLongW(control.window, GWL_STYLE);
  const LONG width = control.place.right - control.place.left;
  const LONG height = control.place.bottom - control.place.top;
  const auto scaled = [dpi](int length) { return MulDiv(length, dpi, 96); };
  if (width == 0 && height == 0) return {};  // a label for screen readers only
  const SIZE text = Extent(control.window, WindowText(control.window));
  int room = width;
  if (lstrcmpiA(kind.c_str(), "ComboBox") == 0) {
    const int id = GetDlgCtrlID(control.window);
    if (id == IDC_PRINTER || id == IDC_LANGUAGE) return {};  // the names the system has
    for (const std::string& item : Items(control.window)) {
      if (Extent(control.window, item).cx > width - GetSystemMetricsForDpi(SM_CXVSCROLL, dpi)) {
        return std::string("item cut: ").append(item);
      }
    }
    return {};
  }
  if (lstrcmpiA(kind.c_str(), "Button") == 0) {
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_OWNERDRAW || HasHiddenName(GetDlgCtrlID(control.window))) return {};  // a name no caption shows
    if (type == BS_GROUPBOX) room -= 2 * scaled(kGroupIndent);
    if (type == BS_AUTOCHECKBOX) room -= scaled(kCheckBoxAndGap);
    if (type == BS_PUSHBUTTON) room -= 2 * scaled(kButtonEdges);
    if (type != BS_GROUPBOX && text.cy > height) return "too low by " + std::to_string(text.cy - height);
  } else if (lstrcmpiA(kind.c_str(), "Static") == 0) {
    if (text.cy > height) return "too low by " + std::to_string(text.cy - height);
  } else {
    return {};  // an edit's text is the user's; a track bar has none
  }
  return text.cx > room ? "too narrow by " + std::to_string(text.cx - room) : std::string();
}

bool Overlap(const RECT& a, const RECT& b) {
  RECT both{};
  return IntersectRect(&both, &a, &b) != FALSE;
}

bool Holds(const RECT& outer, const RECT& inner) {
  return outer.left <= inner.left && inner.right <= outer.right && outer.top <= inner.top &&
         inner.bottom <= outer.bottom;
}

// Lying on top of another is designed for a group box around what it holds
// and for the swatch on the Color button.
bool MeantToOverlap(const Control& a, const Control& b) {
  const auto group = [](const Control& c) {
    return (GetWindowLongW(c.window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX && ClassOf(c.window) == "Button";
  };
  const auto ids = std::minmax(GetDlgCtrlID(a.window), GetDlgCtrlID(b.window));
  return (group(a) && Holds(a.place, b.place)) || (group(b) && Holds(b.place, a.place)) ||
         ids == std::minmax(IDC_WATERMARK_COLOR, IDC_COLOR_SWATCH);
}

// Tab goes from one control to the next as a reader does: on along a row,
// or down to a later one. Each stop is named by where it stands.
std::string ReadingOrderMisstep(PreferencesPages& pages, Page page) {
  pages.SelectPage(page);
  HWND tabs = pages.Control(IDC_PAGES);
  RECT previous{};
  std::string before = "the page control";
  int stops = 0;
  for (HWND stop = pages.NextTabStop(tabs, false); stop && IsChild(tabs, stop); stop = pages.NextTabStop(stop, false)) {
    ++stops;
    RECT place{};
    GetWindowRect(stop, &place);
    const bool sameRow = place.top < previous.bottom && previous.top < place.bottom;
    const std::string name = std::to_string(GetDlgCtrlID(stop));
    if (before != "the page control" && !(sameRow ? place.left > previous.left : place.top > previous.top)) {
      return name + " after " + before;
    }
    previous = place;
    before = name;
  }
  return stops < 2 ? "only " + std::to_string(stops) + " tab stop" : std::string();
}

// Each caption that takes an access key has one, and none is taken twice
// on a page or by Apply below the pages.
std::string RepeatedOrMissingKey(const PreferencesPages& pages, const PageLayout& page) {
  std::vector<std::string> keys = {AccessKeyOf(WindowText(pages.Control(IDC_APPLY)))};
  for (size_t row = 0; row < page.controls.size(); ++row) {
    if (!TakesAccessKey(page.controls, row)) continue;
    const std::string caption = WindowText(pages.Control(page.controls[row].id));
    const std::string key = AccessKeyOf(caption);
    if (key.empty() || std::ranges::find(keys, key) != keys.end()) return caption;
    keys.push_back(key);
  }
  return {};
}

TEST(PreferencesLayout, EveryCaptionFitsInEveryLanguageAtEveryDpi) {
  const owners::Window host(test_window::Make(
      {.className = "VorlaneFitHost", .style = WS_OVERLAPPED | WS_CAPTION, .place = {0, 0, 500, 400}}));
  ASSERT_TRUE(host) << "no window: run on a display (tests/testenv.py)";
  Printer printer([] { return std::vector<std::string>{"A printer"}; });
  const std::string program = info_paths::Program();
  PreferencesPages pages(host.get(), printer, program.substr(0, program.find_last_of("\\/") + 1));
  pages.RefreshLanguages();
  const std::vector<std::string> languages = Items(pages.Control(IDC_LANGUAGE));
  ASSERT_GE(languages.size(), 4u) << "English and the shipped languages";
  // Every control enabled, so that Tab visits them all.
  Preferences everything = DefaultPreferences("A printer");
  everything.WatermarkMake = everything.TimerDelayedCapture = everything.TimerSeveralShots = true;
  pages.ShowPreferences(everything, "Browse Font");

  for (const std::string& language : languages) {
    pages.SelectLanguage(language);
    ApplySelectedLanguage(pages);
    for (int dpi : kDpis) {
      SCOPED_TRACE(language + " at " + std::to_string(dpi) + " dpi");
      pages.ChangeDpi(dpi);
      for (int page = IDC_GENERAL_PAGE; page <= IDC_TIMER_PAGE; ++page) {
        const std::vector<Control> controls = ControlsOf(GetDlgItem(pages.Control(IDC_PAGES), page));
        for (size_t i = 0; i < controls.size(); ++i) {
          const std::string misfit = Misfit(controls[i], dpi);
          EXPECT_EQ(misfit, "") << controls[i].name;
          for (size_t j = i + 1; j < controls.size(); ++j) {
            if (MeantToOverlap(controls[i], controls[j])) continue;
            EXPECT_FALSE(Overlap(controls[i].place, controls[j].place)) << controls[i].name << " " << controls[j].name;
          }
        }
      }
      for (int page = 0; page < kPageCount; ++page) {
        EXPECT_EQ(ReadingOrderMisstep(pages, static_cast<Page>(page)), "") << "Tab out of reading order";
        EXPECT_EQ(RepeatedOrMissingKey(pages, kPageLayouts[page]), "") << "an access key missing or repeated";
      }
      for (int button : {IDC_OK, IDC_CANCEL, IDC_APPLY}) {
        const Control control{pages.Control(button), {}, WindowText(pages.Control(button))};
        RECT place{};
        GetWindowRect(control.window, &place);
        EXPECT_EQ(Misfit({control.window, place, control.name}, dpi), "") << control.name;
      }
      // Every tab title on one row, inside the page control.
      HWND tabs = pages.Control(IDC_PAGES);
      RECT lastTab{}, tabsArea{};
      SendMessageW(tabs, TCM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&lastTab));
      GetClientRect(tabs, &tabsArea);
      EXPECT_EQ(SendMessageW(tabs, TCM_GETROWCOUNT, 0, 0), 1);
      EXPECT_LE(lastTab.right, tabsArea.right);
      if (dpi == 144) {
        RECT frame{};
        GetWindowRect(host.get(), &frame);
        EXPECT_LE(frame.right - frame.left, kSmallWorkArea.cx);
        EXPECT_LE(frame.bottom - frame.top, kSmallWorkArea.cy);
      }
    }
  }
}

}  // namespace
