#include "ui/settings/setting_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <span>
#include <string>

#include "base/system_text.h"
#include "core/capture/key_names.h"
#include "core/settings/number_field.h"
#include "services/capture/hot_keys.h"
#include "ui/settings/controls.h"

namespace {

// The four modifier boxes of a hot-key row follow each other: Ctrl, Alt, Shift, Win.
constexpr int kAltBox = 1, kShiftBox = 2, kWinBox = 3;

std::string CollectedNumberText(HWND field) {
  const std::string text = WindowText(field);
  return GetFocus() == field ? LeaveNumberText(text) : text;
}

// The item of a list that stands for a value; -1, none, for a value no item stands for.
int ItemOfValue(const Setting& setting, int32_t value) {
  const std::span<const int32_t> values = setting.valid.only;
  const auto item = std::ranges::find(values, value);
  return item == values.end() ? -1 : static_cast<int>(item - values.begin());
}

int32_t ValueOfItem(const Setting& setting, int item) {
  const std::span<const int32_t> values = setting.valid.only;
  return item >= 0 && item < static_cast<int>(values.size()) ? values[item] : Preferences{}.*setting.integer;
}

}  // namespace

void ShowSetting(const Setting& setting, const Preferences& record, const ControlOf& control) {
  const HWND shown = control(setting.control);
  switch (setting.shown) {
    case SettingShown::Check:
      SetTicked(shown, record.*setting.onOff);
      break;
    case SettingShown::Edit:
      SetWindowTextOf(shown, record.*setting.text);
      break;
    case SettingShown::Number:
    case SettingShown::Count:
      SetWindowTextOf(shown, std::to_string(record.*setting.integer));
      break;
    case SettingShown::ListIndex:
      SelectIndex(shown, record.*setting.integer);
      break;
    case SettingShown::ListValue:
      SelectIndex(shown, ItemOfValue(setting, record.*setting.integer));
      break;
    case SettingShown::TrackBar:
      Send(shown, TBM_SETPOS, TRUE, record.*setting.integer);
      break;
    case SettingShown::ModifierBoxes: {
      const ModifierBoxes boxes = MaskToBoxes(record.*setting.integer);
      SetTicked(shown, boxes.Ctrl);
      SetTicked(control(setting.control + kAltBox), boxes.Alt);
      SetTicked(control(setting.control + kShiftBox), boxes.Shift);
      SetTicked(control(setting.control + kWinBox), boxes.Win);
      break;
    }
    case SettingShown::KeyList:
      // A code no key name stands for leaves the selection as it was.
      if (const auto item = KeyCodeToItem(record.*setting.integer, SystemKeyNameOf)) SelectIndex(shown, *item);
      break;
    case SettingShown::OwnCode:
      break;
  }
}

void CollectSetting(const Setting& setting, Preferences& values, const ControlOf& control) {
  const HWND shown = control(setting.control);
  switch (setting.shown) {
    case SettingShown::Check:
      values.*setting.onOff = Ticked(shown);
      break;
    case SettingShown::Edit:
      values.*setting.text = WindowText(shown);
      break;
    case SettingShown::Number:
      values.*setting.integer = IntegerOr(CollectedNumberText(shown), 0);
      break;
    case SettingShown::Count:
      values.*setting.integer = IntegerOr(CollectedNumberText(shown), 1);
      break;
    case SettingShown::ListIndex:
      values.*setting.integer = SelectedIndex(shown);
      break;
    case SettingShown::ListValue:
      values.*setting.integer = ValueOfItem(setting, SelectedIndex(shown));
      break;
    case SettingShown::TrackBar:
      values.*setting.integer = static_cast<int32_t>(Send(shown, TBM_GETPOS));
      break;
    case SettingShown::ModifierBoxes:
      values.*setting.integer =
          BoxesToMask({Ticked(control(setting.control + kAltBox)), Ticked(shown),
                       Ticked(control(setting.control + kShiftBox)), Ticked(control(setting.control + kWinBox))});
      break;
    case SettingShown::KeyList:
      values.*setting.integer = ItemToKeyCode(SelectedText(shown), SystemKeyNameOf, SameTextInUserLocale);
      break;
    case SettingShown::OwnCode:
      break;
  }
}
