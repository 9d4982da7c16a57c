// The window a region is chosen on, over a frozen picture made for the test:
// what the mouse and the keys take, what is shown, and what it tells its
// owner. Needs a display: run under tests/testenv.py.
#include "ui/capture/region_overlay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/owners.h"
#include "base/system_text.h"
#include "tests/win/test_window.h"
#include "ui/settings/controls.h"

namespace {

constexpr UINT kDone = WM_APP + 7;
// Even channels: half of each is exact.
constexpr COLORREF kPictured = RGB(200, 100, 40);
constexpr COLORREF kDimmed = RGB(100, 50, 20);
constexpr ScreenRect kArea{0, 0, 400, 300};
constexpr ScreenRect kWindowFrame{50, 40, 250, 190};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

COLORREF ScreenPixel(int x, int y) {
  const owners::WindowDc screen(nullptr, GetDC(nullptr));
  return GetPixel(screen.get(), x, y);
}

bool WaitFor(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(20);
  }
  return true;
}

class RegionOverlayOnScreen : public ::testing::Test {
 public:
  void SetUp() override {
    owner_.reset(test_window::Make({.className = "VorlaneRegionOwner", .parent = HWND_MESSAGE}));
    under_.reset(test_window::Make({.className = "VorlaneRegionUnder", .title = "Under"}));
    ASSERT_TRUE(owner_ && under_) << "no window: run on a display (tests/testenv.py)";
    startCount_ = owners::liveCount;
  }

  // The frozen picture is of one colour, with one window and one monitor.
  void Open() {
    const owners::WindowDc screen(nullptr, GetDC(nullptr));
    owners::Bitmap picture(CreateCompatibleBitmap(screen.get(), kArea.Width(), kArea.Height()));
    {
      const owners::MemoryDc dc(CreateCompatibleDC(screen.get()));
      const owners::Selection selected(dc.get(), picture.get());
      const owners::Brush brush(CreateSolidBrush(kPictured));
      const RECT whole{0, 0, kArea.Width(), kArea.Height()};
      FillRect(dc.get(), &whole, brush.get());
    }
    overlay_ = std::make_unique<RegionOverlay>(
        FrozenScreens{kArea, std::move(picture), {kArea}, {{under_.get(), kWindowFrame}}}, Texts(), owner_.get(),
        kDone);
  }

  void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    SendMessageW(overlay_->handle(), message, wParam, lParam);
  }

  // Where the window follows the pointer from: the system's pointer.
  void MoveTo(int x, int y) {
    SetCursorPos(x, y);
    Send(WM_MOUSEMOVE, 0, At(x, y));
  }

  bool Done() { return test_window::Receive(owner_.get(), kDone, 0); }

  owners::Window owner_;
  owners::Window under_;
  std::unique_ptr<RegionOverlay> overlay_;
  int startCount_ = 0;
};

}  // namespace

TEST_F(RegionOverlayOnScreen, TheMouseAndTheKeysTakeARegionOrAWindowAndTellTheOwner) {
  const struct {
    const char* name;
    std::function<void(RegionOverlayOnScreen&)> act;
    std::optional<ScreenRect> taken;
  } cases[] = {
      {"a drag",
       [](RegionOverlayOnScreen& t) {
         t.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 20));
         t.Send(WM_LBUTTONUP, 0, At(110, 70));
       },
       ScreenRect{10, 20, 111, 71}},
      {"a drag beyond the window's edge stops at the screens' edge",
       [](RegionOverlayOnScreen& t) {
         t.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(300, 200));
         t.Send(WM_LBUTTONUP, 0, At(500, 400));
       },
       ScreenRect{300, 200, 400, 300}},
      {"a click on the window",
       [](RegionOverlayOnScreen& t) {
         t.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(100, 100));
         t.Send(WM_LBUTTONUP, 0, At(100, 100));
       },
       kWindowFrame},
      {"a click beside it takes the monitor",
       [](RegionOverlayOnScreen& t) {
         t.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(300, 250));
         t.Send(WM_LBUTTONUP, 0, At(300, 250));
       },
       kArea},
      {"Enter, three steps right, two down, Enter",
       [](RegionOverlayOnScreen& t) {
         t.MoveTo(50, 50);
         t.Send(WM_KEYDOWN, VK_RETURN);
         for (int i = 0; i < 3; ++i) t.Send(WM_KEYDOWN, VK_RIGHT);
         for (int i = 0; i < 2; ++i) t.Send(WM_KEYDOWN, VK_DOWN);
         t.Send(WM_KEYDOWN, VK_RETURN);
       },
       ScreenRect{50, 50, 54, 53}},
      {"Esc", [](RegionOverlayOnScreen& t) { t.Send(WM_KEYDOWN, VK_ESCAPE); }, std::nullopt},
      {"Esc during a drag",
       [](RegionOverlayOnScreen& t) {
         t.Send(WM_LBUTTONDOWN, MK_LBUTTON, At(10, 20));
         t.MoveTo(200, 200);
         t.Send(WM_KEYDOWN, VK_ESCAPE);
       },
       std::nullopt},
      {"the right button", [](RegionOverlayOnScreen& t) { t.Send(WM_RBUTTONUP, 0, At(100, 100)); }, std::nullopt},
      {"a request to close", [](RegionOverlayOnScreen& t) { t.Send(WM_CLOSE); }, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Open();
    EXPECT_TRUE(IsWindowVisible(overlay_->handle()));
    c.act(*this);
    EXPECT_TRUE(Done());
    EXPECT_EQ(overlay_->Taken(), c.taken);
    // Whatever opens next shows in front of it.
    EXPECT_FALSE(GetWindowLongW(overlay_->handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Once over, the choice takes no more input and tells the owner nothing more.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
    Send(WM_LBUTTONUP, 0, At(300, 280));
    Send(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(overlay_->Taken(), c.taken);
    MSG more;
    EXPECT_FALSE(PeekMessageW(&more, owner_.get(), kDone, kDone, PM_REMOVE));
    overlay_.reset();
    EXPECT_EQ(owners::liveCount, startCount_);
  }
}

TEST_F(RegionOverlayOnScreen, TheArrowKeysMoveThePointer) {
  Open();
  MoveTo(100, 100);
  Send(WM_KEYDOWN, VK_RIGHT);
  Send(WM_KEYDOWN, VK_DOWN);
  Send(WM_KEYDOWN, VK_DOWN);
  Send(WM_KEYDOWN, VK_LEFT);
  Send(WM_KEYDOWN, VK_LEFT);
  Send(WM_KEYDOWN, VK_UP);
  POINT pointer{};
  GetCursorPos(&pointer);
  EXPECT_EQ(pointer.x, 99);
  EXPECT_EQ(pointer.y, 101);
  // A move that the keys made, coming back late, does not take the pointer back.
  Send(WM_MOUSEMOVE, 0, At(100, 100));
  Send(WM_KEYDOWN, VK_RETURN);
  Send(WM_KEYDOWN, VK_RETURN);
  EXPECT_TRUE(Done());
  EXPECT_EQ(overlay_->Taken(), kWindowFrame);
}

TEST_F(RegionOverlayOnScreen, ShowsTheSelectionUndimmedInAFrameAndTheRestDimmed) {
  Open();
  EXPECT_EQ(WindowText(overlay_->handle()), English(TextId::RegionHint));
  RECT place{};
  GetWindowRect(overlay_->handle(), &place);
  EXPECT_EQ((ScreenRect{place.left, place.top, place.right, place.bottom}), kArea);
  EXPECT_TRUE(GetWindowLongW(overlay_->handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);

  MoveTo(300, 250);  // over the bare desktop: the whole monitor is what a click takes
  ASSERT_TRUE(WaitFor([] { return ScreenPixel(150, 120) == kPictured; }));
  Send(WM_LBUTTONDOWN, MK_LBUTTON, At(100, 100));
  MoveTo(200, 150);
  UpdateWindow(overlay_->handle());
  const COLORREF frame = GetSysColor(COLOR_HIGHLIGHT);
  const struct {
    const char* where;
    POINT at;
    COLORREF colour;
  } cases[] = {
      {"inside", {150, 120}, kPictured},         {"its first pixel", {100, 100}, kPictured},
      {"its last pixel", {200, 150}, kPictured}, {"left of it", {20, 120}, kDimmed},
      {"far below", {300, 280}, kDimmed},        {"the frame on the left", {99, 120}, frame},
      {"the frame below", {150, 151}, frame},
  };
  ASSERT_TRUE(WaitFor([] { return ScreenPixel(20, 120) == kDimmed; }));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    EXPECT_EQ(ScreenPixel(c.at.x, c.at.y), c.colour);
  }
  // The size label lies below the selection, in the tooltip colours.
  bool label = false;
  for (int y = 152; y < 190 && !label; ++y) label = ScreenPixel(110, y) == GetSysColor(COLOR_INFOBK);
  EXPECT_TRUE(label);
  Send(WM_KEYDOWN, VK_ESCAPE);
  EXPECT_TRUE(Done());
}
