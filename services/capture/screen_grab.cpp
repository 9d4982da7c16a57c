#include "services/capture/screen_grab.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/system_text.h"
#include "core/languages/localised_error.h"

namespace {

constexpr int kTitleBufferLength = 1025;  // 1024 UTF-16 units and the terminating zero
constexpr wchar_t kHighSurrogateFirst = 0xD800;
constexpr wchar_t kHighSurrogateLast = 0xDBFF;
constexpr UINT kTitleTimeoutMs = 1000;
constexpr double kUsualPixelsPerInch = 96.0;
constexpr WORD kShotBitsPerPixel = 32;
// GDI counts a bitmap's bytes in a signed 32-bit integer: a screen-compatible
// bitmap larger than this cannot be made, and a section that large is refused
// in the same way.
constexpr int64_t kLargestShotBytes = INT32_MAX;

// The desktop's device context: screen coordinates, origin at the top left
// of the primary display. Taken anew for every grab.
owners::WindowDc DesktopDc() {
  const HWND desktop = GetDesktopWindow();
  return {desktop, GetWindowDC(desktop)};
}

void RequireDc(const owners::WindowDc& screen) {
  if (!screen.get()) throw LocalisedError(TextId::ScreenNotRead);
}

// A device-independent bitmap of 32 bits a pixel, top row first. A bitmap
// compatible with the screen would do as well, but under Wine the memory of
// one that size stays with the process after a shot or two (8 MB for a
// 1920x1080 screen); a section's goes back when it is deleted.
owners::Bitmap NewBitmap(HDC screen, int width, int height) {
  owners::Bitmap bitmap;
  if (int64_t{width} * height * (kShotBitsPerPixel / 8) <= kLargestShotBytes) {
    BITMAPINFO format{};
    format.bmiHeader = {sizeof format.bmiHeader, width, -height, 1, kShotBitsPerPixel, BI_RGB, 0, 0, 0, 0, 0};
    void* pixels = nullptr;
    bitmap.reset(CreateDIBSection(screen, &format, DIB_RGB_COLORS, &pixels, nullptr, 0));
  }
  if (!bitmap) {
    throw LocalisedError(TextId::ShotBitmapNotMade,
                         {{"%WIDTH%", std::to_string(width)}, {"%HEIGHT%", std::to_string(height)}});
  }
  return bitmap;
}

owners::MemoryDc NewDc(HDC screen) {
  owners::MemoryDc dc(CreateCompatibleDC(screen));
  if (!dc) throw LocalisedError(TextId::ShotDeviceContextNotMade);
  return dc;
}

owners::Bitmap CopyScreenArea(HDC screen, int left, int top, int width, int height) {
  owners::Bitmap bitmap = NewBitmap(screen, width, height);
  owners::MemoryDc target = NewDc(screen);
  owners::Selection selected(target.get(), bitmap.get());
  StretchBlt(target.get(), 0, 0, width, height, screen, left, top, width, height, SRCCOPY);
  return bitmap;
}

}  // namespace

std::vector<ScreenRect> Monitors() {
  std::vector<ScreenRect> monitors;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, RECT*, LPARAM list) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (!GetMonitorInfoW(monitor, &info)) return TRUE;
        auto& found = *reinterpret_cast<std::vector<ScreenRect>*>(list);
        const RECT& area = info.rcMonitor;
        const ScreenRect rect{area.left, area.top, area.right, area.bottom};
        if (info.dwFlags & MONITORINFOF_PRIMARY) {
          found.insert(found.begin(), rect);
        } else {
          found.push_back(rect);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&monitors));
  // A system that lists no monitor still has its primary screen.
  if (monitors.empty()) monitors.push_back({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
  return monitors;
}

Shot GrabEntireScreen(int32_t captureScreen) {
  const owners::WindowDc screen = DesktopDc();
  RequireDc(screen);
  const std::vector<ScreenRect> monitors = Monitors();
  POINT pointer{};
  GetCursorPos(&pointer);
  const ScreenRect area = ChooseScreenArea(captureScreen, monitors, {pointer.x, pointer.y});
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (monitors.size() == 1 || static_cast<CaptureScreen>(captureScreen) != CaptureScreen::All) {
    return Shot{CopyScreenArea(screen.get(), area.left, area.top, width, height), {}};
  }
  // Every monitor where it lies; the gaps between monitors of different
  // sizes show nothing of the desktop.
  owners::Bitmap bitmap = NewBitmap(screen.get(), width, height);
  owners::MemoryDc target = NewDc(screen.get());
  owners::Selection selected(target.get(), bitmap.get());
  const RECT whole{0, 0, width, height};
  FillRect(target.get(), &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  for (const ScreenRect& m : monitors) {
    BitBlt(target.get(), m.left - area.left, m.top - area.top, m.right - m.left, m.bottom - m.top, screen.get(), m.left,
           m.top, SRCCOPY);
  }
  return Shot{std::move(bitmap), {}};
}

std::optional<Shot> GrabActiveWindow() {
  const owners::WindowDc screen = DesktopDc();
  RequireDc(screen);
  const HWND window = GetForegroundWindow();
  if (!window) return std::nullopt;
  std::string title = GetWindowTitle(window);
  // A window closed meanwhile has no rectangle, and one without area would
  // give a bitmap of no pixels that the fit rule blows up into a black page.
  RECT area{};
  if (!GetWindowRect(window, &area) || area.right <= area.left || area.bottom <= area.top) return std::nullopt;
  return Shot{CopyScreenArea(screen.get(), area.left, area.top, area.right - area.left, area.bottom - area.top),
              std::move(title)};
}

std::string GetWindowTitle(HWND window) {
  std::wstring text(kTitleBufferLength, L'\0');
  DWORD_PTR ignored = 0;
  // A hung or busy program must not stall the shot: give up after a second.
  if (!SendMessageTimeoutW(window, WM_GETTEXT, kTitleBufferLength, reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kTitleTimeoutMs, &ignored)) {
    return {};
  }
  text.resize(std::min(text.find(L'\0'), static_cast<size_t>(kTitleBufferLength - 1)));
  // A character cut in half at the limit is left out, not shown as a broken one.
  if (!text.empty() && text.back() >= kHighSurrogateFirst && text.back() <= kHighSurrogateLast) text.pop_back();
  return Narrow(text);
}

double ScreenPixelsPerInch() {
  const owners::WindowDc screen(nullptr, GetDC(nullptr));
  const int pixelsPerInch = GetDeviceCaps(screen.get(), LOGPIXELSY);
  return pixelsPerInch > 0 ? pixelsPerInch : kUsualPixelsPerInch;
}
