#include "base/dpi.h"

namespace {

// The function of user32.dll by that name, or null when the system lacks it.
template <typename Function>
Function User32Function(const char* name) {
  const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

int SystemDpi() {
  owners::WindowDc screen(nullptr, GetDC(nullptr));
  return GetDeviceCaps(screen.get(), LOGPIXELSY);
}

}  // namespace

int Scale(int length, int dpi) { return MulDiv(length, dpi, kBaseDpi); }

int WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
  return dpi != 0 ? static_cast<int>(dpi) : SystemDpi();
}

int SystemMetricForDpi(int index, int dpi) {
  static const auto metricForDpi = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
  if (metricForDpi) return metricForDpi(index, static_cast<UINT>(dpi));
  return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

owners::Font MessageFont(int dpi) {
  static const auto parametersForDpi =
      User32Function<BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT)>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (parametersForDpi &&
      parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, static_cast<UINT>(dpi))) {
    return owners::Font(CreateFontIndirectW(&metrics.lfMessageFont));
  }
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, SystemDpi());
    return owners::Font(CreateFontIndirectW(&metrics.lfMessageFont));
  }
  // No metrics at all: the dialog font, which at least has the system's size.
  LOGFONTW font{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  return owners::Font(CreateFontIndirectW(&font));
}

RECT FrameForDpi(RECT client, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjustForDpi =
      User32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
  if (!adjustForDpi || !adjustForDpi(&client, style, FALSE, exStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&client, style, FALSE, exStyle);
  }
  return client;
}
