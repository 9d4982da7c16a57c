// The Preferences pages and the texts a language file puts on them, with
// real controls on a host window that hands the page control's notices to
// them as the main window does. Needs a display: run under tests/testenv.py.
#include "ui/settings/preferences_pages.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/message_loop.h"
#include "base/owners.h"
#include "base/system_text.h"
#include "core/capture/key_names.h"
#include "core/languages/access_keys.h"
#include "resources/resource.h"
#include "services/output/default_printer.h"
#include "services/output/page_file.h"
#include "services/output/printer.h"
#include "tests/support/print_record.h"
#include "tests/support/temporary_folder.h"
#include "tests/win/test_window.h"
#include "ui/languages/apply_texts.h"
#include "ui/settings/controls.h"

namespace {

constexpr const char* kHostClass = "VorlanePreferencesHost";
constexpr int kHostWidth = 440;
constexpr int kHostHeight = 360;
constexpr UINT kPollStepMs = 50;
constexpr const char* kFakePrinters[] = {"Alpha", "Beta", "Gamma"};

// The pages the host window hands the page control's notices to, and the
// button that was clicked last.
PreferencesPages* hostPages = nullptr;
int lastButton = 0;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) lastButton = LOWORD(wParam);
  if (hostPages && message == WM_NOTIFY && hostPages->HandleNotify(lParam)) return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeHost() {
  RECT frame{0, 0, kHostWidth, kHostHeight};
  AdjustWindowRect(&frame, WS_OVERLAPPED | WS_CAPTION, FALSE);
  return test_window::Make({.className = kHostClass,
                            .procedure = HostProc,
                            .style = WS_OVERLAPPED | WS_CAPTION,
                            .place = {0, 0, frame.right - frame.left, frame.bottom - frame.top},
                            .background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)});
}

std::string TextOf(HWND window) {
  char text[4096] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrA(window, GWL_STYLE); }

// A folder of its own per test, standing for the executable's folder.
class ProgramFolder : public TemporaryFolder {
 public:
  ProgramFolder() : TemporaryFolder("program") { MakeFolder("langs"); }
  void WriteLanguage(const std::string& fileName, const std::string& contents) const {
    Write("langs\\" + fileName, contents);
  }
};

// Stand-ins for the font and colour dialogs: they answer as told and count.
struct DialogScript {
  bool confirm = true;
  FontChoice font;
  COLORREF color = 0;
  std::string folder;
  int fontCalls = 0;
  int colorCalls = 0;
  int folderCalls = 0;
  std::string folderOffered;
  std::string folderTitle;
  FontChoice fontOffered;
  COLORREF colorOffered = 0;
};

class PreferencesPagesOnScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    host_.reset(MakeHost());
    ASSERT_TRUE(host_) << "no window: run on a display (tests/testenv.py)";
    lastButton = 0;
    Build(std::vector<std::string>(std::begin(kFakePrinters), std::end(kFakePrinters)));
  }

  void TearDown() override {
    hostPages = nullptr;
    pages_.reset();
  }

  void Build(std::vector<std::string> printers, CommonDialogs dialogs = {}) {
    hostPages = nullptr;
    pages_.reset();
    printer_ = std::make_unique<Printer>([printers] { return printers; });
    if (!dialogs.chooseFont) dialogs = ScriptedDialogs();
    pages_ = std::make_unique<PreferencesPages>(host_.get(), *printer_, folder_.path(), dialogs);
    hostPages = pages_.get();
  }

  CommonDialogs ScriptedDialogs() {
    return {[this](HWND, FontChoice& font) {
              ++script_.fontCalls;
              script_.fontOffered = font;
              if (script_.confirm) font = script_.font;
              return script_.confirm;
            },
            [this](HWND, COLORREF& color) {
              ++script_.colorCalls;
              script_.colorOffered = color;
              if (script_.confirm) color = script_.color;
              return script_.confirm;
            },
            [this](HWND, const std::string& title, std::string& folder) {
              ++script_.folderCalls;
              script_.folderOffered = folder;
              script_.folderTitle = title;
              if (script_.confirm) folder = script_.folder;
              return script_.confirm;
            }};
  }

  static Preferences Defaults() { return DefaultPreferences("Beta"); }

  // As the main window shows a record: in its language.
  void Show(const Preferences& record) {
    pages_->SelectLanguage(record.Language);
    texts_ = ApplySelectedLanguage(*pages_);
    pages_->ShowPreferences(record, texts_[TextId::BrowseFont]);
  }
  // The first opening: as the main window does it.
  void Open(const Preferences& record) {
    pages_->PrepareFirstShowing();
    Show(record);
    pages_->SelectPage(Page::General);
  }

  HWND Control(int id) const {
    HWND control = pages_->Control(id);
    EXPECT_TRUE(control) << "no control " << id;
    return control;
  }
  std::string Text(int id) const { return TextOf(Control(id)); }
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
  bool Ticked(int id) const { return SendMessageA(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  int Index(int id) const { return static_cast<int>(SendMessageA(Control(id), CB_GETCURSEL, 0, 0)); }
  void Select(int id, int index) const { SendMessageA(Control(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }
  void Click(int id) const { SendMessageA(Control(id), BM_CLICK, 0, 0); }
  void SetText(int id, const std::string& text) const { SetWindowTextA(Control(id), text.c_str()); }
  void Type(int id, const std::string& keys) const {
    for (char key : keys) SendMessageA(Control(id), WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(key)), 0);
  }
  std::pair<DWORD, DWORD> Selection(int id) const {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(Control(id), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
  }

  // Every text on the window and of the language kept for later, and every
  // list's items and selection, by where it is.
  std::map<std::string, std::string> Shown() const {
    std::map<std::string, std::string> texts;
    texts["window"] = TextOf(host_.get());
    HWND tabs = pages_->Control(IDC_PAGES);
    for (int page = 0; page < kPageCount; ++page) texts["tab " + std::to_string(page)] = TabTitle(tabs, page);
    for (const TextRow& row : kTextRows) {
      if (row.place == TextPlace::Kept) texts[std::string("kept ") + row.key] = texts_[row.id];
    }
    struct Collector {
      std::map<std::string, std::string>* texts;
      int order = 0;
    } collector{&texts};
    EnumChildWindows(
        host_.get(),
        [](HWND child, LPARAM data) -> BOOL {
          auto& into = *reinterpret_cast<Collector*>(data);
          const std::string where = std::to_string(into.order++) + " #" + std::to_string(GetDlgCtrlID(child));
          char className[64] = {};
          GetClassNameA(child, className, sizeof className);
          if (lstrcmpiA(className, "ComboBox") != 0) {
            (*into.texts)[where] = TextOf(child);
          } else {  // its text is its selected item
            const std::vector<std::string> items = Items(child);
            for (size_t i = 0; i < items.size(); ++i) (*into.texts)[where + " item " + std::to_string(i)] = items[i];
            (*into.texts)[where + " selected"] = std::to_string(SendMessageA(child, CB_GETCURSEL, 0, 0));
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&collector));
    return texts;
  }

  std::map<std::string, std::string> Changes(const std::map<std::string, std::string>& before) const {
    std::map<std::string, std::string> changed;
    for (const auto& [where, text] : Shown()) {
      const auto old = before.find(where);
      if (old == before.end() || old->second != text) changed[where] = text;
    }
    return changed;
  }

  // Applies a language file chosen as the stored language.
  void ApplyFile(const std::string& name, const std::string& contents) {
    folder_.WriteLanguage(name + ".lng", contents);
    pages_->RefreshLanguages();
    Preferences record = Defaults();
    record.Language = name;
    Show(record);
  }

  ProgramFolder folder_;
  owners::Window host_;
  std::unique_ptr<Printer> printer_;
  std::unique_ptr<PreferencesPages> pages_;
  Texts texts_;
  DialogScript script_;
};

TEST_F(PreferencesPagesOnScreen, TheFirstOpeningOnAFreshSystemShowsEveryDefault) {
  pages_->SelectPage(Page::Timer);
  Open(Defaults());

  EXPECT_EQ(pages_->CurrentPage(), Page::General);
  EXPECT_EQ(TextOf(host_.get()), "Preferences");
  EXPECT_EQ(Text(IDC_LANGUAGE), "English");
  const struct {
    int id;
    bool ticked;
  } boxes[] = {
      {IDC_ENTIRE_SCREEN_CTRL, true},  {IDC_ENTIRE_SCREEN_ALT, false},  {IDC_ENTIRE_SCREEN_SHIFT, true},
      {IDC_ENTIRE_SCREEN_WIN, false},  {IDC_ACTIVE_WINDOW_CTRL, false}, {IDC_ACTIVE_WINDOW_ALT, true},
      {IDC_ACTIVE_WINDOW_SHIFT, true}, {IDC_ACTIVE_WINDOW_WIN, false},  {IDC_REGION_CTRL, false},
      {IDC_REGION_ALT, false},         {IDC_REGION_SHIFT, true},        {IDC_REGION_WIN, false},
  };
  for (const auto& box : boxes) {
    SCOPED_TRACE(box.id);
    EXPECT_EQ(Ticked(box.id), box.ticked);
  }
  EXPECT_EQ(Text(IDC_ENTIRE_SCREEN_KEY), "PrtScr");
  EXPECT_EQ(Text(IDC_ACTIVE_WINDOW_KEY), "PrtScr");
  EXPECT_EQ(Text(IDC_REGION_KEY), "PrtScr");
  EXPECT_EQ(Items(Control(IDC_DEFAULT_ACTION)),
            (std::vector<std::string>{"Take entire screen", "Preferences", "Take region"}));
  EXPECT_EQ(Text(IDC_DEFAULT_ACTION), "Preferences");
  EXPECT_NE(Text(IDC_HOME_PAGE_LINK).find("www.vorlane-print.com"), std::string::npos);

  EXPECT_FALSE(Ticked(IDC_MAKE_WATERMARK));
  for (int id : {IDC_WATERMARK_CORNER, IDC_WATERMARK_TEXT, IDC_WATERMARK_FONT, IDC_WATERMARK_COLOR, IDC_TRANSPARENCY}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
  for (int id : {IDC_WATERMARK_CORNER_LABEL, IDC_WATERMARK_TEXT_LABEL, IDC_WATERMARK_FONT_LABEL, IDC_TRANSPARENCY_GROUP,
                 IDC_COLOR_SWATCH}) {
    EXPECT_TRUE(Enabled(id)) << id;
  }
  EXPECT_EQ(pages_->ShownSwatchColors().fill, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(pages_->ShownSwatchColors().outline, GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(Text(IDC_WATERMARK_CORNER), "Top-left corner");
  EXPECT_EQ(Text(IDC_WATERMARK_FONT), "Browse Font");
  EXPECT_EQ(Text(IDC_WATERMARK_TEXT), "%DATE% %TIME%");
  EXPECT_EQ(SendMessageA(Control(IDC_TRANSPARENCY), TBM_GETPOS, 0, 0), 0);

  EXPECT_FALSE(Ticked(IDC_DELAYED_CAPTURE));
  EXPECT_FALSE(Ticked(IDC_SEVERAL_SHOTS));
  for (int id : {IDC_DELAY, IDC_NUMBER_OF_SHOTS, IDC_INTERVAL, IDC_SHOTS_PER_PAGE}) {
    EXPECT_EQ(Text(id), "1") << id;
    EXPECT_FALSE(Enabled(id)) << id;
  }
  EXPECT_EQ(Items(Control(IDC_SHOTS_PER_PAGE)), (std::vector<std::string>{"1", "2", "4"}));

  EXPECT_TRUE(Ticked(IDC_FIT_TO_PAGE));
  EXPECT_EQ(Text(IDC_PAGE_POSITION), "Center");
  EXPECT_EQ(Items(Control(IDC_ORIENTATION)),
            (std::vector<std::string>{"As the printer is set", "Automatic", "Portrait", "Landscape"}));
  EXPECT_EQ(Text(IDC_ORIENTATION), "As the printer is set");
  EXPECT_EQ(Text(IDC_COPIES), "1");
  EXPECT_EQ(Items(Control(IDC_PRINT_COLORS)),
            (std::vector<std::string>{"As on screen", "Light background", "Black and white"}));
  EXPECT_EQ(Text(IDC_PRINT_COLORS), "As on screen");
  EXPECT_FALSE(Ticked(IDC_GRAYSCALE));
  EXPECT_FALSE(Ticked(IDC_CAPTURE_MOUSE_POINTER));
  EXPECT_TRUE(Ticked(IDC_FILE_PRINTER_AUTOSAVE));
  EXPECT_EQ(Text(IDC_FILE_PRINTER_FOLDER), "");
  EXPECT_TRUE(Enabled(IDC_FILE_PRINTER_FOLDER));
  EXPECT_EQ(Items(Control(IDC_PRINTER)), std::vector<std::string>(std::begin(kFakePrinters), std::end(kFakePrinters)));
  EXPECT_EQ(Text(IDC_PRINTER), "Beta");
  EXPECT_EQ(pages_->PrinterCount(), 3);
  EXPECT_TRUE(pages_->PrinterSelected());
}

TEST_F(PreferencesPagesOnScreen, ControlsHaveTheirKindsAndLimits) {
  Open(Defaults());
  EXPECT_TRUE(StyleOf(Control(IDC_WATERMARK_COLOR)) & BS_LEFT);
  for (int id : {IDC_DELAY, IDC_NUMBER_OF_SHOTS, IDC_INTERVAL, IDC_COPIES}) {
    EXPECT_TRUE(StyleOf(Control(id)) & ES_NUMBER) << id;
  }
  EXPECT_FALSE(StyleOf(Control(IDC_WATERMARK_TEXT)) & ES_NUMBER);
  EXPECT_EQ(SendMessageA(Control(IDC_WATERMARK_TEXT), EM_GETLIMITTEXT, 0, 0), 50);
  EXPECT_EQ(SendMessageA(Control(IDC_NUMBER_OF_SHOTS), EM_GETLIMITTEXT, 0, 0), 3);
  EXPECT_EQ(SendMessageA(Control(IDC_COPIES), EM_GETLIMITTEXT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(Control(IDC_INTERVAL), EM_GETLIMITTEXT, 0, 0), 10);
  // A hot key's four boxes follow the one its setting names, in the order of the column heads.
  for (const Setting& setting : kSettings) {
    if (setting.shown != SettingShown::ModifierBoxes) continue;
    for (const auto& [box, head] : {std::pair{0, ": Ctrl"}, {1, ": Alt"}, {2, ": Shift"}, {3, ": Win"}}) {
      EXPECT_TRUE(TextOf(Control(setting.control + box)).ends_with(head)) << setting.name << head;
    }
  }

  HWND transparency = Control(IDC_TRANSPARENCY);
  EXPECT_EQ(SendMessageA(transparency, TBM_GETRANGEMIN, 0, 0), 0);
  EXPECT_EQ(SendMessageA(transparency, TBM_GETRANGEMAX, 0, 0), 255);
  EXPECT_EQ(SendMessageA(transparency, TBM_GETPAGESIZE, 0, 0), 5);
  EXPECT_EQ(SendMessageA(transparency, TBM_GETTIC, 0, 0), 15);
  EXPECT_EQ(SendMessageA(transparency, TBM_GETTIC, 1, 0), 30);

  for (int id : {IDC_LANGUAGE, IDC_ENTIRE_SCREEN_KEY, IDC_ACTIVE_WINDOW_KEY, IDC_REGION_KEY, IDC_DEFAULT_ACTION,
                 IDC_PRINTER, IDC_PAGE_POSITION, IDC_WATERMARK_CORNER}) {
    EXPECT_EQ(StyleOf(Control(id)) & CBS_DROPDOWNLIST, CBS_DROPDOWNLIST) << "typing allowed in " << id;
  }
  const std::vector<std::string> keys = Items(Control(IDC_ENTIRE_SCREEN_KEY));
  ASSERT_EQ(keys.size(), static_cast<size_t>(kKeyNameCount));
  EXPECT_EQ(keys.back(), "None");
  EXPECT_EQ(Items(Control(IDC_ACTIVE_WINDOW_KEY)), keys);
  EXPECT_EQ(Items(Control(IDC_REGION_KEY)), keys);
  EXPECT_EQ(Items(Control(IDC_PAGE_POSITION)).size(), 9u);
  EXPECT_EQ(
      Items(Control(IDC_WATERMARK_CORNER)),
      (std::vector<std::string>{"Top-left corner", "Top-right corner", "Bottom-left corner", "Bottom-right corner"}));
  EXPECT_EQ(Text(IDC_SHORTCUTS_GROUP), " Shortcuts ");
  EXPECT_EQ(Text(IDC_TRANSPARENCY_GROUP), " T&ransparency ");
}

TEST_F(PreferencesPagesOnScreen, TheFaceReleasesWhatItOwnsWhicheverGoesFirst) {
  hostPages = nullptr;
  pages_.reset();
  const int before = owners::liveCount;
  Build(std::vector<std::string>(std::begin(kFakePrinters), std::end(kFakePrinters)));
  Open(Defaults());
  EXPECT_GT(owners::liveCount, before);
  hostPages = nullptr;
  pages_.reset();
  EXPECT_EQ(owners::liveCount, before);

  Build(std::vector<std::string>(std::begin(kFakePrinters), std::end(kFakePrinters)));
  host_.reset();  // the main window goes first, taking its children with it
  hostPages = nullptr;
  pages_.reset();
  EXPECT_EQ(owners::liveCount, before - 1) << "only the host window is gone";
}

namespace {

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// What a screen reader calls a control: the name its accessibility object
// gives. For a list or a field, whose own text is its value, that object
// reads the label right before it; the same is done here where the system
// gives the value instead.
std::string AccessibleName(HWND control) {
  const std::string kind = ClassOf(control);
  if (lstrcmpiA(kind.c_str(), "Edit") == 0 || lstrcmpiA(kind.c_str(), "ComboBox") == 0) {
    HWND label = GetWindow(control, GW_HWNDPREV);
    return label && lstrcmpiA(ClassOf(label).c_str(), "Static") == 0 ? WithoutAccessKey(TextOf(label)) : "";
  }
  IAccessible* made = nullptr;
  if (FAILED(
          AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&made)))) {
    return WithoutAccessKey(TextOf(control));
  }
  const owners::Com<IAccessible> object(made);
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  if (FAILED(object.get()->get_accName(self, &name)) || !name) return {};
  const std::string text = Narrow(name);
  SysFreeString(name);
  return text;
}

}  // namespace

TEST_F(PreferencesPagesOnScreen, EveryControlHasAName) {
  CoInitialize(nullptr);
  Open(Defaults());
  std::vector<HWND> controls = {Control(IDC_PAGES), Control(IDC_OK), Control(IDC_CANCEL), Control(IDC_APPLY)};
  for (const PageLayout& page : kPageLayouts) {
    for (const ControlLayout& row : page.controls) {
      if (row.id != kNoControlId) controls.push_back(Control(row.id));
    }
  }
  for (HWND control : controls) {
    const std::string name = AccessibleName(control);
    std::printf("%5d %-18s %s\n", GetDlgCtrlID(control), ClassOf(control).c_str(), name.c_str());
    EXPECT_NE(name.find_first_not_of(' '), std::string::npos) << "control " << GetDlgCtrlID(control) << " has no name";
  }
  EXPECT_EQ(AccessibleName(Control(IDC_ENTIRE_SCREEN_CTRL)), "Entire screen: Ctrl");
  EXPECT_EQ(AccessibleName(Control(IDC_ACTIVE_WINDOW_WIN)), "Active window: Win");
  EXPECT_EQ(AccessibleName(Control(IDC_COLOR_SWATCH)), "Color #000000");
  EXPECT_EQ(AccessibleName(Control(IDC_TRANSPARENCY)), "Transparency");
  EXPECT_EQ(AccessibleName(Control(IDC_COPIES)), "Copies");
  EXPECT_EQ(AccessibleName(Control(IDC_PRINT_COLORS)), "Colors on paper");
  EXPECT_EQ(AccessibleName(Control(IDC_PRINTER)), "Printer");
  EXPECT_EQ(AccessibleName(Control(IDC_ENTIRE_SCREEN_KEY)), "Entire screen: Key");
  CoUninitialize();
}

TEST_F(PreferencesPagesOnScreen, ARequestToCloseAPageLeavesItInPlace) {
  for (int id : {IDC_LANGUAGE, IDC_PRINTER, IDC_MAKE_WATERMARK, IDC_DELAY}) {
    HWND page = GetParent(Control(id));
    SendMessageA(page, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(page)) << id;
  }
}

TEST_F(PreferencesPagesOnScreen, ThePagePositionListDropsDownWithAllNineAtOnce) {
  Open(Defaults());
  ShowWindow(host_.get(), SW_SHOW);
  pages_->SelectPage(Page::Printing);
  HWND list = Control(IDC_PAGE_POSITION);
  SendMessageA(list, CB_SHOWDROPDOWN, TRUE, 0);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(list, &info));
  RECT dropped{};
  GetClientRect(info.hwndList, &dropped);
  const auto itemHeight = static_cast<LONG>(SendMessageA(list, CB_GETITEMHEIGHT, 0, 0));
  EXPECT_GE(dropped.bottom - dropped.top, 9 * itemHeight);
  SendMessageA(list, CB_SHOWDROPDOWN, FALSE, 0);
  ShowWindow(host_.get(), SW_HIDE);
}

TEST_F(PreferencesPagesOnScreen, EachPageKeepsItsFocusOrder) {
  const struct {
    int firstId;
    std::vector<int> order;
  } pages[] = {
      {IDC_LANGUAGE, {IDC_LANGUAGE,
                      IDC_REFRESH_LANGUAGES,
                      IDC_ENTIRE_SCREEN_CTRL,
                      IDC_ENTIRE_SCREEN_ALT,
                      IDC_ENTIRE_SCREEN_SHIFT,
                      IDC_ENTIRE_SCREEN_WIN,
                      IDC_ENTIRE_SCREEN_KEY,
                      IDC_ACTIVE_WINDOW_CTRL,
                      IDC_ACTIVE_WINDOW_ALT,
                      IDC_ACTIVE_WINDOW_SHIFT,
                      IDC_ACTIVE_WINDOW_WIN,
                      IDC_ACTIVE_WINDOW_KEY,
                      IDC_REGION_CTRL,
                      IDC_REGION_ALT,
                      IDC_REGION_SHIFT,
                      IDC_REGION_WIN,
                      IDC_REGION_KEY,
                      IDC_DEFAULT_ACTION,
                      IDC_CAPTURE_SCREEN,
                      IDC_HOME_PAGE_LINK}},
      {IDC_PRINTER,
       {IDC_PRINTER, IDC_PRINTER_PROPERTIES, IDC_FIT_TO_PAGE, IDC_PAGE_POSITION, IDC_ORIENTATION, IDC_COPIES,
        IDC_PRINT_COLORS, IDC_GRAYSCALE, IDC_CAPTURE_MOUSE_POINTER, IDC_FILE_PRINTER_AUTOSAVE, IDC_FILE_PRINTER_FOLDER,
        IDC_BROWSE_FOLDER}},
      {IDC_MAKE_WATERMARK,
       {IDC_MAKE_WATERMARK, IDC_WATERMARK_CORNER, IDC_WATERMARK_TEXT, IDC_WATERMARK_FONT, IDC_WATERMARK_COLOR,
        IDC_TRANSPARENCY}},
      {IDC_DELAYED_CAPTURE,
       {IDC_DELAYED_CAPTURE, IDC_DELAY, IDC_SEVERAL_SHOTS, IDC_NUMBER_OF_SHOTS, IDC_INTERVAL, IDC_SHOTS_PER_PAGE}},
  };
  for (const auto& page : pages) {
    SCOPED_TRACE(page.firstId);
    std::vector<int> order;
    for (HWND child = GetWindow(GetParent(Control(page.firstId)), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT)) {
      if (StyleOf(child) & WS_TABSTOP) order.push_back(GetDlgCtrlID(child));
    }
    EXPECT_EQ(order, page.order);
  }
}

TEST_F(PreferencesPagesOnScreen, TheTabsSwitchThePagesAndTheButtonsReportThemselves) {
  Open(Defaults());
  HWND tabs = Control(IDC_PAGES);
  const struct {
    Page page;
    int control;
  } pages[] = {{Page::Timer, IDC_DELAY},
               {Page::Printing, IDC_PRINTER},
               {Page::Watermark, IDC_WATERMARK_COLOR},
               {Page::General, IDC_LANGUAGE}};
  for (const auto& page : pages) {
    RECT tab{};
    SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(page.page), reinterpret_cast<LPARAM>(&tab));
    const LPARAM point = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
    SendMessageA(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(tabs, WM_LBUTTONUP, 0, point);
    EXPECT_EQ(pages_->CurrentPage(), page.page);
    for (const auto& other : pages) {
      const bool shown = (StyleOf(GetParent(Control(other.control))) & WS_VISIBLE) != 0;
      EXPECT_EQ(shown, other.page == page.page) << static_cast<int>(other.page);
    }
  }

  int previousLeft = 0;
  for (int button : {IDC_OK, IDC_CANCEL, IDC_APPLY}) {
    lastButton = 0;
    Click(button);
    EXPECT_EQ(lastButton, button) << "the window's own button";
    RECT place{};
    GetWindowRect(Control(button), &place);
    EXPECT_GT(place.left, previousLeft) << "buttons out of order";
    previousLeft = place.left;
  }
}

TEST_F(PreferencesPagesOnScreen, CollectedValuesAreWhatTheControlsHold) {
  Open(Defaults());
  folder_.WriteLanguage("Deutsch.lng", "");
  pages_->RefreshLanguages();
  Select(IDC_LANGUAGE, 1);
  SendMessageA(Control(IDC_ENTIRE_SCREEN_CTRL), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageA(Control(IDC_ENTIRE_SCREEN_WIN), BM_SETCHECK, BST_CHECKED, 0);
  Select(IDC_ENTIRE_SCREEN_KEY, 0);  // "A"
  SendMessageA(Control(IDC_ACTIVE_WINDOW_CTRL), BM_SETCHECK, BST_CHECKED, 0);
  Select(IDC_ACTIVE_WINDOW_KEY, 39);  // "F4"
  SendMessageA(Control(IDC_REGION_SHIFT), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageA(Control(IDC_REGION_ALT), BM_SETCHECK, BST_CHECKED, 0);
  Select(IDC_REGION_KEY, 25);  // "Z"
  Select(IDC_DEFAULT_ACTION, 2);
  Select(IDC_CAPTURE_SCREEN, 2);
  SendMessageA(Control(IDC_MAKE_WATERMARK), BM_SETCHECK, BST_CHECKED, 0);
  Select(IDC_WATERMARK_CORNER, 3);
  SetText(IDC_WATERMARK_TEXT, "");
  SendMessageA(Control(IDC_TRANSPARENCY), TBM_SETPOS, TRUE, 120);
  SendMessageA(Control(IDC_FIT_TO_PAGE), BM_SETCHECK, BST_UNCHECKED, 0);
  Select(IDC_PAGE_POSITION, 8);
  Select(IDC_ORIENTATION, 1);
  Select(IDC_PRINT_COLORS, 2);
  SendMessageA(Control(IDC_GRAYSCALE), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(Control(IDC_CAPTURE_MOUSE_POINTER), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(Control(IDC_FILE_PRINTER_AUTOSAVE), BM_SETCHECK, BST_UNCHECKED, 0);
  SetText(IDC_FILE_PRINTER_FOLDER, "D:\\Pages 2");
  Select(IDC_PRINTER, 2);
  SendMessageA(Control(IDC_DELAYED_CAPTURE), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(Control(IDC_SEVERAL_SHOTS), BM_SETCHECK, BST_CHECKED, 0);
  Select(IDC_SHOTS_PER_PAGE, 2);

  const Preferences values = pages_->CollectPreferences();
  EXPECT_EQ(values.Language, "Deutsch");
  EXPECT_EQ(values.ShortcutShiftEntireScreen, 4 + 8);
  EXPECT_EQ(values.ShortcutKeyEntireScreen, 'A');
  EXPECT_EQ(values.ShortcutShiftActiveWindow, 1 + 2 + 4);
  EXPECT_EQ(values.ShortcutKeyActiveWindow, VK_F4);
  EXPECT_EQ(values.ShortcutShiftRegion, 1);
  EXPECT_EQ(values.ShortcutKeyRegion, 'Z');
  EXPECT_EQ(values.DefaultAction, 2);
  EXPECT_EQ(values.CaptureScreen, 2);
  EXPECT_TRUE(values.WatermarkMake);
  EXPECT_EQ(values.WatermarkLocation, 3);
  EXPECT_EQ(values.WatermarkText, "");
  EXPECT_EQ(values.WatermarkFontName, "MS Sans Serif");
  EXPECT_EQ(values.WatermarkFontSize, 12);
  EXPECT_EQ(values.WatermarkFontStyle, 0);
  EXPECT_EQ(values.WatermarkFontColor, 0);
  EXPECT_EQ(values.WatermarkFontTransparency, 120);
  EXPECT_FALSE(values.PrintFitToPage);
  EXPECT_EQ(values.PrintPagePosition, 8);
  EXPECT_EQ(values.PrintOrientation, 1);
  EXPECT_EQ(values.PrintColors, 2);
  EXPECT_TRUE(values.PrintGrayscale);
  EXPECT_TRUE(values.CaptureMousePointer);
  EXPECT_FALSE(values.FilePrinterAutoSave);
  EXPECT_EQ(values.FilePrinterFolder, "D:\\Pages 2");
  EXPECT_EQ(values.PrintPrinter, "Gamma");
  EXPECT_TRUE(values.TimerDelayedCapture);
  EXPECT_TRUE(values.TimerSeveralShots);
  EXPECT_EQ(values.PrintShotsPerPage, 4);

  const struct {
    const char* text;
    int32_t delay, shots, interval;
  } numbers[] = {
      {"$10", 16, 16, 16},     {"0x1f", 31, 31, 31},
      {"  42", 42, 42, 42},    {"-3", -3, -3, -3},
      {"abc", 0, 1, 0},        {"", 0, 1, 0},
      {"4 ", 0, 1, 0},         {"2147483647", 2147483647, 2147483647, 2147483647},
      {"2147483648", 0, 1, 0},
  };
  for (const auto& number : numbers) {
    SCOPED_TRACE(number.text);
    // While a print job is open the pages hold their commands back, so the
    // fields are not tidied: the texts stay exactly as set.
    const PrintJobScope job;
    for (int id : {IDC_DELAY, IDC_NUMBER_OF_SHOTS, IDC_INTERVAL, IDC_COPIES}) SetText(id, number.text);
    const Preferences read = pages_->CollectPreferences();
    EXPECT_EQ(read.TimerDelay, number.delay);
    EXPECT_EQ(read.TimerNumberOfShots, number.shots);
    EXPECT_EQ(read.PrintCopies, number.shots);
    EXPECT_EQ(read.TimerInterval, number.interval);
  }

  for (int id : {IDC_LANGUAGE, IDC_ENTIRE_SCREEN_KEY, IDC_ACTIVE_WINDOW_KEY, IDC_REGION_KEY, IDC_DEFAULT_ACTION,
                 IDC_WATERMARK_CORNER, IDC_PAGE_POSITION, IDC_ORIENTATION, IDC_PRINTER, IDC_SHOTS_PER_PAGE}) {
    Select(id, -1);
  }
  const Preferences none = pages_->CollectPreferences();
  EXPECT_EQ(none.Language, "");
  EXPECT_EQ(none.ShortcutKeyEntireScreen, 0);
  EXPECT_EQ(none.ShortcutKeyActiveWindow, 0);
  EXPECT_EQ(none.ShortcutKeyRegion, 0);
  EXPECT_EQ(none.DefaultAction, -1);
  EXPECT_EQ(none.WatermarkLocation, -1);
  EXPECT_EQ(none.PrintPagePosition, -1);
  EXPECT_EQ(none.PrintOrientation, -1);
  EXPECT_EQ(none.PrintPrinter, "");
  EXPECT_EQ(none.PrintShotsPerPage, 1) << "no value of the list: the default";
  EXPECT_FALSE(pages_->PrinterSelected());
}

TEST_F(PreferencesPagesOnScreen, ShownValuesComeBackUnchanged) {
  Preferences record = Defaults();
  record.ShortcutShiftEntireScreen = 1 + 8;
  record.ShortcutKeyEntireScreen = VK_F12;
  record.ShortcutShiftActiveWindow = 2;
  record.ShortcutKeyActiveWindow = VK_PAUSE;
  record.ShortcutShiftRegion = 2 + 8;
  record.ShortcutKeyRegion = VK_F9;
  record.DefaultAction = 0;
  record.WatermarkLocation = 2;
  record.WatermarkText = std::string(60, 'w');  // beyond the typing limit
  record.WatermarkFontName = "Liberation Sans";
  record.WatermarkFontSize = 14;
  record.WatermarkFontStyle = 2;
  record.WatermarkFontColor = 0x00336699;
  record.WatermarkFontTransparency = 200;
  record.WatermarkMake = true;
  record.TimerDelay = 5;
  record.TimerDelayedCapture = true;
  record.TimerNumberOfShots = 999;
  record.TimerInterval = 2147483647;
  record.TimerSeveralShots = true;
  record.PrintShotsPerPage = 2;
  record.PrintFitToPage = false;
  record.PrintPagePosition = 0;
  record.PrintOrientation = 3;
  record.PrintCopies = 42;
  record.PrintGrayscale = true;
  record.CaptureMousePointer = true;
  record.PrintPrinter = "gamma";
  Open(record);

  Preferences expected = record;
  expected.PrintPrinter = "Gamma";
  EXPECT_EQ(pages_->CollectPreferences(), expected);

  EXPECT_EQ(Text(IDC_WATERMARK_FONT), "Liberation Sans Italic, 14pt");
  for (int id : {IDC_WATERMARK_CORNER, IDC_WATERMARK_TEXT, IDC_WATERMARK_FONT, IDC_WATERMARK_COLOR, IDC_TRANSPARENCY,
                 IDC_DELAY, IDC_NUMBER_OF_SHOTS, IDC_INTERVAL, IDC_SHOTS_PER_PAGE}) {
    EXPECT_TRUE(Enabled(id)) << id;
  }
  EXPECT_EQ(pages_->ShownSwatchColors().fill, 0x00336699u);
  EXPECT_EQ(pages_->ShownSwatchColors().outline, RGB(0, 0, 0));
}

TEST_F(PreferencesPagesOnScreen, ValuesOutsideTheListsLeaveThemWithoutSelection) {
  Open(Defaults());
  Preferences record = Defaults();
  record.DefaultAction = 7;
  record.WatermarkLocation = 4;
  record.PrintPagePosition = -2;
  record.PrintShotsPerPage = 3;
  record.PrintPrinter = "Removed printer";
  record.Language = "Klingon";
  record.ShortcutKeyEntireScreen = 0x0E;  // no name for it: the list keeps its selection
  Show(record);
  EXPECT_EQ(Index(IDC_DEFAULT_ACTION), -1);
  EXPECT_EQ(Index(IDC_WATERMARK_CORNER), -1);
  EXPECT_EQ(Index(IDC_PAGE_POSITION), -1);
  EXPECT_EQ(Index(IDC_SHOTS_PER_PAGE), -1);
  EXPECT_EQ(Index(IDC_PRINTER), -1);
  EXPECT_FALSE(pages_->PrinterSelected());
  EXPECT_EQ(Text(IDC_LANGUAGE), "English");
  EXPECT_EQ(Text(IDC_ENTIRE_SCREEN_KEY), "PrtScr");

  const Preferences values = pages_->CollectPreferences();
  EXPECT_EQ(values.DefaultAction, -1);
  EXPECT_EQ(values.WatermarkLocation, -1);
  EXPECT_EQ(values.PrintPagePosition, -1);
  EXPECT_EQ(values.PrintShotsPerPage, 1);
}

TEST_F(PreferencesPagesOnScreen, AStoredStyleShowsItsTwoBitsAndCollectsThem) {
  const struct {
    const char* name;
    int32_t style;
    const char* caption;
    int32_t collected;
  } cases[] = {
      {"Arial", 7, "Arial Bold Italic, 10pt", 3},
      {"Arial", 1, "Arial Bold, 10pt", 1},
      {"Arial", 4, "Arial, 10pt", 0},
      {"", 3, "Browse Font", 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    Preferences record = Defaults();
    record.WatermarkFontName = c.name;
    record.WatermarkFontSize = 10;
    record.WatermarkFontStyle = c.style;
    Show(record);
    EXPECT_EQ(Text(IDC_WATERMARK_FONT), c.caption);
    EXPECT_EQ(pages_->CollectPreferences().WatermarkFontStyle, c.collected);
    EXPECT_EQ(pages_->CollectPreferences().WatermarkFontSize, 10);
  }
}

TEST_F(PreferencesPagesOnScreen, NumberFieldsTidyWhatIsTypedAndNeverKeepZero) {
  Open(Defaults());
  ShowWindow(host_.get(), SW_SHOW);
  pages_->SelectPage(Page::Timer);
  Click(IDC_DELAYED_CAPTURE);
  Click(IDC_SEVERAL_SHOTS);
  ASSERT_TRUE(Enabled(IDC_DELAY));
  ASSERT_TRUE(Enabled(IDC_INTERVAL));

  SetFocus(Control(IDC_DELAY));
  ASSERT_EQ(GetFocus(), Control(IDC_DELAY));
  SetText(IDC_DELAY, "");
  EXPECT_EQ(Text(IDC_DELAY), "0");
  EXPECT_EQ(Selection(IDC_DELAY), std::make_pair(DWORD{0}, DWORD{1}));
  Type(IDC_DELAY, "007");
  EXPECT_EQ(Text(IDC_DELAY), "7");
  Type(IDC_DELAY, "a-");  // digits only
  EXPECT_EQ(Text(IDC_DELAY), "7");
  Type(IDC_DELAY, "5");
  EXPECT_EQ(Text(IDC_DELAY), "75");

  SendMessageA(Control(IDC_DELAY), EM_SETSEL, 0, -1);
  Type(IDC_DELAY, "\b");
  EXPECT_EQ(Text(IDC_DELAY), "0");
  EXPECT_EQ(Selection(IDC_DELAY), std::make_pair(DWORD{0}, DWORD{1}));
  SetFocus(Control(IDC_INTERVAL));
  EXPECT_EQ(Text(IDC_DELAY), "1");

  SetText(IDC_INTERVAL, "");
  Type(IDC_INTERVAL, "214748364");
  EXPECT_EQ(Text(IDC_INTERVAL), "214748364");
  Type(IDC_INTERVAL, "8");
  EXPECT_EQ(Text(IDC_INTERVAL), "0");
  SetText(IDC_INTERVAL, "12");
  SendMessageA(Control(IDC_INTERVAL), EM_SETSEL, 1, 1);
  Type(IDC_INTERVAL, "0");
  EXPECT_EQ(Text(IDC_INTERVAL), "102");
  EXPECT_EQ(Selection(IDC_INTERVAL), std::make_pair(DWORD{2}, DWORD{2}));
  SetFocus(Control(IDC_NUMBER_OF_SHOTS));
  EXPECT_EQ(Text(IDC_INTERVAL), "102");

  // A pasted text is not filtered; its value is what stays.
  SetText(IDC_NUMBER_OF_SHOTS, "-0");
  EXPECT_EQ(Text(IDC_NUMBER_OF_SHOTS), "0");
  SetText(IDC_NUMBER_OF_SHOTS, "-12");
  EXPECT_EQ(Text(IDC_NUMBER_OF_SHOTS), "-12");
  SetFocus(Control(IDC_DELAY));
  EXPECT_EQ(Text(IDC_NUMBER_OF_SHOTS), "-12");

  // Focus that leaves the window (another program, a box) leaves the field as it is;
  // collecting reads the field being edited as leaving it would.
  SetText(IDC_DELAY, "0");
  SetFocus(nullptr);
  EXPECT_EQ(Text(IDC_DELAY), "0");
  SetFocus(Control(IDC_DELAY));
  EXPECT_EQ(pages_->CollectPreferences().TimerDelay, 1);
  EXPECT_EQ(Text(IDC_DELAY), "0");

  // The copies follow the same rules.
  pages_->SelectPage(Page::Printing);
  SetFocus(Control(IDC_COPIES));
  SetText(IDC_COPIES, "");
  EXPECT_EQ(Text(IDC_COPIES), "0");
  SetFocus(Control(IDC_ORIENTATION));
  EXPECT_EQ(Text(IDC_COPIES), "1");
  ShowWindow(host_.get(), SW_HIDE);
}

TEST_F(PreferencesPagesOnScreen, TheWatermarkSwitchGreysTheSwatchButKeepsTheColour) {
  Preferences record = Defaults();
  record.WatermarkFontColor = 0x000080FF;
  Open(record);
  const SwatchColors grey{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNSHADOW)};
  const SwatchColors shown{0x000080FF, RGB(0, 0, 0)};
  const auto expectSwatch = [&](const SwatchColors& expected) {
    EXPECT_EQ(pages_->ShownSwatchColors().fill, expected.fill);
    EXPECT_EQ(pages_->ShownSwatchColors().outline, expected.outline);
  };
  expectSwatch(grey);
  Click(IDC_MAKE_WATERMARK);
  expectSwatch(shown);
  EXPECT_TRUE(Enabled(IDC_WATERMARK_COLOR));
  Click(IDC_MAKE_WATERMARK);
  expectSwatch(grey);
  EXPECT_FALSE(Enabled(IDC_WATERMARK_COLOR));
  EXPECT_EQ(pages_->FontColor(), 0x000080FF);
}

TEST_F(PreferencesPagesOnScreen, SettingsInForceShowTheirValueGreyedWithALineThatSaysSo) {
  Preferences record = Defaults();
  record.WatermarkMake = true;
  record.WatermarkText = "CONFIDENTIAL";
  PoliciesInForce policies;
  // The settings in force, and the controls that must be greyed for each.
  const std::map<std::string, std::vector<int>> greyed = {
      {"WatermarkMake", {IDC_MAKE_WATERMARK}},
      {"WatermarkText", {IDC_WATERMARK_TEXT}},
      {"WatermarkFontColor", {IDC_COLOR_SWATCH, IDC_WATERMARK_COLOR}},
      {"FilePrinterFolder", {IDC_FILE_PRINTER_FOLDER, IDC_BROWSE_FOLDER}},
      {"ShortcutShiftActiveWindow",
       {IDC_ACTIVE_WINDOW_CTRL, IDC_ACTIVE_WINDOW_ALT, IDC_ACTIVE_WINDOW_SHIFT, IDC_ACTIVE_WINDOW_WIN}},
      {"TimerNumberOfShots", {IDC_NUMBER_OF_SHOTS}},
  };
  for (size_t i = 0; i < kSettingCount; ++i) policies.settings[i] = greyed.count(kSettings[i].name) > 0;
  Open(Defaults());
  const RECT before = [&] {
    RECT frame{};
    GetWindowRect(host_.get(), &frame);
    return frame;
  }();
  EXPECT_FALSE(IsWindowVisible(Control(IDC_MANAGED_NOTE)));
  pages_->ShowPreferences(record, "Browse Font", policies);

  for (const auto& [setting, controls] : greyed) {
    for (int id : controls) EXPECT_FALSE(Enabled(id)) << setting << " " << id;
  }
  EXPECT_TRUE(Ticked(IDC_MAKE_WATERMARK));
  EXPECT_EQ(Text(IDC_WATERMARK_TEXT), "CONFIDENTIAL");
  // What no policy holds follows its rules as before.
  EXPECT_TRUE(Enabled(IDC_WATERMARK_CORNER));
  EXPECT_TRUE(Enabled(IDC_ACTIVE_WINDOW_KEY));
  EXPECT_TRUE(Enabled(IDC_ENTIRE_SCREEN_CTRL));
  EXPECT_FALSE(Enabled(IDC_INTERVAL)) << "the series is off";
  Click(IDC_SEVERAL_SHOTS);
  EXPECT_TRUE(Enabled(IDC_INTERVAL));
  EXPECT_FALSE(Enabled(IDC_NUMBER_OF_SHOTS)) << "switched on, a rule still leaves what a policy holds greyed";
  Click(IDC_FILE_PRINTER_AUTOSAVE);
  Click(IDC_FILE_PRINTER_AUTOSAVE);
  EXPECT_FALSE(Enabled(IDC_BROWSE_FOLDER));

  // The line below the tabs, which take less room to make room for it.
  HWND note = Control(IDC_MANAGED_NOTE);
  EXPECT_TRUE(GetWindowLongPtrA(note, GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(TextOf(note), "Some settings are managed by your organisation.");
  RECT noteRect{}, tabsRect{}, okRect{}, after{};
  GetWindowRect(note, &noteRect);
  GetWindowRect(Control(IDC_PAGES), &tabsRect);
  GetWindowRect(Control(IDC_OK), &okRect);
  GetWindowRect(host_.get(), &after);
  EXPECT_GE(noteRect.top, tabsRect.bottom);
  EXPECT_LE(noteRect.bottom, okRect.top);
  EXPECT_GT(noteRect.bottom - noteRect.top, 10);
  EXPECT_GT(after.bottom - after.top, before.bottom - before.top);

  // Without policies everything is the user's again.
  pages_->ShowPreferences(Defaults(), "Browse Font");
  for (int id : {IDC_MAKE_WATERMARK, IDC_ACTIVE_WINDOW_CTRL, IDC_ACTIVE_WINDOW_WIN, IDC_FILE_PRINTER_FOLDER,
                 IDC_BROWSE_FOLDER}) {
    EXPECT_TRUE(Enabled(id)) << id;
  }
  EXPECT_FALSE(Enabled(IDC_WATERMARK_TEXT)) << "the watermark is off";
  EXPECT_FALSE(GetWindowLongPtrA(note, GWL_STYLE) & WS_VISIBLE);
  GetWindowRect(host_.get(), &after);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST_F(PreferencesPagesOnScreen, PressingTheSwatchChoosesAColourEvenWithTheWatermarkOff) {
  Open(Defaults());
  script_.color = RGB(10, 200, 30);
  SendMessageA(Control(IDC_COLOR_SWATCH), WM_RBUTTONDOWN, MK_RBUTTON, 0);
  EXPECT_EQ(script_.colorCalls, 1);
  EXPECT_EQ(script_.colorOffered, RGB(0, 0, 0));
  EXPECT_EQ(pages_->FontColor(), static_cast<int32_t>(RGB(10, 200, 30)));
  EXPECT_EQ(pages_->ShownSwatchColors().fill, GetSysColor(COLOR_BTNFACE)) << "the watermark is off";
  EXPECT_EQ(pages_->CollectPreferences().WatermarkFontColor, static_cast<int32_t>(RGB(10, 200, 30)));

  Click(IDC_MAKE_WATERMARK);
  EXPECT_EQ(pages_->ShownSwatchColors().fill, RGB(10, 200, 30));
  script_.confirm = false;
  script_.color = RGB(1, 2, 3);
  Click(IDC_WATERMARK_COLOR);
  EXPECT_EQ(script_.colorCalls, 2);
  EXPECT_EQ(script_.colorOffered, RGB(10, 200, 30));
  EXPECT_EQ(pages_->FontColor(), static_cast<int32_t>(RGB(10, 200, 30)));
  EXPECT_EQ(pages_->ShownSwatchColors().fill, RGB(10, 200, 30));
}

TEST_F(PreferencesPagesOnScreen, BrowseOffersTheFieldsFolderAndTheSwitchGreysBoth) {
  Open(Defaults());
  script_.folder = "E:\\Pages";
  Click(IDC_BROWSE_FOLDER);
  EXPECT_EQ(script_.folderOffered, DefaultPageFolder()) << "an empty field stands for the default folder";
  EXPECT_EQ(script_.folderTitle, "Folder for the pages of file printers");
  EXPECT_EQ(Text(IDC_FILE_PRINTER_FOLDER), "E:\\Pages");

  script_.confirm = false;
  Click(IDC_BROWSE_FOLDER);
  EXPECT_EQ(script_.folderOffered, "E:\\Pages");
  EXPECT_EQ(Text(IDC_FILE_PRINTER_FOLDER), "E:\\Pages") << "a cancelled picker changes nothing";

  Click(IDC_FILE_PRINTER_AUTOSAVE);
  EXPECT_FALSE(Enabled(IDC_FILE_PRINTER_FOLDER));
  EXPECT_FALSE(Enabled(IDC_BROWSE_FOLDER));
  Preferences record = Defaults();
  record.FilePrinterAutoSave = false;
  Open(record);
  EXPECT_FALSE(Enabled(IDC_FILE_PRINTER_FOLDER)) << "shown off, the folder is greyed from the start";
  Click(IDC_FILE_PRINTER_AUTOSAVE);
  EXPECT_TRUE(Enabled(IDC_BROWSE_FOLDER));
}

TEST_F(PreferencesPagesOnScreen, AChosenFontNamesItselfOnTheButtonUntilTheNextLoad) {
  Open(Defaults());
  Click(IDC_MAKE_WATERMARK);
  script_.font = {"Liberation Serif", 12, false, false};
  Click(IDC_WATERMARK_FONT);
  EXPECT_EQ(script_.fontCalls, 1);
  EXPECT_EQ(script_.fontOffered.name, "MS Sans Serif");
  EXPECT_EQ(script_.fontOffered.size, 12);
  EXPECT_EQ(Text(IDC_WATERMARK_FONT), "Liberation Serif , 12 pt");
  script_.font = {"Liberation Mono", 9, true, true};
  Click(IDC_WATERMARK_FONT);
  EXPECT_EQ(Text(IDC_WATERMARK_FONT), "Liberation Mono Bold Italic, 9 pt");

  script_.confirm = false;
  Click(IDC_WATERMARK_FONT);
  EXPECT_EQ(Text(IDC_WATERMARK_FONT), "Liberation Mono Bold Italic, 9 pt");
  EXPECT_TRUE(Enabled(IDC_WATERMARK_FONT)) << "the enabling rule ran with the watermark on";

  // With no stored name the picked one stays the dialog's, with the stored size and style.
  Show(Defaults());
  EXPECT_EQ(Text(IDC_WATERMARK_FONT), "Browse Font");
  const Preferences values = pages_->CollectPreferences();
  EXPECT_EQ(values.WatermarkFontName, "Liberation Mono");
  EXPECT_EQ(values.WatermarkFontSize, 12);
  EXPECT_EQ(values.WatermarkFontStyle, 0);
}

TEST_F(PreferencesPagesOnScreen, TheLanguageListIsRebuiltByRefreshAndF5KeepingTheSelection) {
  folder_.WriteLanguage("Deutsch.LNG", "");
  Open(Defaults());
  EXPECT_EQ(Items(Control(IDC_LANGUAGE)), (std::vector<std::string>{"English", "Deutsch"}));
  Select(IDC_LANGUAGE, 1);

  folder_.WriteLanguage("French.lng", "");
  Click(IDC_REFRESH_LANGUAGES);
  EXPECT_EQ(Items(Control(IDC_LANGUAGE)).size(), 3u);
  EXPECT_EQ(Text(IDC_LANGUAGE), "Deutsch");

  folder_.WriteLanguage("My.Lang.lng", "");
  SendMessageA(Control(IDC_LANGUAGE), WM_KEYDOWN, VK_F6, 0);
  EXPECT_EQ(Items(Control(IDC_LANGUAGE)).size(), 3u);
  SendMessageA(Control(IDC_LANGUAGE), WM_KEYDOWN, VK_F5, 0);
  const std::vector<std::string> names = Items(Control(IDC_LANGUAGE));
  EXPECT_EQ(names.size(), 4u);
  EXPECT_NE(std::find(names.begin(), names.end(), "My.Lang"), names.end());
  EXPECT_EQ(Text(IDC_LANGUAGE), "Deutsch");
  EXPECT_EQ(pages_->SelectedLanguagePath(), folder_.path() + "langs\\Deutsch.LNG");
  folder_.WriteLanguage("Svenska.lng", "");
  constexpr LPARAM kAltHeld = LPARAM{1} << 29;
  SendMessageA(Control(IDC_LANGUAGE), WM_SYSKEYDOWN, VK_F5, kAltHeld);
  EXPECT_EQ(Items(Control(IDC_LANGUAGE)).size(), 5u) << "Alt+F5";

  Select(IDC_LANGUAGE, -1);
  const std::string none = pages_->SelectedLanguagePath();
  EXPECT_EQ(none, folder_.path() + "langs\\.lng");
}

TEST_F(PreferencesPagesOnScreen, PropertiesWithoutAnyPrinterToFallBackOnThrows) {
  Open(Defaults());
  Select(IDC_PRINTER, -1);
  // None of the listed printers is the system's default, so nothing can be set up.
  EXPECT_THROW(pages_->HandleCommand(MAKEWPARAM(IDC_PRINTER_PROPERTIES, BN_CLICKED), 0), std::runtime_error);
}

TEST_F(PreferencesPagesOnScreen, AnEmptyPrinterListCountsNone) {
  Build({});
  Open(Defaults());
  EXPECT_EQ(pages_->PrinterCount(), 0);
  EXPECT_FALSE(pages_->PrinterSelected());
  EXPECT_EQ(pages_->CollectPreferences().PrintPrinter, "");
}

TEST_F(PreferencesPagesOnScreen, TheSystemsDefaultPrinterIsSelectedAtFirst) {
  const char* queues = std::getenv("VORLANE_QUEUES");
  if (!queues || !*queues) GTEST_SKIP() << "needs print queues: run under tests/testenv.py";
  hostPages = nullptr;
  pages_.reset();
  printer_ = std::make_unique<Printer>();
  pages_ = std::make_unique<PreferencesPages>(host_.get(), *printer_, folder_.path(), ScriptedDialogs());
  hostPages = pages_.get();
  Open(DefaultPreferences(SystemDefaultPrinter()));
  const std::string first = std::string(queues).substr(0, std::string(queues).find(','));
  EXPECT_EQ(Text(IDC_PRINTER), first);
  EXPECT_EQ(Items(Control(IDC_PRINTER)), printer_->PrinterNames());
}

// -- the system's own dialogs, answered by a timer while they run -------------

struct DialogAnswer {
  bool confirm = false;
  bool seen = false;
};
DialogAnswer* answer = nullptr;

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND dialog = test_window::VisibleDialog();
  if (!dialog || !answer || answer->seen) return;
  answer->seen = true;
  KillTimer(nullptr, timer);
  PostMessageA(dialog, WM_COMMAND, answer->confirm ? IDOK : IDCANCEL, 0);
}

void ClickAnswering(HWND button, DialogAnswer& reply) {
  answer = &reply;
  SetTimer(nullptr, 0, kPollStepMs, AnswerDialog);
  SendMessageA(button, BM_CLICK, 0, 0);
  answer = nullptr;
}

TEST_F(PreferencesPagesOnScreen, TheSystemDialogsOpenWithTheHeldValues) {
  Build(std::vector<std::string>(std::begin(kFakePrinters), std::end(kFakePrinters)), SystemDialogs());
  Preferences record = Defaults();
  record.WatermarkMake = true;
  record.WatermarkFontName = "Liberation Sans";
  record.WatermarkFontSize = 12;
  record.WatermarkFontStyle = 1;
  record.WatermarkFontColor = 0x00336699;
  Open(record);
  ShowWindow(host_.get(), SW_SHOW);

  DialogAnswer confirmFont{true};
  ClickAnswering(Control(IDC_WATERMARK_FONT), confirmFont);
  EXPECT_TRUE(confirmFont.seen);
  EXPECT_EQ(Text(IDC_WATERMARK_FONT), "Liberation Sans Bold, 12 pt");
  EXPECT_EQ(pages_->Font().name, "Liberation Sans");
  EXPECT_EQ(pages_->Font().size, 12);
  EXPECT_TRUE(pages_->Font().bold);
  EXPECT_FALSE(pages_->Font().italic);

  DialogAnswer cancelColor{false};
  ClickAnswering(Control(IDC_WATERMARK_COLOR), cancelColor);
  EXPECT_TRUE(cancelColor.seen);
  EXPECT_EQ(pages_->FontColor(), 0x00336699);
  DialogAnswer confirmColor{true};
  ClickAnswering(Control(IDC_WATERMARK_COLOR), confirmColor);
  EXPECT_TRUE(confirmColor.seen);
  EXPECT_EQ(pages_->FontColor(), 0x00336699) << "the held colour was not preselected";

  DialogAnswer cancelFolder{false};
  ClickAnswering(Control(IDC_BROWSE_FOLDER), cancelFolder);
  EXPECT_TRUE(cancelFolder.seen) << "no folder picker opened";
  EXPECT_EQ(Text(IDC_FILE_PRINTER_FOLDER), "");
  ShowWindow(host_.get(), SW_HIDE);
}

// -- the texts of a language ----------------------------------------------------

TEST_F(PreferencesPagesOnScreen, AFileTranslatingOnlyExitChangesThatTextAlone) {
  folder_.WriteLanguage("French.lng", "[TrayMenu]\r\nExit=Quitter\r\n");
  Open(Defaults());
  Select(IDC_LANGUAGE, 1);
  ASSERT_EQ(Text(IDC_LANGUAGE), "French");
  const auto english = Shown();
  texts_ = ApplySelectedLanguage(*pages_);
  EXPECT_EQ(Changes(english), (std::map<std::string, std::string>{{"kept Exit", "Quitter"}}));
}

TEST_F(PreferencesPagesOnScreen, EveryTextReachesItsOwnPlace) {
  Open(Defaults());
  std::map<std::string, std::string> sections;
  for (const TextRow& row : kTextRows) sections[row.section] += std::string(row.key) + "=<" + row.key + ">\n";
  std::string file;
  for (const auto& [section, lines] : sections) file += "[" + section + "]\n" + lines;
  const auto english = Shown();
  ApplyFile("Marked", file);

  // Each text lands in one place of its own, on screen or kept; four land
  // in two, as the default action list and the font button repeat them.
  // Read as they show, without their access keys. Some land in more than
  // one place: the default action list and the font button repeat three, the
  // track bar is named by the text of its group, and the name of the eight
  // check boxes and two key lists under the column heads holds no field to
  // fill here; the page control is named after the tab it shows.
  std::map<std::string, int> places;
  for (const auto& [where, text] : Changes(english)) {
    if (where.find(" selected") == std::string::npos) ++places[WithoutAccessKey(text)];
  }
  const std::map<std::string, int> repeated = {
      {"<TakeEntireScreen>", 2},      {"<Preferences>", 2},          {"<TakeRegion>", 2},  {"<BrowseFont>", 2},
      {"<WatermarkTransparency>", 2}, {"<GeneralShortcutsBox>", 16}, {"<GeneralTitle>", 2}};
  for (const TextRow& row : kTextRows) {
    const std::string marked = std::string("<").append(row.key).append(">");
    const auto count = repeated.find(marked);
    EXPECT_EQ(places[marked] + places[GroupCaption(marked)], count == repeated.end() ? 1 : count->second) << marked;
  }
  EXPECT_EQ(Text(IDC_SHORTCUTS_GROUP), " <GeneralShortcutsTitle> ");
  EXPECT_EQ(WithoutAccessKey(Text(IDC_TRANSPARENCY_GROUP)), " <WatermarkTransparency> ");
  EXPECT_EQ(WithoutAccessKey(Text(IDC_PRINTER_PROPERTIES)), "Properties");
  EXPECT_NE(Text(IDC_HOME_PAGE_LINK).find("www.vorlane-print.com"), std::string::npos);
}

TEST_F(PreferencesPagesOnScreen, TheReaderRulesReachTheControls) {
  Open(Defaults());
  const std::string longValue(2000, 'x');
  const struct {
    const char* name;
    std::string file;
    int id;  // 0: the window caption
    std::string expected;
  } cases[] = {
      {"lower case names", "[preferenceswindow]\ntitle=Titre\n", 0, "Titre"},
      {"empty value", "[PreferencesWindow]\nTitle=\n", 0, ""},
      {"long value", "[PreferencesWindow]\nGeneralLanguage=" + longValue + "\n", IDC_LANGUAGE_LABEL,
       std::string(1023, 'x')},
      {"group padding", "[PreferencesWindow]\nGeneralShortcutsTitle=Kurzbefehle\n", IDC_SHORTCUTS_GROUP,
       " Kurzbefehle "},
      {"empty group", "[PreferencesWindow]\nWatermarkTransparency=\n", IDC_TRANSPARENCY_GROUP, "  "},
  };
  int serial = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ApplyFile("Case" + std::to_string(++serial), c.file);
    EXPECT_EQ(WithoutAccessKey(c.id == 0 ? TextOf(host_.get()) : Text(c.id)), c.expected);
  }
}

TEST_F(PreferencesPagesOnScreen, TheListsKeepTheirSelectedIndexAcrossALanguage) {
  Open(Defaults());
  folder_.WriteLanguage("Deutsch.lng",
                        "[PreferencesWindow]\nWatermarkLocationLB=Unten links\nPrintingPagePositionCB=Unten Mitte\n"
                        "[TrayMenu]\nTakeEntireScreen=Ganzer Bildschirm\n");
  pages_->RefreshLanguages();
  Select(IDC_LANGUAGE, 1);
  const struct { int water, page, action; } selections[] = {{2, 7, 0}, {-1, -1, -1}, {0, 8, 1}, {3, 0, 2}};
  for (const auto& s : selections) {
    SCOPED_TRACE(s.water);
    Select(IDC_WATERMARK_CORNER, s.water);
    Select(IDC_PAGE_POSITION, s.page);
    Select(IDC_DEFAULT_ACTION, s.action);
    texts_ = ApplySelectedLanguage(*pages_);
    EXPECT_EQ(Index(IDC_WATERMARK_CORNER), s.water);
    EXPECT_EQ(Index(IDC_PAGE_POSITION), s.page);
    EXPECT_EQ(Index(IDC_DEFAULT_ACTION), s.action);
    EXPECT_EQ(Items(Control(IDC_WATERMARK_CORNER))[2], "Unten links");
    EXPECT_EQ(Items(Control(IDC_PAGE_POSITION))[7], "Unten Mitte");
    EXPECT_EQ(Items(Control(IDC_DEFAULT_ACTION)),
              (std::vector<std::string>{"Ganzer Bildschirm", "Preferences", "Take region"}));
  }

  const auto once = Shown();
  texts_ = ApplySelectedLanguage(*pages_);
  EXPECT_EQ(Changes(once), (std::map<std::string, std::string>{})) << "applying twice changed something";
}

}  // namespace
