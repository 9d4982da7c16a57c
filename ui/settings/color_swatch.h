#pragma once
// The colour swatch of the Watermark page: an owner-drawn button on the
// right end of the Color button, filled with the colour held and outlined.
// Any mouse button pressed on it clicks it. It takes no focus, as the Color
// button does the same from the keyboard; its name says the colour.
#include <windows.h>

#include <string>

#include "base/window.h"

struct SwatchColors {
  COLORREF fill = 0;
  COLORREF outline = 0;
};

// A stored colour may carry a high byte that GDI would misread: it is masked
// for painting and for the colour dialog only.
inline constexpr COLORREF kColorBits = 0x00FFFFFF;

class ColorSwatch : public Subclass {
 public:
  void Attach(HWND button) { Subclass::Attach(button); }
  HWND handle() const { return control(); }

  void SetColors(const SwatchColors& colors);
  const SwatchColors& Colors() const { return colors_; }
  // What a screen reader calls it, such as "Color #FF0000".
  void SetName(const std::string& name);

  // What the button's owner is asked to draw (WM_DRAWITEM).
  void Draw(const DRAWITEMSTRUCT& item) const;

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  SwatchColors colors_;
};
