#include "ui/capture/region_overlay.h"

#include <windowsx.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/dpi.h"
#include "base/system_text.h"
#include "core/languages/localised_error.h"

namespace {

// In pixels at 96 dpi.
constexpr int kFrameWidth = 2;    // around what is shown undimmed, outside it
constexpr int kLabelPadding = 4;  // around the size text
constexpr int kLabelGap = 6;      // between the label and what it measures
constexpr uint32_t kHalfOfEachChannel = 0x007F7F7F;

struct ArrowKey {
  WPARAM key;
  int across, down;
};
constexpr ArrowKey kArrowKeys[] = {{VK_LEFT, -1, 0}, {VK_RIGHT, 1, 0}, {VK_UP, 0, -1}, {VK_DOWN, 0, 1}};

// The frozen picture at half its brightness, as a DIB whose pixels can be
// halved in place.
owners::Bitmap DimmedCopy(HBITMAP picture, const ScreenRect& area) {
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = area.Width();
  format.bmiHeader.biHeight = -area.Height();  // top-down
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  owners::Bitmap dimmed(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  const owners::MemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dimmed || !dc ||
      GetDIBits(dc.get(), picture, 0, static_cast<UINT>(area.Height()), bits, &format, DIB_RGB_COLORS) == 0) {
    throw LocalisedError(TextId::ShotBitmapNotMade,
                         {{"%WIDTH%", std::to_string(area.Width())}, {"%HEIGHT%", std::to_string(area.Height())}});
  }
  auto* pixels = static_cast<uint32_t*>(bits);
  const size_t count = static_cast<size_t>(area.Width()) * static_cast<size_t>(area.Height());
  for (size_t i = 0; i < count; ++i) pixels[i] = (pixels[i] >> 1) & kHalfOfEachChannel;
  return dimmed;
}

// What a click can take: the windows frontmost first, then the monitors
// for a click on the bare desktop.
std::vector<ScreenRect> ClickTargets(const FrozenScreens& frozen) {
  std::vector<ScreenRect> targets;
  for (const WindowFrame& each : frozen.windows) targets.push_back(each.frame);
  targets.insert(targets.end(), frozen.monitors.begin(), frozen.monitors.end());
  return targets;
}

ScreenPoint PointerNow() {
  POINT pointer{};
  GetCursorPos(&pointer);
  return {pointer.x, pointer.y};
}

RECT Widened(RECT rect, int by) {
  InflateRect(&rect, by, by);
  return rect;
}

}  // namespace

RegionOverlay::RegionOverlay(FrozenScreens frozen, const Texts& texts, HWND owner, UINT doneMessage)
    : frozen_(std::move(frozen)),
      dimmed_(DimmedCopy(frozen_.picture.get(), frozen_.area)),
      selection_(frozen_.area, ClickTargets(frozen_), {GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG)},
                 PointerNow()),
      sizeFormat_(texts[TextId::RegionSize]),
      owner_(owner),
      doneMessage_(doneMessage) {
  RegisterWindowClass(GetModuleHandleW(nullptr), kRegionOverlayClass);
  // No taskbar button: the window is there only while the user chooses.
  Create(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kRegionOverlayClass, texts[TextId::RegionHint], WS_POPUP, frozen_.area.left,
         frozen_.area.top, frozen_.area.Width(), frozen_.area.Height(), nullptr);
  dpi_ = WindowDpi(handle());  // NOLINT(cppcoreguidelines-prefer-member-initializer): of the window made above
  font_ = MessageFont(dpi_);
  shown_ = selection_.Shown();
  ShowWindow(handle(), SW_SHOW);
  // The hot key that opened the window lets its program take the foreground.
  SetForegroundWindow(handle());
  UpdateWindow(handle());
}

void RegionOverlay::TakeKeyboard() {
  if (finished_) return;
  SetForegroundWindow(handle());
  SetFocus(handle());
}

std::optional<ScreenRect> RegionOverlay::Taken() const {
  if (selection_.state() != RegionSelection::State::Taken) return std::nullopt;
  return selection_.Taken();
}

LRESULT RegionOverlay::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:  // the picture covers all of it
      return 1;
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_CROSS));  // a shared cursor: not owned
      return TRUE;
    case WM_MOUSEMOVE:
      FollowPointer();
      return 0;
    case WM_LBUTTONDOWN:
      Press(lParam);
      return 0;
    case WM_LBUTTONUP:
      Release(lParam);
      return 0;
    case WM_RBUTTONUP:  // not on the press: its release would reach the window beneath
      selection_.Cancel();
      Follow();
      return 0;
    case WM_KEYDOWN:
      PressKey(wParam);
      return 0;
    case WM_DISPLAYCHANGE:  // the frozen picture no longer shows the screens
    case WM_CLOSE:          // Alt+F4 as Esc; the owner ends the window
      selection_.Cancel();
      Follow();
      return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

// Where the pointer is now rather than where the message says it was: the
// moves that the arrow keys make come back as messages, and one coming back
// after the next key would take the pointer back.
void RegionOverlay::FollowPointer() {
  selection_.Move(PointerNow());
  Follow();
}

void RegionOverlay::Press(LPARAM place) {
  // Kept while the button is down, so that a drag beyond the window's edge still counts.
  SetCapture(handle());
  selection_.Press(OnScreen(place));
  Follow();
}

void RegionOverlay::Release(LPARAM place) {
  if (GetCapture() == handle()) ReleaseCapture();
  selection_.Release(OnScreen(place));
  Follow();
}

void RegionOverlay::PressKey(WPARAM key) {
  if (key == VK_ESCAPE) selection_.Cancel();
  if (key == VK_RETURN) selection_.Enter();
  for (const ArrowKey& arrow : kArrowKeys) {
    if (arrow.key != key) continue;
    const int step = GetKeyState(VK_SHIFT) < 0 ? kPointerLongStep : kPointerStep;
    const ScreenPoint pointer = selection_.Nudge(arrow.across * step, arrow.down * step);
    SetCursorPos(pointer.x, pointer.y);
  }
  Follow();
}

void RegionOverlay::Follow() {
  if (finished_) return;
  const std::optional<ScreenRect> shown = selection_.Shown();
  if (shown != shown_) {
    const int frame = Scale(kFrameWidth, dpi_);
    for (const std::optional<ScreenRect>& each : {shown_, shown}) {
      if (!each) continue;
      const RECT framed = Widened(InClient(*each), frame);
      const RECT label = LabelPlace(*each);
      InvalidateRect(handle(), &framed, FALSE);
      InvalidateRect(handle(), &label, FALSE);
    }
    shown_ = shown;
  }
  if (selection_.state() != RegionSelection::State::Choosing) Finish();
}

// The window stays until its owner ends it: a page from the frozen picture
// needs no screen and goes out first, for ending a window that covers the
// screens can wait for the window manager (X11 under Wine waits up to two
// seconds when none runs). It only stops being topmost, so that whatever
// opens meanwhile, such as a printer's own dialog, shows in front of it.
void RegionOverlay::Finish() {
  finished_ = true;
  if (GetCapture() == handle()) ReleaseCapture();
  SetWindowPos(handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  PostMessageW(owner_, doneMessage_, 0, 0);
}

void RegionOverlay::Paint() {
  const owners::PaintDc paint(handle());
  RECT dirty{};
  if (GetClipBox(paint.get(), &dirty) == NULLREGION) return;
  const int width = dirty.right - dirty.left;
  const int height = dirty.bottom - dirty.top;
  // Drawn off the screen first, so that nothing flickers while the pointer moves.
  const owners::MemoryDc back(CreateCompatibleDC(paint.get()));
  const owners::Bitmap backPicture(CreateCompatibleBitmap(paint.get(), width, height));
  const owners::MemoryDc source(CreateCompatibleDC(paint.get()));
  if (!back || !backPicture || !source) return;
  const owners::Selection backSelected(back.get(), backPicture.get());
  SetViewportOrgEx(back.get(), -dirty.left, -dirty.top, nullptr);
  {
    const owners::Selection dimmed(source.get(), dimmed_.get());
    BitBlt(back.get(), dirty.left, dirty.top, width, height, source.get(), dirty.left, dirty.top, SRCCOPY);
  }
  if (shown_) {
    const RECT shown = InClient(*shown_);
    {
      const owners::Selection picture(source.get(), frozen_.picture.get());
      BitBlt(back.get(), shown.left, shown.top, shown.right - shown.left, shown.bottom - shown.top, source.get(),
             shown.left, shown.top, SRCCOPY);
    }
    const HBRUSH highlight = GetSysColorBrush(COLOR_HIGHLIGHT);  // the system's: not owned
    for (int line = 1; line <= Scale(kFrameWidth, dpi_); ++line) {
      const RECT framed = Widened(shown, line);
      FrameRect(back.get(), &framed, highlight);
    }
    RECT label = LabelPlace(*shown_);
    FillRect(back.get(), &label, GetSysColorBrush(COLOR_INFOBK));
    const owners::Selection font(back.get(), font_.get());
    SetTextColor(back.get(), GetSysColor(COLOR_INFOTEXT));
    SetBkMode(back.get(), TRANSPARENT);
    const std::wstring text = Wide(SizeText(*shown_));
    DrawTextW(back.get(), text.c_str(), static_cast<int>(text.size()), &label,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  BitBlt(paint.get(), dirty.left, dirty.top, width, height, back.get(), dirty.left, dirty.top, SRCCOPY);
}

ScreenPoint RegionOverlay::OnScreen(LPARAM place) const {
  // Relative to the window, which lies on the virtual screen's corner; a
  // captured drag beyond the window's edge gives negative numbers.
  return {frozen_.area.left + GET_X_LPARAM(place), frozen_.area.top + GET_Y_LPARAM(place)};
}

RECT RegionOverlay::InClient(const ScreenRect& rect) const {
  return {rect.left - frozen_.area.left, rect.top - frozen_.area.top, rect.right - frozen_.area.left,
          rect.bottom - frozen_.area.top};
}

std::string RegionOverlay::SizeText(const ScreenRect& rect) const {
  return FillFields(sizeFormat_,
                    {{"%WIDTH%", std::to_string(rect.Width())}, {"%HEIGHT%", std::to_string(rect.Height())}});
}

// In client coordinates, measured in the window's font.
RECT RegionOverlay::LabelPlace(const ScreenRect& shown) const {
  const std::wstring text = Wide(SizeText(shown));
  const owners::WindowDc dc(handle(), GetDC(handle()));
  const owners::Selection font(dc.get(), font_.get());
  RECT measured{};
  DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &measured,
            DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  const int padding = Scale(kLabelPadding, dpi_);
  // The gap leaves room for the frame too.
  const ScreenRect label =
      PlaceLabel(shown, measured.right - measured.left + 2 * padding, measured.bottom - measured.top + 2 * padding,
                 Scale(kLabelGap, dpi_), frozen_.area);
  return InClient(label);
}
