#include "core/settings/policy_templates.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

#include "core/capture/key_names.h"
#include "core/settings/policies.h"
#include "core/settings/preferences.h"

namespace {

using T = TextId;

// clang-format off
constexpr SettingPolicy kPolicies[] = {
    {"Language", T::GeneralTitle, T::GeneralLanguage},
    {"ShortcutShiftEntireScreen", T::GeneralTitle, T::GeneralShortcutsEntireScreen, T::PolicyModifierKeys},
    {"ShortcutKeyEntireScreen", T::GeneralTitle, T::GeneralShortcutsEntireScreen, T::GeneralShortcutsKey, T::PolicyKeyCode},
    {"ShortcutShiftActiveWindow", T::GeneralTitle, T::GeneralShortcutsActiveWindow, T::PolicyModifierKeys},
    {"ShortcutKeyActiveWindow", T::GeneralTitle, T::GeneralShortcutsActiveWindow, T::GeneralShortcutsKey, T::PolicyKeyCode},
    {"ShortcutShiftRegion", T::GeneralTitle, T::GeneralShortcutsRegion, T::PolicyModifierKeys},
    {"ShortcutKeyRegion", T::GeneralTitle, T::GeneralShortcutsRegion, T::GeneralShortcutsKey, T::PolicyKeyCode},
    {"DefaultAction", T::GeneralTitle, T::GeneralDefaultTrayAction, {}, {}, kDefaultActionItems},
    {"CaptureScreen", T::GeneralTitle, T::GeneralCaptureScreen},
    {"WatermarkLocation", T::WatermarkTitle, T::WatermarkLocation},
    {"WatermarkText", T::WatermarkTitle, T::WatermarkText},
    {"WatermarkFontName", T::WatermarkTitle, T::WatermarkFont, T::PolicyFontName},
    {"WatermarkFontSize", T::WatermarkTitle, T::WatermarkFont, T::PolicyFontSize},
    {"WatermarkFontStyle", T::WatermarkTitle, T::WatermarkFont, T::PolicyFontStyle, T::PolicyFontStyleValues},
    {"WatermarkFontColor", T::WatermarkTitle, T::WatermarkFontColor, {}, T::PolicyColorValue},
    {"WatermarkFontTransparency", T::WatermarkTitle, T::WatermarkTransparency},
    {"WatermarkMake", T::WatermarkTitle, T::WatermarkMake},
    {"TimerDelay", T::TimerTitle, T::TimerDelay},
    {"TimerDelayedCapture", T::TimerTitle, T::TimerDelayedCapture},
    {"TimerNumberOfShots", T::TimerTitle, T::TimerNumberOfShots},
    {"TimerInterval", T::TimerTitle, T::TimerInterval},
    {"TimerSeveralShots", T::TimerTitle, T::TimerSeveralShots},
    {"PrintShotsPerPage", T::TimerTitle, T::TimerShotsPerPage},
    {"PrintFitToPage", T::PrintingTitle, T::PrintingFitToPage},
    {"PrintPagePosition", T::PrintingTitle, T::PrintingPagePosition},
    {"PrintOrientation", T::PrintingTitle, T::PrintingOrientation},
    {"PrintCopies", T::PrintingTitle, T::PrintingCopies},
    {"PrintGrayscale", T::PrintingTitle, T::PrintingGrayscale},
    {"PrintColors", T::PrintingTitle, T::PrintingColors},
    {"CaptureMousePointer", T::PrintingTitle, T::PrintingCaptureMousePointer},
    {"FilePrinterAutoSave", T::PrintingTitle, T::PrintingFileAutoSave},
    {"FilePrinterFolder", T::PrintingTitle, T::PrintingFileFolder},
    {"PrintPrinter", T::PrintingTitle, T::PrintingPrinter},
};
// clang-format on

constexpr bool EverySettingHasItsPolicy() {
  if (std::size(kPolicies) != kSettingCount) return false;
  for (size_t i = 0; i < kSettingCount; ++i) {
    if (std::string_view(kPolicies[i].setting) != kSettings[i].name) return false;
  }
  return true;
}
static_assert(EverySettingHasItsPolicy(), "each setting of the settings table has its row here, in the same order");

// How the editor lets the administrator give the value.
enum class Element { OnOff, Text, List, Modifiers, Number };

Element ElementOf(const Setting& setting) {
  if (setting.type == SettingType::OnOff) return Element::OnOff;
  if (setting.type == SettingType::Text) return Element::Text;
  if (setting.shown == SettingShown::ListIndex || setting.shown == SettingShown::ListValue) return Element::List;
  if (setting.shown == SettingShown::ModifierBoxes) return Element::Modifiers;
  return Element::Number;
}

// The modifier boxes, in the order the Preferences show them.
struct ModifierName {
  int32_t bit;
  const char* name;
};
constexpr ModifierName kModifierNames[] = {
    {kModCtrl, "Ctrl"}, {kModAlt, "Alt"}, {kModShift, "Shift"}, {kModWin, "Win"}};

std::string ModifiersName(int32_t mask) {
  std::string name;
  for (const ModifierName& modifier : kModifierNames) {
    if ((mask & modifier.bit) == 0) continue;
    if (!name.empty()) name += "+";
    name += modifier.name;
  }
  return name.empty() ? "None" : name;
}

// The values a list offers, in the order of its items: those the setting
// takes.
std::vector<int32_t> ListValues(const Setting& setting) {
  if (!setting.valid.only.empty()) return {setting.valid.only.begin(), setting.valid.only.end()};
  std::vector<int32_t> values;
  for (int32_t value = setting.valid.lowest; value <= setting.valid.highest; ++value) values.push_back(value);
  return values;
}

// The item that stands for a value.
int32_t ItemOf(const Setting& setting, int32_t value) {
  const std::vector<int32_t> values = ListValues(setting);
  return static_cast<int32_t>(std::ranges::find(values, value) - values.begin());
}

// The items of a list, in the order of their values.
std::vector<TextId> ListItems(const Setting& setting, const SettingPolicy& policy) {
  if (!policy.items.empty()) return {policy.items.begin(), policy.items.end()};
  std::vector<TextId> items;
  for (int index = 0;; ++index) {
    const size_t before = items.size();
    for (const TextRow& row : kTextRows) {
      if (row.place == TextPlace::ListItem && row.control == setting.control && row.index == index) {
        items.push_back(row.id);
      }
    }
    if (items.size() == before) return items;
  }
}

std::string Escape(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string Replace(std::string text, std::string_view macro, std::string_view value) {
  const size_t at = text.find(macro);
  return at == std::string::npos ? text : text.replace(at, macro.size(), value);
}

// The categories: "Vorlane", and in it one for each tab, in the tabs' order.
std::vector<TextId> Tabs() {
  std::vector<TextId> tabs;
  for (int index = 0;; ++index) {
    const size_t before = tabs.size();
    for (const TextRow& row : kTextRows) {
      if (row.place == TextPlace::TabTitle && row.index == index) tabs.push_back(row.id);
    }
    if (tabs.size() == before) return tabs;
  }
}

const char* KeyOf(TextId id) { return RowOf(id).key; }

std::string PolicyName(const Texts& texts, const SettingPolicy& policy) {
  const std::string caption = PolicyCaption(texts[policy.caption]);
  return policy.part ? caption + ": " + PolicyCaption(texts[*policy.part]) : caption;
}

constexpr const char* kNamespaces =
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "revision=\"1.0\" schemaVersion=\"1.0\" "
    "xmlns=\"http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions\"";
constexpr const char* kProduct = "Vorlane";
constexpr const char* kSupportedOn = "SUPPORTED_Vorlane";

std::string PolicyHead(const std::string& name, const std::string& valueName, const char* category, bool elements) {
  std::string head = "    <policy name=\"" + name + "\" class=\"Both\" displayName=\"$(string." + name +
                     ")\" explainText=\"$(string." + name + "_Explain)\"";
  if (elements) head += " presentation=\"$(presentation." + name + ")\"";
  head += " key=\"" + Escape(kPolicyKey) + "\"";
  if (!valueName.empty()) head += " valueName=\"" + valueName + "\"";
  head += ">\n      <parentCategory ref=\"" + std::string(category) + "\"/>\n      <supportedOn ref=\"" + kSupportedOn +
          "\"/>\n";
  return head;
}

constexpr const char* kOnOffValues =
    "      <enabledValue><decimal value=\"1\"/></enabledValue>\n"
    "      <disabledValue><decimal value=\"0\"/></disabledValue>\n";

std::string EnumItem(const std::string& stringId, int32_t value) {
  return "          <item displayName=\"$(string." + stringId + ")\"><value><decimal value=\"" + std::to_string(value) +
         "\"/></value></item>\n";
}

std::string SettingDefinition(const Setting& setting, const SettingPolicy& policy) {
  const std::string name = setting.name;
  const Element element = ElementOf(setting);
  if (element == Element::OnOff)
    return PolicyHead(name, name, KeyOf(policy.tab), false) + kOnOffValues + "    </policy>\n";
  std::string body = "      <elements>\n";
  switch (element) {
    case Element::Text:
      body += "        <text id=\"" + name + "\" valueName=\"" + name + "\" required=\"true\"/>\n";
      break;
    case Element::Number:
      body += "        <decimal id=\"" + name + "\" valueName=\"" + name + "\" required=\"true\" minValue=\"" +
              std::to_string(setting.valid.lowest) + "\" maxValue=\"" + std::to_string(setting.valid.highest) +
              "\"/>\n";
      break;
    case Element::List: {
      body += "        <enum id=\"" + name + "\" valueName=\"" + name + "\" required=\"true\">\n";
      for (const int32_t value : ListValues(setting)) {
        body += EnumItem(name + "_" + std::to_string(value), value);
      }
      body += "        </enum>\n";
      break;
    }
    case Element::Modifiers:
      body += "        <enum id=\"" + name + "\" valueName=\"" + name + "\" required=\"true\">\n";
      for (int32_t mask = kModifierMasks.lowest; mask <= kModifierMasks.highest; ++mask) {
        body += EnumItem("Modifiers_" + std::to_string(mask), mask);
      }
      body += "        </enum>\n";
      break;
    case Element::OnOff:
      break;
  }
  body += "      </elements>\n";
  return PolicyHead(name, "", KeyOf(policy.tab), true) + body + "    </policy>\n";
}

std::string StringRow(const std::string& id, const std::string& text) {
  return "      <string id=\"" + id + "\">" + Escape(text) + "</string>\n";
}

// The default value as the editor first offers it.
std::string Presentation(const Setting& setting, const std::string& label) {
  const Preferences defaults;
  const std::string name = setting.name;
  const std::string open = "      <presentation id=\"" + name + "\">\n        ";
  const std::string close = "\n      </presentation>\n";
  switch (ElementOf(setting)) {
    case Element::Text: {
      const std::string& fallback = defaults.*setting.text;
      return open + "<textBox refId=\"" + name + "\"><label>" + Escape(label) + "</label>" +
             (fallback.empty() ? "" : "<defaultValue>" + Escape(fallback) + "</defaultValue>") + "</textBox>" + close;
    }
    case Element::Number:
      return open + "<decimalTextBox refId=\"" + name + "\" defaultValue=\"" +
             std::to_string(defaults.*setting.integer) + "\">" + Escape(label) + "</decimalTextBox>" + close;
    case Element::List:
    case Element::Modifiers:
      return open + "<dropdownList refId=\"" + name + "\" noSort=\"true\" defaultItem=\"" +
             std::to_string(ItemOf(setting, defaults.*setting.integer)) + "\">" + Escape(label) + "</dropdownList>" +
             close;
    case Element::OnOff:
      break;
  }
  return {};
}

}  // namespace

const std::span<const SettingPolicy> kSettingPolicies = kPolicies;

std::string PolicyCaption(std::string_view caption) {
  std::string plain;
  for (size_t i = 0; i < caption.size(); ++i) {
    // "&&" stands for one ampersand; a single one marks the next letter.
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    plain += caption[i];
  }
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    for (const std::string_view ending : {"...", ":", " "}) {
      if (!plain.ends_with(ending)) continue;
      plain.resize(plain.size() - ending.size());
      trimmed = true;
    }
  }
  return plain;
}

std::string PolicyDefinitions() {
  std::string file =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<policyDefinitions " + std::string(kNamespaces) + ">\n";
  file +=
      "  <policyNamespaces>\n    <target prefix=\"vorlane\" namespace=\"Telmaric.Policies.Vorlane\"/>\n"
      "  </policyNamespaces>\n  <resources minRequiredRevision=\"1.0\"/>\n";
  file += "  <supportedOn>\n    <definitions>\n      <definition name=\"" + std::string(kSupportedOn) +
          "\" displayName=\"$(string." + kSupportedOn + ")\"/>\n    </definitions>\n  </supportedOn>\n";
  file += "  <categories>\n    <category name=\"" + std::string(kProduct) + "\" displayName=\"$(string." + kProduct +
          ")\"/>\n";
  for (const TextId tab : Tabs()) {
    file += "    <category name=\"" + std::string(KeyOf(tab)) + "\" displayName=\"$(string." + KeyOf(tab) +
            ")\">\n      <parentCategory ref=\"" + kProduct + "\"/>\n    </category>\n";
  }
  file += "  </categories>\n  <policies>\n";
  file += PolicyHead(kDisablePreferencesPolicy, kDisablePreferencesPolicy, kProduct, false) + kOnOffValues +
          "    </policy>\n";
  for (size_t i = 0; i < kSettingCount; ++i) file += SettingDefinition(kSettings[i], kPolicies[i]);
  file += "  </policies>\n</policyDefinitions>\n";
  return file;
}

std::string PolicyResources(const Texts& texts, std::string_view version) {
  std::string strings = StringRow(kProduct, kProduct) +
                        StringRow(kSupportedOn, Replace(texts[T::PolicySupportedOn], "%VERSION%", version));
  for (const TextId tab : Tabs()) strings += StringRow(KeyOf(tab), PolicyCaption(texts[tab]));
  strings += StringRow(kDisablePreferencesPolicy, texts[T::DisablePreferences]) +
             StringRow(std::string(kDisablePreferencesPolicy) + "_Explain", texts[T::DisablePreferencesExplain]);
  for (int32_t mask = kModifierMasks.lowest; mask <= kModifierMasks.highest; ++mask) {
    strings += StringRow("Modifiers_" + std::to_string(mask), ModifiersName(mask));
  }
  std::string presentations;
  for (size_t i = 0; i < kSettingCount; ++i) {
    const Setting& setting = kSettings[i];
    const SettingPolicy& policy = kPolicies[i];
    const std::string name = PolicyName(texts, policy);
    std::string explain =
        Replace(Replace(texts[T::PolicyExplain], "%SETTING%", name), "%TAB%", PolicyCaption(texts[policy.tab]));
    if (policy.note) explain += " " + texts[*policy.note];
    strings += StringRow(setting.name, name) + StringRow(std::string(setting.name) + "_Explain", explain);
    if (ElementOf(setting) == Element::List) {
      const std::vector<TextId> items = ListItems(setting, policy);
      const std::vector<int32_t> values = ListValues(setting);
      for (size_t item = 0; item < values.size(); ++item) {
        strings += StringRow(std::string(setting.name) + "_" + std::to_string(values[item]), texts[items.at(item)]);
      }
    }
    presentations += Presentation(setting, name);
  }
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<policyDefinitionResources " + std::string(kNamespaces) +
         ">\n  <displayName>" + kProduct + "</displayName>\n  <description>" + kProduct +
         "</description>\n  <resources>\n    <stringTable>\n" + strings +
         "    </stringTable>\n    <presentationTable>\n" + presentations +
         "    </presentationTable>\n  </resources>\n</policyDefinitionResources>\n";
}
