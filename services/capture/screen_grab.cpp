#include "services/capture/screen_grab.h"

#include <dwmapi.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "base/system_text.h"
#include "core/capture/region_selection.h"
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

SYSTEMTIME LocalTimeNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now;
}

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

ScreenRect FromRect(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }


owners::Bitmap CopyMonitorsArea(HDC screen, ScreenRect area, std::span<const ScreenRect> monitors) {
  // Held by one monitor: a plain copy, with nothing to paint white first.
  for (const ScreenRect& m : monitors) {
    if (Overlap(area, m) == area) return CopyScreenArea(screen, area.left, area.top, area.Width(), area.Height());
  }
  owners::Bitmap bitmap = NewBitmap(screen, area.Width(), area.Height());
  owners::MemoryDc target = NewDc(screen);
  owners::Selection selected(target.get(), bitmap.get());
  const RECT whole{0, 0, area.Width(), area.Height()};
  FillRect(target.get(), &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  for (const ScreenRect& m : monitors) {
    const ScreenRect part = Overlap(area, m);
    if (part.Empty()) continue;
    BitBlt(target.get(), part.left - area.left, part.top - area.top, part.Width(), part.Height(), screen, part.left,
           part.top, SRCCOPY);
  }
  return bitmap;
}

void DrawPointerIfAsked(bool withPointer, HBITMAP shot, ScreenRect area) {
  if (!withPointer) return;
  if (const std::optional<PointerImage> pointer = CurrentPointer()) DrawPointer(shot, area, *pointer);
}

ScreenPoint CentreOf(const ScreenRect& area) { return {(area.left + area.right) / 2, (area.top + area.bottom) / 2}; }

// The frames of the windows that reach into the area, moved to its corner.
std::vector<ScreenRect> FramesIn(std::span<const WindowFrame> windows, ScreenRect area) {
  std::vector<ScreenRect> frames;
  for (const WindowFrame& each : windows) {
    if (Overlap(each.frame, area).Empty()) continue;
    const ScreenRect& f = each.frame;
    frames.push_back({f.left - area.left, f.top - area.top, f.right - area.left, f.bottom - area.top});
  }
  return frames;
}

// The window's DWM attribute; false where the system keeps none (no
// compositor, or Wine, which answers E_NOTIMPL).
template <typename Value>
bool WindowAttribute(HWND window, DWORD attribute, Value& value) {
  return SUCCEEDED(DwmGetWindowAttribute(window, attribute, &value, sizeof value));
}

bool Readable(HCURSOR image) {
  ICONINFO icon{};
  if (!GetIconInfo(image, &icon)) return false;
  // Copies made for the caller.
  const owners::Bitmap mask(icon.hbmMask);
  const owners::Bitmap colour(icon.hbmColor);
  return true;
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

Shot GrabEntireScreen(int32_t captureScreen, bool withPointer) {
  const owners::WindowDc screen = DesktopDc();
  RequireDc(screen);
  const std::vector<ScreenRect> monitors = Monitors();
  POINT pointer{};
  GetCursorPos(&pointer);
  const ScreenRect area = ChooseScreenArea(captureScreen, monitors, {pointer.x, pointer.y});
  // Every monitor where it lies; the gaps between monitors of different
  // sizes show nothing of the desktop.
  Shot shot{CopyMonitorsArea(screen.get(), area, monitors), {}, LocalTimeNow(), FramesIn(WindowsOnScreen(), area)};
  DrawPointerIfAsked(withPointer, shot.bitmap.get(), area);
  return shot;
}

std::optional<Shot> GrabActiveWindow(bool withPointer) {
  const owners::WindowDc screen = DesktopDc();
  RequireDc(screen);
  const HWND window = GetForegroundWindow();
  if (!window) return std::nullopt;
  std::string title = GetWindowTitle(window);
  // A window closed meanwhile has no rectangle, and one without area would
  // give a bitmap of no pixels that the fit rule blows up into a black page.
  const ScreenRect area = SeenFrame(window);
  if (area.Empty()) return std::nullopt;
  Shot shot{CopyScreenArea(screen.get(), area.left, area.top, area.Width(), area.Height()), std::move(title),
            LocalTimeNow(), FramesIn(WindowsOnScreen(), area)};
  DrawPointerIfAsked(withPointer, shot.bitmap.get(), area);
  return shot;
}

Shot GrabScreenArea(ScreenRect area, bool withPointer) {
  const owners::WindowDc screen = DesktopDc();
  RequireDc(screen);
  const std::vector<WindowFrame> windows = WindowsOnScreen();
  Shot shot{CopyMonitorsArea(screen.get(), area, Monitors()), TitleAt(windows, CentreOf(area)), LocalTimeNow(),
            FramesIn(windows, area)};
  DrawPointerIfAsked(withPointer, shot.bitmap.get(), area);
  return shot;
}

owners::Bitmap CopyMonitorsArea(ScreenRect area, std::span<const ScreenRect> monitors) {
  const owners::WindowDc screen = DesktopDc();
  RequireDc(screen);
  return CopyMonitorsArea(screen.get(), area, monitors);
}

void AwaitScreensShown() {
  // Fails harmlessly where there is no composition to wait for.
  (void)DwmFlush();
}

FrozenScreens FreezeScreens() {
  std::vector<ScreenRect> monitors = Monitors();
  const ScreenRect area = ChooseScreenArea(static_cast<int32_t>(CaptureScreen::All), monitors, {});
  const SYSTEMTIME taken = LocalTimeNow();
  owners::Bitmap picture = CopyMonitorsArea(area, monitors);
  return {area, std::move(picture), std::move(monitors), WindowsOnScreen(), taken};
}

Shot CutArea(const FrozenScreens& frozen, ScreenRect area) {
  const owners::WindowDc screen = DesktopDc();
  RequireDc(screen);
  owners::Bitmap bitmap = NewBitmap(screen.get(), area.Width(), area.Height());
  {
    const owners::MemoryDc source = NewDc(screen.get());
    const owners::Selection pictured(source.get(), frozen.picture.get());
    const owners::MemoryDc target = NewDc(screen.get());
    const owners::Selection selected(target.get(), bitmap.get());
    BitBlt(target.get(), 0, 0, area.Width(), area.Height(), source.get(), area.left - frozen.area.left,
           area.top - frozen.area.top, SRCCOPY);
  }
  return Shot{std::move(bitmap), TitleAt(frozen.windows, CentreOf(area)), frozen.taken, FramesIn(frozen.windows, area)};
}

ScreenRect SeenFrame(HWND window) {
  RECT windowRect{};
  if (!GetWindowRect(window, &windowRect)) return {};
  RECT bounds{};
  const bool told = WindowAttribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, bounds);
  return VisibleFrame(told ? std::optional<ScreenRect>(FromRect(bounds)) : std::nullopt, FromRect(windowRect));
}

std::vector<WindowFrame> WindowsOnScreen() {
  std::vector<WindowFrame> windows;
  EnumWindows(
      [](HWND window, LPARAM list) -> BOOL {
        BOOL cloaked = FALSE;
        if (!IsWindowVisible(window) || IsIconic(window) ||
            (WindowAttribute(window, DWMWA_CLOAKED, cloaked) && cloaked)) {
          return TRUE;
        }
        const ScreenRect frame = SeenFrame(window);
        if (!frame.Empty()) reinterpret_cast<std::vector<WindowFrame>*>(list)->push_back({window, frame});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::string TitleAt(std::span<const WindowFrame> windows, ScreenPoint pixel) {
  std::vector<ScreenRect> frames;
  for (const WindowFrame& each : windows) frames.push_back(each.frame);
  const std::optional<size_t> found = TargetAt(frames, pixel);
  return found ? GetWindowTitle(windows[*found].window) : std::string();
}

std::optional<PointerImage> CurrentPointer() {
  CURSORINFO info{};
  info.cbSize = sizeof info;
  if (!GetCursorInfo(&info) || !(info.flags & CURSOR_SHOWING) || !info.hCursor) return std::nullopt;
  // Wine keeps a pointer image inside the program that made it, where no
  // other program can read it: the standard arrow stands in for it there,
  // so that the pointer's place, which matters most, is still shown.
  const HCURSOR image = Readable(info.hCursor) ? info.hCursor : LoadCursorW(nullptr, IDC_ARROW);  // shared: not owned
  return PointerImage{image, {info.ptScreenPos.x, info.ptScreenPos.y}};
}

void DrawPointer(HBITMAP shot, ScreenRect area, const PointerImage& pointer) {
  ICONINFO icon{};
  if (!GetIconInfo(pointer.image, &icon)) return;
  // Copies made for the caller.
  const owners::Bitmap mask(icon.hbmMask);
  const owners::Bitmap colour(icon.hbmColor);
  BITMAP maskSize{};
  GetObjectW(mask.get(), sizeof maskSize, &maskSize);
  // A cursor without colour keeps its AND and XOR masks one above the other.
  const int width = maskSize.bmWidth;
  const int height = colour ? maskSize.bmHeight : maskSize.bmHeight / 2;
  const ScreenRect drawn{pointer.hotSpot.x - static_cast<int>(icon.xHotspot),
                         pointer.hotSpot.y - static_cast<int>(icon.yHotspot),
                         pointer.hotSpot.x - static_cast<int>(icon.xHotspot) + width,
                         pointer.hotSpot.y - static_cast<int>(icon.yHotspot) + height};
  if (Overlap(drawn, area).Empty()) return;
  const owners::MemoryDc target(CreateCompatibleDC(nullptr));
  const owners::Selection selected(target.get(), shot);
  DrawIconEx(target.get(), drawn.left - area.left, drawn.top - area.top, pointer.image, 0, 0, 0, nullptr, DI_NORMAL);
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
