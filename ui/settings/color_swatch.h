#pragma once
// The colour swatch of the Watermark page: a filled rectangle with an
// outline, lying on the right end of the Color button. Any mouse button
// pressed on it reaches its parent as a click (STN_CLICKED).
#include <windows.h>

#include "base/window.h"
#include "ui/settings/layout.h"

struct SwatchColors {
  COLORREF fill = 0;
  COLORREF outline = 0;
};

// A stored colour may carry a high byte that GDI would misread: it is masked
// for painting and for the colour dialog only.
inline constexpr COLORREF kColorBits = 0x00FFFFFF;

class ColorSwatch : public Window {
 public:
  ColorSwatch() = default;
  void Create(HWND parent, const ControlLayout& layout);

  void SetColors(const SwatchColors& colors);
  const SwatchColors& Colors() const { return colors_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool WaitsForPrintJob(UINT, WPARAM, LPARAM) const override { return false; }
  void Paint();

  SwatchColors colors_;
};
