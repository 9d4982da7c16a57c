#pragma once
// Values at and beyond the ends of what settings take, each valid or not. The
// policies take exactly the valid ones, and the policy templates offer
// exactly those.
#include <cstdint>
#include <limits>

struct SettingValueCase {
  const char* setting;
  int32_t value;
  bool valid;
};

// clang-format off
inline constexpr SettingValueCase kSettingValueCases[] = {
    {"DefaultAction", 2, true}, {"DefaultAction", 9, false}, {"DefaultAction", -1, false},
    {"PrintPagePosition", 8, true}, {"PrintPagePosition", 42, false},
    {"WatermarkLocation", 3, true}, {"WatermarkLocation", 17, false},
    {"CaptureScreen", 2, true}, {"CaptureScreen", 3, false}, {"PrintColors", 2, true}, {"PrintColors", 3, false},
    {"PrintOrientation", 3, true}, {"PrintOrientation", -1, false},
    {"PrintShotsPerPage", 1, true}, {"PrintShotsPerPage", 2, true}, {"PrintShotsPerPage", 4, true},
    {"PrintShotsPerPage", 3, false}, {"PrintShotsPerPage", 0, false},
    {"ShortcutKeyRegion", 0x7A, true}, {"ShortcutKeyRegion", 999, false},
    {"ShortcutKeyEntireScreen", 0, true},  // "None": the hot key switched off
    {"ShortcutShiftActiveWindow", 15, true}, {"ShortcutShiftActiveWindow", 4096, false},
    {"ShortcutShiftRegion", 0, true}, {"ShortcutShiftRegion", -1, false},
    {"TimerNumberOfShots", 999, true}, {"TimerNumberOfShots", 5000, false}, {"TimerNumberOfShots", 0, false},
    {"TimerInterval", std::numeric_limits<int32_t>::max(), true}, {"TimerInterval", -3, false},
    {"TimerDelay", 1, true}, {"TimerDelay", 0, false},  // a delay of 0 would never take its shot
    {"WatermarkFontSize", 1, true}, {"WatermarkFontSize", 0, false},
    {"WatermarkFontSize", 1638, true}, {"WatermarkFontSize", 1639, false},
    {"WatermarkFontTransparency", 255, true}, {"WatermarkFontTransparency", 999, false},
    {"WatermarkFontStyle", 3, true}, {"WatermarkFontStyle", 99, false},
    {"WatermarkFontColor", 0xFFFFFF, true}, {"WatermarkFontColor", 0x1000000, false},
    {"PrintCopies", 1, true}, {"PrintCopies", 99, true}, {"PrintCopies", 100, false},
    {"WatermarkMake", 1, true}, {"WatermarkMake", 2, false},
};
// clang-format on
