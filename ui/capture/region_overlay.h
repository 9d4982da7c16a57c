#pragma once
// The window a region is chosen on. It covers every monitor with the screens
// as they were frozen, dimmed; what a drag spans, or what a click would take,
// shows undimmed with its size in pixels beside it. The pointer is a
// crosshair; the arrow keys move it, Enter starts and ends a selection, Esc
// or the right button cancels. When the choice is over the window takes no
// more input, stops being topmost and posts its owner the message it was
// given; the owner then reads what was taken and ends the window.
#include <windows.h>

#include <optional>
#include <string>

#include "base/owners.h"
#include "base/window.h"
#include "core/capture/region_selection.h"
#include "core/languages/texts.h"
#include "services/capture/screen_grab.h"

// The window class other programs and the tests know the window by.
inline constexpr const char* kRegionOverlayClass = "VorlaneRegion";

class RegionOverlay : public Window {
 public:
  // Shows the frozen screens at once, in front of every window, with the
  // keyboard's focus. The texts give the title (what screen readers read
  // out) and the size label's format.
  RegionOverlay(FrozenScreens frozen, const Texts& texts, HWND owner, UINT doneMessage);

  // Takes the foreground and the keyboard's focus again while the choice goes on.
  void TakeKeyboard();

  // The region taken; none while the choice goes on or once it was cancelled.
  std::optional<ScreenRect> Taken() const;
  const FrozenScreens& Frozen() const { return frozen_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void Paint();
  void FollowPointer();
  void Press(LPARAM place);
  void Release(LPARAM place);
  void PressKey(WPARAM key);
  // Redraws what changed, and ends the choice once it is over.
  void Follow();
  void Finish();

  ScreenPoint OnScreen(LPARAM place) const;
  RECT InClient(const ScreenRect& rect) const;
  std::string SizeText(const ScreenRect& rect) const;
  RECT LabelPlace(const ScreenRect& shown) const;

  FrozenScreens frozen_;
  owners::Bitmap dimmed_;  // the frozen picture at half its brightness
  RegionSelection selection_;
  std::string sizeFormat_;
  HWND owner_;
  UINT doneMessage_;
  int dpi_;
  owners::Font font_;
  std::optional<ScreenRect> shown_;  // as last drawn
  bool finished_ = false;
};
