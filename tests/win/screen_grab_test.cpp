// Screen and window grabs against the real display (run on a virtual one).
#include "services/capture/screen_grab.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "base/owners.h"
#include "tests/win/test_owners.h"
#include "tests/win/test_window.h"

namespace {

constexpr const char* kTestClass = "VorlaneGrabTestWindow";
constexpr COLORREF kPaintColour = RGB(30, 160, 90);
constexpr auto kPollLimit = std::chrono::seconds(20);
constexpr DWORD kPollStepMs = 20;

template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit = kPollLimit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(kPollStepMs);
  }
  return true;
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  return {info.bmWidth, info.bmHeight};
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  owners::MemoryDc dc(CreateCompatibleDC(nullptr));
  owners::Selection selected(dc.get(), bitmap);
  return GetPixel(dc.get(), x, y);
}

COLORREF ScreenPixel(int x, int y) {
  const owners::WindowDc screen(nullptr, GetDC(nullptr));
  return GetPixel(screen.get(), x, y);
}

class Grab : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { background_.reset(CreateSolidBrush(kPaintColour)); }
  static void TearDownTestSuite() {
    UnregisterClassA(kTestClass, GetModuleHandleA(nullptr));
    background_.reset();
  }
  void SetUp() override { startCount_ = owners::liveCount; }

  static owners::Window MakeWindow(const std::string& text, DWORD style, int x, int y, int width, int height) {
    owners::Window window(test_window::Make({.className = kTestClass,
                                             .style = style,
                                             .place = {x, y, width, height},
                                             .title = text.c_str(),
                                             .background = background_.get()}));
    EXPECT_TRUE(window) << "no window: is there a display?";
    return window;
  }

  // Shown, painted and in the foreground, so that the screen shows it.
  static void BringToFront(HWND window) {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    UpdateWindow(window);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }));
  }

  int startCount_ = 0;
  static inline owners::Brush background_;
};

}  // namespace

// On the one display of the tests every choice is that display; a desk of
// several is the end-to-end tests' and the unit tests'.
TEST_F(Grab, EntireScreenHasTheDisplaySizeAndNoTitleWhicheverScreenIsChosen) {
  EXPECT_EQ(Monitors(),
            (std::vector<ScreenRect>{{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}}));
  for (int32_t captureScreen : {0, 1, 2, 9}) {
    SCOPED_TRACE(captureScreen);
    const Shot shot = GrabEntireScreen(captureScreen);
    ASSERT_TRUE(shot.bitmap);
    const SIZE size = BitmapSize(shot.bitmap.get());
    EXPECT_EQ(size.cx, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(size.cy, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(shot.title, "");
  }
  EXPECT_EQ(owners::liveCount, startCount_);
}

TEST_F(Grab, ActiveWindowGivesItsFrameSizeItsPixelsAndItsCaption) {
  constexpr int kLeft = 120, kTop = 90, kWidth = 640, kHeight = 480;
  {
    const owners::Window window = MakeWindow("Vorlane grab test", WS_OVERLAPPEDWINDOW, kLeft, kTop, kWidth, kHeight);
    ASSERT_TRUE(window);
    BringToFront(window.get());
    RECT area{};
    GetWindowRect(window.get(), &area);
    const int centreX = (area.left + area.right) / 2;
    const int centreY = (area.top + area.bottom) / 2;
    ASSERT_TRUE(WaitUntil([&] { return ScreenPixel(centreX, centreY) == kPaintColour; }));

    const std::optional<Shot> shot = GrabActiveWindow();
    ASSERT_TRUE(shot.has_value());
    const SIZE size = BitmapSize(shot->bitmap.get());
    EXPECT_EQ(size.cx, kWidth);
    EXPECT_EQ(size.cy, kHeight);
    EXPECT_EQ(shot->title, "Vorlane grab test");
    EXPECT_EQ(PixelOf(shot->bitmap.get(), centreX - area.left, centreY - area.top), kPaintColour);
  }
  EXPECT_EQ(owners::liveCount, startCount_);
}

TEST_F(Grab, TitlesAreCutAfter1024Characters) {
  const std::string longest(1024, 'a');
  const struct {
    std::string text;
    std::string expected;
  } cases[] = {
      {"", ""},
      {"Caption", "Caption"},
      {longest, longest},
      {longest + "b", longest},
      {std::string(1500, 'x') + "tail", std::string(1024, 'x')},
  };
  for (const auto& example : cases) {
    const owners::Window window = MakeWindow(example.text, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100);
    ASSERT_TRUE(window);
    EXPECT_EQ(GetWindowTitle(window.get()), example.expected) << "text of " << example.text.size() << " characters";
  }
}

TEST_F(Grab, AWindowThatDoesNotAnswerGivesAnEmptyTitleInsteadOfStalling) {
  HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const owners::KernelHandle createdOwner(created);
  const owners::KernelHandle releaseOwner(release);
  HWND busy = nullptr;
  // The window's thread stops answering messages until it is released.
  std::thread owner([&] {
    owners::Window window = MakeWindow("Busy", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100);
    busy = window.get();
    SetEvent(created);
    WaitForSingleObject(release, INFINITE);
  });
  WaitForSingleObject(created, INFINITE);

  const auto start = std::chrono::steady_clock::now();
  const std::string title = GetWindowTitle(busy);
  const auto waited = std::chrono::steady_clock::now() - start;
  SetEvent(release);
  owner.join();

  EXPECT_EQ(title, "");
  EXPECT_LT(waited, std::chrono::seconds(5));
}

TEST_F(Grab, AnAreaNoBitmapCanHoldFailsWithAClearErrorAndReleasesTheScreen) {
  {
    const owners::Window window = MakeWindow("Huge", WS_POPUP, 0, 0, 30000, 30000);
    ASSERT_TRUE(window);
    BringToFront(window.get());
    RECT area{};
    GetWindowRect(window.get(), &area);
    if (area.right - area.left < 30000) GTEST_SKIP() << "the system limits window sizes";
    try {
      GrabActiveWindow();
      FAIL() << "a 30000 x 30000 shot was made";
    } catch (const std::runtime_error& error) {
      EXPECT_NE(std::string(error.what()).find("30000 x 30000"), std::string::npos) << error.what();
    }
  }
  EXPECT_EQ(owners::liveCount, startCount_);
}

TEST_F(Grab, NoForegroundWindowMeansNoShot) {
  {
    const owners::Window window = MakeWindow("Leaving", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100);
    ASSERT_TRUE(window);
    BringToFront(window.get());
  }
  if (!WaitUntil([] { return GetForegroundWindow() == nullptr; }, std::chrono::seconds(2))) {
    GTEST_SKIP() << "another window took the foreground";
  }
  EXPECT_FALSE(GrabActiveWindow().has_value());
  EXPECT_EQ(owners::liveCount, startCount_);
}
