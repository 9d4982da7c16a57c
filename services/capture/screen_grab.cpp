#include "services/capture/screen_grab.h"

#include <algorithm>
#include <string>

#include "base/system_text.h"
#include "core/languages/localised_error.h"

namespace {

constexpr int kTitleBufferLength = 1025;  // 1024 UTF-16 units and the terminating zero
constexpr wchar_t kHighSurrogateFirst = 0xD800;
constexpr wchar_t kHighSurrogateLast = 0xDBFF;
constexpr UINT kTitleTimeoutMs = 1000;
constexpr double kUsualPixelsPerInch = 96.0;

// The desktop's device context: screen coordinates, origin at the top left
// of the primary display. Taken anew for every grab.
owners::WindowDc DesktopDc() {
  const HWND desktop = GetDesktopWindow();
  return {desktop, GetWindowDC(desktop)};
}

void RequireDc(const owners::WindowDc& screen) {
  if (!screen.get()) throw LocalisedError(TextId::ScreenNotRead);
}

owners::Bitmap CopyScreenArea(HDC screen, int left, int top, int width, int height) {
  owners::Bitmap bitmap(CreateCompatibleBitmap(screen, width, height));
  if (!bitmap) {
    throw LocalisedError(TextId::ShotBitmapNotMade,
                         {{"%WIDTH%", std::to_string(width)}, {"%HEIGHT%", std::to_string(height)}});
  }
  owners::MemoryDc target(CreateCompatibleDC(screen));
  if (!target) throw LocalisedError(TextId::ShotDeviceContextNotMade);
  owners::Selection selected(target.get(), bitmap.get());
  StretchBlt(target.get(), 0, 0, width, height, screen, left, top, width, height, SRCCOPY);
  return bitmap;
}

}  // namespace

Shot GrabEntireScreen() {
  const owners::WindowDc screen = DesktopDc();
  RequireDc(screen);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  return Shot{CopyScreenArea(screen.get(), 0, 0, width, height), {}};
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
