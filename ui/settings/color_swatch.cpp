#include "ui/settings/color_swatch.h"

#include "base/owners.h"
#include "ui/settings/controls.h"

void ColorSwatch::SetColors(const SwatchColors& colors) {
  colors_ = colors;
  InvalidateRect(handle(), nullptr, TRUE);
}

void ColorSwatch::SetName(const std::string& name) { SetWindowTextOf(handle(), name); }

LRESULT ColorSwatch::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    // Pressed, not released: and without the focus or the mouse capture a
    // button takes on its own.
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      SendMessageW(GetParent(handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(handle()), BN_CLICKED),
                   reinterpret_cast<LPARAM>(handle()));
      return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}

void ColorSwatch::Draw(const DRAWITEMSTRUCT& item) const {
  const owners::Brush fill(CreateSolidBrush(colors_.fill & kColorBits));
  const owners::Brush outline(CreateSolidBrush(colors_.outline & kColorBits));
  FillRect(item.hDC, &item.rcItem, fill.get());
  FrameRect(item.hDC, &item.rcItem, outline.get());
}
