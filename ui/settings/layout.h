#pragma once
// Where every control of the Preferences window lies, and what it is: a
// design in pixels at 96 dpi for English, scaled to the window's DPI and
// widened where a caption in its font needs more room.
#include <windows.h>

#include <span>
#include <string>

#include "core/languages/texts.h"

inline constexpr int kClientWidth = 440;
inline constexpr int kClientHeight = 392;
inline constexpr int kMargin = 8;
inline constexpr int kButtonWidth = 75;
inline constexpr int kButtonHeight = 25;
inline constexpr int kButtonGap = 6;

// A Label names the input after it and takes an access key; a Text is
// only read. A NameList holds names the user has (printers, languages): it
// keeps its width whatever they are. A List grows to hold its items.
enum class ControlKind {
  Label,
  HiddenLabel,  // names the input after it for screen readers only: it takes no room
  Text,
  CentredText,
  RightText,
  Link,
  Check,
  BareCheck,  // a check box under a column head: its name is hidden text
  Button,
  ValueButton,  // a push button whose caption is the value it edits (the font)
  List,
  NameList,
  Edit,
  Group,
  TrackBar,
  Swatch
};

struct ControlLayout {
  int id = 0;  // an IDC_ identifier; kNoControlId for fixed texts nothing looks up
  ControlKind kind{};
  const char* text = nullptr;               // English; the language applied at start-up replaces the translatable ones
  int x = 0, y = 0, width = 0, height = 0;  // a list's height includes its drop-down
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

// Whether the row's caption takes an access key: the check boxes and
// commands, the labels, and a group that names the input it begins with.
bool TakesAccessKey(std::span<const ControlLayout> rows, size_t row);

// The label that names a row of inputs and the head of the column an input
// of that row stands in; nullptr where there is none.
const ControlLayout* RowLabelOf(std::span<const ControlLayout> rows, size_t row);
const ControlLayout* ColumnHeadOf(std::span<const ControlLayout> rows, size_t row);

// Makes the control in the parent, at its design place. Swatches are made by
// their own class.
HWND CreateControl(const ControlLayout& layout, HWND parent);

// Places a page's controls, one window for each row, for the DPI: the design
// scaled, then opened up wherever a caption in its control's font, or a
// list's widest item, needs more room. A caption-less check box stays
// centred under the centred label above it, and a swatch on the right end
// of the button before it. Returns the far corner of what the page holds.
POINT LayOutPage(std::span<const ControlLayout> rows, std::span<const HWND> controls, int dpi);

// The size of OK, Cancel and Apply: the design's, or wider for the widest caption.
SIZE ButtonSize(std::span<const HWND> buttons, int dpi);
