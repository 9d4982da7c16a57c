#pragma once
// Where every control of the Preferences window lies, in 96-dpi pixels of
// the window's client area, and what it is.
#include <windows.h>

#include <span>
#include <string>

#include "core/languages/texts.h"

inline constexpr int kClientWidth = 440;
inline constexpr int kClientHeight = 360;
inline constexpr int kMargin = 8;
inline constexpr int kButtonWidth = 75;
inline constexpr int kButtonHeight = 25;
inline constexpr int kButtonGap = 6;

enum class ControlKind { Label, CentredLabel, RightLabel, Link, Check, Button, List, Edit, Group, TrackBar, Swatch };

struct ControlLayout {
  int id;  // an IDC_ identifier; kNoControlId for fixed texts nothing looks up
  ControlKind kind;
  const char* text;         // English; the language applied at start-up replaces the translatable ones
  int x, y, width, height;  // a list's height includes its drop-down
  bool disabled = false;
};

inline constexpr int kNoControlId = -1;

// The tab pages in their order on the page control.
enum class Page { General, Printing, Watermark, Timer };
inline constexpr int kPageCount = 4;

struct PageLayout {
  int id;
  TextId title;
  std::span<const ControlLayout> controls;  // in focus order
};

// Indexed by Page.
extern const PageLayout kPageLayouts[kPageCount];

// OK, Cancel and Apply, right-aligned below the page control in this order.
struct ButtonLayout {
  int id;
  TextId caption;
};
inline constexpr ButtonLayout kButtonLayouts[] = {
    {IDC_OK, TextId::ButtonOK},
    {IDC_CANCEL, TextId::ButtonCancel},
    {IDC_APPLY, TextId::ButtonApply},
};

// A group box's caption: one blank on each side keeps it off the frame line.
std::string GroupCaption(const std::string& text);

// Makes the control in the parent, with the control font. Swatches are made
// by their own class.
HWND CreateControl(const ControlLayout& layout, HWND parent);
