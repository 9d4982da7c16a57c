// The about window and its picture: geometry, what a paint puts where, which
// clicks close it, and the modal showing.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "base/owners.h"
#include "info_paths.h"
#include "resources/resource.h"
#include "tests/win/test_owners.h"
#include "tests/win/test_window.h"
#include "ui/information/about_window.h"

namespace {

constexpr uint32_t kSentinel = 0x00FF00FF;  // magenta, absent from the picture
constexpr uint32_t kWhite = 0x00FFFFFF;

// A top-down 32-bit surface to paint on, with its pixels at hand.
class Surface {
 public:
  Surface(int width, int height, uint32_t fill) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels_ = static_cast<uint32_t*>(bits);
    dc_.reset(CreateCompatibleDC(nullptr));
    selection_.emplace(dc_.get(), bitmap_.get());
    for (int i = 0; i < width * height; ++i) pixels_[i] = fill;
  }
  HDC dc() const { return dc_.get(); }
  uint32_t at(int x, int y) const {
    GdiFlush();
    return pixels_[y * width_ + x] & 0x00FFFFFF;
  }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_;
  int height_;
  owners::Bitmap bitmap_;
  owners::MemoryDc dc_;
  std::optional<owners::Selection> selection_;
  uint32_t* pixels_ = nullptr;
};

// The program's executable, loaded for its resources only.
test_owners::Module ProgramResources() {
  return test_owners::Module(LoadLibraryExA(info_paths::Program().c_str(), nullptr,
                                            LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE));
}

struct Bytes {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

Bytes PictureResource(HMODULE module) {
  const HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(IDR_ABOUT_PICTURE), RT_RCDATA);
  if (!resource) return {};
  return {static_cast<const uint8_t*>(LockResource(LoadResource(module, resource))), SizeofResource(module, resource)};
}

int Channel(uint32_t colour, int shift) { return (colour >> shift) & 0xFF; }

class AboutPicture : public ::testing::Test {
 protected:
  owners::GdiplusSession gdiplus_;
};

TEST_F(AboutPicture, IsABaselineJfifOf500By350) {
  const test_owners::Module program = ProgramResources();
  ASSERT_TRUE(program) << info_paths::Program();
  const Bytes picture = PictureResource(program.get());
  ASSERT_GT(picture.size, 4u);
  ASSERT_EQ(picture.data[0], 0xFF);
  ASSERT_EQ(picture.data[1], 0xD8);  // start of image
  bool jfif = false;
  int frame = 0, width = 0, height = 0;
  for (size_t at = 2; at + 4 <= picture.size && picture.data[at] == 0xFF && !frame;) {
    const int marker = picture.data[at + 1];
    const size_t length = picture.data[at + 2] << 8 | picture.data[at + 3];
    if (marker == 0xE0 && length >= 7)
      jfif = std::string(reinterpret_cast<const char*>(picture.data + at + 4), 5) == std::string("JFIF\0", 5);
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      frame = marker;
      height = picture.data[at + 5] << 8 | picture.data[at + 6];
      width = picture.data[at + 7] << 8 | picture.data[at + 8];
    }
    at += 2 + length;
  }
  EXPECT_TRUE(jfif);
  EXPECT_EQ(frame, 0xC0) << "not a baseline frame";
  EXPECT_EQ(width, kAboutWidth);
  EXPECT_EQ(height, kAboutHeight);
}

TEST_F(AboutPicture, IsDrawnOnePixelSmallerThanItIs) {
  const test_owners::Module program = ProgramResources();
  ASSERT_TRUE(program);
  Surface surface(kAboutWidth, kAboutHeight, kSentinel);
  const int live = owners::liveCount;
  PaintAboutPicture(surface.dc(), program.get(), {kAboutWidth - 1, kAboutHeight - 1});
  EXPECT_EQ(owners::liveCount, live);

  // The last column and row stay as they were; everything inside is covered.
  for (int y = 0; y < kAboutHeight; ++y) EXPECT_EQ(surface.at(kAboutWidth - 1, y), kSentinel) << y;
  for (int x = 0; x < kAboutWidth; ++x) EXPECT_EQ(surface.at(x, kAboutHeight - 1), kSentinel) << x;
  int uncovered = 0;
  for (int y = 0; y < kAboutHeight - 1; ++y)
    for (int x = 0; x < kAboutWidth - 1; ++x) uncovered += surface.at(x, y) == kSentinel;
  EXPECT_EQ(uncovered, 0);

  // What is drawn is the resource's picture: compare with its own decoding,
  // away from the edges where the scaling blends with the surroundings.
  const Bytes bytes = PictureResource(program.get());
  owners::Stream stream(SHCreateMemStream(bytes.data, static_cast<UINT>(bytes.size)));
  Gdiplus::GpBitmap* decoded = nullptr;
  ASSERT_EQ(owners::gp::GdipCreateBitmapFromStream(stream.get(), &decoded), Gdiplus::Ok);
  owners::GpBitmap reference(decoded);
  int distant = 0, samples = 0;
  for (int y = 4; y < kAboutHeight - 5; y += 7) {
    for (int x = 4; x < kAboutWidth - 5; x += 7) {
      // The drawn pixel blends pixels of about the same place of the picture,
      // up to a pixel off where the one-pixel reduction has accumulated: each
      // channel lies within the range of that neighbourhood.
      const int pictureX = x * kAboutWidth / (kAboutWidth - 1), pictureY = y * kAboutHeight / (kAboutHeight - 1);
      const uint32_t drawn = surface.at(x, y);
      int outside = 0;
      for (int shift : {0, 8, 16}) {
        int low = 255, high = 0;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            Gdiplus::ARGB colour = 0;
            owners::gp::GdipBitmapGetPixel(reference.get(), pictureX + dx, pictureY + dy, &colour);
            low = std::min(low, Channel(colour, shift));
            high = std::max(high, Channel(colour, shift));
          }
        }
        const int value = Channel(drawn, shift);
        outside = std::max({outside, low - value, value - high});
      }
      distant += outside > 16;
      ++samples;
    }
  }
  EXPECT_LT(distant, samples / 100) << "of " << samples << " samples";
}

TEST_F(AboutPicture, AModuleWithoutAUsablePictureLeavesTheSurfaceAlone) {
  const test_owners::Module broken(LoadLibraryExA(info_paths::Fixture("fixture_no_version").c_str(), nullptr,
                                                  LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(broken);
  for (HMODULE module : {GetModuleHandleA(nullptr), broken.get()}) {
    Surface surface(kAboutWidth, kAboutHeight, kSentinel);
    const int live = owners::liveCount;
    PaintAboutPicture(surface.dc(), module, {kAboutWidth - 1, kAboutHeight - 1});
    EXPECT_EQ(owners::liveCount, live);
    int changed = 0;
    for (int y = 0; y < kAboutHeight; ++y)
      for (int x = 0; x < kAboutWidth; ++x) changed += surface.at(x, y) != kSentinel;
    EXPECT_EQ(changed, 0);
  }
}

// The about window of the test program, which has no picture: its paint then
// shows only the frame and the labels on whatever lies beneath.
class AboutWindowOnScreen : public ::testing::Test {
 protected:
  void SetUp() override { about_.emplace(GetModuleHandleA(nullptr)); }
  void TearDown() override { about_.reset(); }

  // The window's paint, onto a white surface.
  void Paint(const Surface& surface) {
    SendMessageA(about_->handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.dc()), PRF_CLIENT);
  }
  void Click(POINT down, POINT up) {
    SendMessageA(about_->handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    SendMessageA(about_->handle(), WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
  }

  owners::GdiplusSession gdiplus_;
  std::optional<::AboutWindow> about_;
};

struct Ink {
  int left = INT32_MAX;
  int right = -1;
  int pixels = 0;
};

// Where the non-white pixels of a band lie.
Ink InkIn(const Surface& surface, int left, int top, int right, int bottom) {
  Ink ink;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (surface.at(x, y) == kWhite) continue;
      ink.left = std::min(ink.left, x);
      ink.right = std::max(ink.right, x);
      ++ink.pixels;
    }
  }
  return ink;
}

TEST_F(AboutWindowOnScreen, IsABorderlessPopupOf500By350CentredOnTheScreen) {
  const HWND window = about_->handle();
  RECT client{}, frame{};
  GetClientRect(window, &client);
  GetWindowRect(window, &frame);
  EXPECT_EQ(client.right - client.left, kAboutWidth);
  EXPECT_EQ(client.bottom - client.top, kAboutHeight);
  EXPECT_EQ(frame.right - frame.left, kAboutWidth);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - kAboutWidth) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - kAboutHeight) / 2);
  const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_SYSMENU));
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(AboutWindowOnScreen, PaintDrawsTheBlackFrame) {
  const Surface surface(kAboutWidth, kAboutHeight, kWhite);
  Paint(surface);
  for (int x = 0; x < kAboutWidth; ++x) {
    EXPECT_EQ(surface.at(x, 0), 0u) << x;
    EXPECT_EQ(surface.at(x, kAboutHeight - 1), 0u) << x;
  }
  for (int y = 0; y < kAboutHeight; ++y) {
    EXPECT_EQ(surface.at(0, y), 0u) << y;
    EXPECT_EQ(surface.at(kAboutWidth - 1, y), 0u) << y;
  }
  EXPECT_EQ(surface.at(1, 1), kWhite);
  EXPECT_EQ(surface.at(kAboutWidth - 2, kAboutHeight - 2), kWhite);
}

TEST_F(AboutWindowOnScreen, VersionStandsRightAlignedAt249WhateverItsLength) {
  Ink inks[2];
  const char* captions[] = {"version 1.0", "version 12.345.6789.10"};
  for (int i = 0; i < 2; ++i) {
    about_->SetVersionCaption(captions[i]);
    EXPECT_EQ(about_->VersionCaption(), captions[i]);
    char name[256] = "";
    GetWindowTextA(about_->handle(), name, sizeof name);
    EXPECT_EQ(std::string(name), std::string("Vorlane ") + captions[i] + ", www.vorlane-print.com, www.telmaric-software.com")
        << "the labels read by a screen reader";
    const Surface surface(kAboutWidth, kAboutHeight, kWhite);
    Paint(surface);
    // The version label's band, from its top to above the address labels.
    inks[i] = InkIn(surface, 1, 200, kAboutWidth - 1, 300);
    EXPECT_GT(inks[i].pixels, 0) << captions[i];
    EXPECT_LE(inks[i].right, 248) << captions[i];
    EXPECT_GE(inks[i].right, 244) << captions[i];
    EXPECT_EQ(InkIn(surface, 1, 1, kAboutWidth - 1, 208).pixels, 0) << "ink above the version label's top";
  }
  EXPECT_LT(inks[1].left, inks[0].left - 30);
}

TEST_F(AboutWindowOnScreen, AddressesStandAtTheBottomCorners) {
  about_->SetVersionCaption("");
  const Surface surface(kAboutWidth, kAboutHeight, kWhite);
  Paint(surface);
  const int bandTop = 335;
  const Ink maker = InkIn(surface, 1, bandTop, kAboutWidth / 2, kAboutHeight - 1);
  const Ink home = InkIn(surface, kAboutWidth / 2, bandTop, kAboutWidth - 1, kAboutHeight - 1);
  EXPECT_GE(maker.left, 3);
  EXPECT_LE(maker.left, 5);
  EXPECT_GT(maker.right, maker.left + 60);
  // Ends at x 496; the last letter's ink may stand out of its cell a little,
  // but never reaches the frame.
  EXPECT_NEAR(home.right, 495, 3);
  EXPECT_LT(home.left, home.right - 60);
  EXPECT_EQ(InkIn(surface, 1, 1, kAboutWidth - 1, bandTop).pixels, 0);
}

// The window, its picture and its labels scale with the DPI it is told of,
// and come back with it; the labels keep their places on the picture.
TEST_F(AboutWindowOnScreen, LabelsSitWhereTheLayoutPutsThemAtEveryDpi) {
  about_->SetVersionCaption("version 1.2.3.4");
  using Id = ::AboutWindow::Label;
  const struct {
    int dpi;
    SIZE window;
    POINT version, home, maker;  // right-top, right-top, left-top
  } cases[] = {
      {144, {750, 525}, {374, 312}, {744, 503}, {5, 503}},
      {192, {1000, 700}, {498, 416}, {992, 670}, {6, 670}},
      {96, {500, 350}, {249, 208}, {496, 335}, {3, 335}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    RECT suggested{10, 20, 10 + c.window.cx, 20 + c.window.cy};
    SendMessageW(about_->handle(), WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT frame{};
    GetWindowRect(about_->handle(), &frame);
    EXPECT_EQ(frame.right - frame.left, c.window.cx);
    EXPECT_EQ(frame.bottom - frame.top, c.window.cy);
    EXPECT_EQ(frame.left, 10);
    const RECT version = about_->LabelRect(Id::Version);
    const RECT home = about_->LabelRect(Id::HomePage);
    const RECT maker = about_->LabelRect(Id::Maker);
    EXPECT_EQ(version.right, c.version.x);
    EXPECT_EQ(version.top, c.version.y);
    EXPECT_EQ(home.right, c.home.x);
    EXPECT_EQ(home.top, c.home.y);
    EXPECT_EQ(maker.left, c.maker.x);
    EXPECT_EQ(maker.top, c.maker.y);
    // The font grows with the DPI: the labels' text with it.
    for (const RECT& label : {version, home, maker}) {
      EXPECT_GT(label.right - label.left, 20 * c.dpi / 96);
      EXPECT_GT(label.bottom - label.top, 10 * c.dpi / 96);
    }
  }
}

TEST_F(AboutWindowOnScreen, AClickOnThePictureClosesAndOnALabelDoesNot) {
  about_->SetVersionCaption("version 1.2.3.4");
  using Id = ::AboutWindow::Label;
  for (Id id : {Id::Version, Id::HomePage, Id::Maker}) {
    const RECT label = about_->LabelRect(id);
    const POINT middle{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    Click(middle, middle);
    EXPECT_EQ(about_->ModalResult(), 0) << "label " << static_cast<int>(id);
  }
  // Pressed on a label and released on the picture, or the other way round: no click.
  const RECT label1 = about_->LabelRect(Id::Version);
  Click({label1.left + 2, label1.top + 2}, {100, 50});
  EXPECT_EQ(about_->ModalResult(), 0);
  Click({100, 50}, {label1.left + 2, label1.top + 2});
  EXPECT_EQ(about_->ModalResult(), 0);

  for (POINT point : {POINT{100, 50}, POINT{400, 300}, POINT{label1.right + 1, label1.top}, POINT{1, 1}}) {
    about_.emplace(GetModuleHandleA(nullptr));
    about_->SetVersionCaption("version 1.2.3.4");
    Click(point, point);
    EXPECT_EQ(about_->ModalResult(), 1) << point.x << "," << point.y;
  }
}

// Looks at the program while the about window is shown modally, then closes
// it the way a user does. A safety timer closes it too, so that a fault
// cannot hang the run.
struct ModalProbe {
  HWND owner = nullptr;
  ::AboutWindow* about = nullptr;
  bool looked = false;
  bool ownerEnabled = true;
  bool aboutVisible = false;
  bool secondShowReturned = false;
  bool timedOut = false;
};
ModalProbe* probe = nullptr;
constexpr UINT kLook = WM_APP + 1;
constexpr UINT kSafetyMilliseconds = 30000;

void PostClick(HWND window, int x, int y) {
  PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kLook && probe) {
    probe->looked = true;
    probe->ownerEnabled = IsWindowEnabled(probe->owner);
    probe->aboutVisible = IsWindowVisible(probe->about->handle());
    // About chosen again while it shows: no second loop.
    probe->about->ShowModal(probe->owner);
    probe->secondShowReturned = true;
    PostClick(probe->about->handle(), 100, 50);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void CALLBACK SafetyTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (!probe) return;
  probe->timedOut = true;
  PostClick(probe->about->handle(), 100, 50);
}

class AboutModal : public AboutWindowOnScreen {
 protected:
  void SetUp() override {
    AboutWindowOnScreen::SetUp();
    owner_.reset(test_window::Make({.className = "AboutTestOwner",
                                    .procedure = OwnerProc,
                                    .style = WS_OVERLAPPEDWINDOW,
                                    .place = {0, 0, 200, 100},
                                    .title = "owner"}));
    ASSERT_TRUE(owner_);
    probe_.owner = owner_.get();
    probe_.about = &*about_;
    probe = &probe_;
    timer_ = SetTimer(nullptr, 0, kSafetyMilliseconds, SafetyTimer);
  }
  void TearDown() override {
    KillTimer(nullptr, timer_);
    probe = nullptr;
    EXPECT_FALSE(probe_.timedOut) << "the modal showing did not end by itself";
    owner_.reset();
    AboutWindowOnScreen::TearDown();
  }

  owners::Window owner_;
  ModalProbe probe_;
  UINT_PTR timer_ = 0;
};

TEST_F(AboutModal, ShowsUntilClickedWithTheOwnerDisabled) {
  PostMessageA(owner_.get(), kLook, 0, 0);
  about_->ShowModal(owner_.get());
  ASSERT_TRUE(probe_.looked);
  EXPECT_FALSE(probe_.ownerEnabled);
  EXPECT_TRUE(probe_.aboutVisible);
  EXPECT_TRUE(probe_.secondShowReturned);
  EXPECT_EQ(about_->ModalResult(), 1);
  EXPECT_FALSE(IsWindowVisible(about_->handle()));
  EXPECT_TRUE(IsWindowEnabled(owner_.get()));

  // Shown again: the same window, open until the next click.
  probe_.looked = false;
  PostMessageA(owner_.get(), kLook, 0, 0);
  about_->ShowModal(owner_.get());
  EXPECT_TRUE(probe_.looked);
  EXPECT_TRUE(probe_.aboutVisible);
  EXPECT_FALSE(IsWindowVisible(about_->handle()));
}

// Each way of closing ends the showing like a click: the window is hidden,
// not destroyed, the owner takes input again, and About opens once more.
TEST_F(AboutModal, EveryWayOfClosingHidesTheWindowForTheNextShowing) {
  const struct {
    const char* name;
    UINT message;
    WPARAM wParam;
  } ways[] = {
      {"a request to close (Alt+F4)", WM_CLOSE, 0},
      {"the system menu's Close", WM_SYSCOMMAND, SC_CLOSE},
      {"Esc", WM_KEYDOWN, VK_ESCAPE},
      {"Enter", WM_KEYDOWN, VK_RETURN},
      {"Space", WM_KEYDOWN, VK_SPACE},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    PostMessageA(about_->handle(), way.message, way.wParam, 0);
    about_->ShowModal(owner_.get());
    EXPECT_EQ(about_->ModalResult(), 1);
    ASSERT_TRUE(IsWindow(about_->handle()));
    EXPECT_FALSE(IsWindowVisible(about_->handle()));
    EXPECT_TRUE(IsWindowEnabled(owner_.get()));
  }
  PostMessageA(about_->handle(), WM_KEYDOWN, 'A', 0);
  PostClick(about_->handle(), 100, 50);
  about_->ShowModal(owner_.get());
  EXPECT_EQ(about_->ModalResult(), 1) << "another key leaves it open for the click";
}

TEST_F(AboutModal, AnOwnerThatWasDisabledStaysDisabled) {
  EnableWindow(owner_.get(), FALSE);
  PostClick(about_->handle(), 100, 50);
  about_->ShowModal(owner_.get());
  EXPECT_FALSE(IsWindowEnabled(owner_.get()));
  EXPECT_FALSE(IsWindowVisible(about_->handle()));
}

TEST_F(AboutModal, AQuitEndsTheShowingAndIsHandedOn) {
  PostQuitMessage(7);
  about_->ShowModal(owner_.get());
  EXPECT_EQ(about_->ModalResult(), 0);
  EXPECT_FALSE(IsWindowVisible(about_->handle()));
  EXPECT_TRUE(IsWindowEnabled(owner_.get()));
  MSG message{};
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

TEST_F(AboutModal, EveryPaintReleasesWhatItMade) {
  const int live = owners::liveCount;
  about_->SetVersionCaption("version 1.2.3.4");
  PostClick(about_->handle(), 100, 50);
  about_->ShowModal(owner_.get());
  {
    const Surface surface(kAboutWidth, kAboutHeight, kWhite);
    Paint(surface);
  }
  EXPECT_EQ(owners::liveCount, live);
}

}  // namespace
