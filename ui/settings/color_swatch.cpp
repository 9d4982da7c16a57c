#include "ui/settings/color_swatch.h"

#include "base/owners.h"

namespace {

constexpr const char* kSwatchClass = "VorlaneColorSwatch";

}  // namespace

void ColorSwatch::Create(HWND parent, const ControlLayout& layout) {
  RegisterWindowClass(GetModuleHandleW(nullptr), kSwatchClass);
  Window::Create(0, kSwatchClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, layout.x, layout.y, layout.width,
                 layout.height, parent, layout.id);
}

void ColorSwatch::SetColors(const SwatchColors& colors) {
  colors_ = colors;
  InvalidateRect(handle(), nullptr, TRUE);
}

LRESULT ColorSwatch::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SendMessageW(GetParent(handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle()), STN_CLICKED),
                   reinterpret_cast<LPARAM>(handle()));
      return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

void ColorSwatch::Paint() {
  const owners::PaintDc paint(handle());
  RECT area{};
  GetClientRect(handle(), &area);
  const owners::Brush fill(CreateSolidBrush(colors_.fill & kColorBits));
  const owners::Brush outline(CreateSolidBrush(colors_.outline & kColorBits));
  FillRect(paint.get(), &area, fill.get());
  FrameRect(paint.get(), &area, outline.get());
}
