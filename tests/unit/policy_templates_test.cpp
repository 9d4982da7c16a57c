#include "core/settings/policy_templates.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

#include "core/settings/preferences.h"
#include "tests/unit/setting_value_cases.h"

namespace {

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The definition of one policy, from its opening tag to its end.
std::string PolicyOf(const std::string& definitions, const std::string& name) {
  const size_t start = definitions.find("<policy name=\"" + name + "\"");
  if (start == std::string::npos) return {};
  return definitions.substr(start, definitions.find("</policy>", start) - start);
}

// The number in the attribute after the part, as in minValue="1".
int64_t NumberAfter(const std::string& policy, const std::string& part) {
  const size_t at = policy.find(part);
  return at == std::string::npos ? -1 : std::stoll(policy.substr(at + part.size()));
}

// Whether the policy editor lets an administrator give the value.
bool TemplateOffers(const std::string& policy, int32_t value) {
  if (policy.find("<decimal id=") != std::string::npos) {
    return value >= NumberAfter(policy, "minValue=\"") && value <= NumberAfter(policy, "maxValue=\"");
  }
  return policy.find("<decimal value=\"" + std::to_string(value) + "\"/>") != std::string::npos;
}

Texts Translated(std::map<std::string, std::string> texts) {
  return Texts([texts](const std::string&, const std::string& key, const std::string& fallback) {
    const auto found = texts.find(key);
    return found == texts.end() ? fallback : found->second;
  });
}

}  // namespace

TEST(PolicyTemplates, ACaptionLosesItsMnemonicMarksColonAndEllipsis) {
  const std::pair<std::string, std::string> rows[] = {
      {"Language", "Language"},
      {"&Language", "Language"},
      {"Fit to &page", "Fit to page"},
      {"Save && print", "Save & print"},
      {"Delay (sec.) :", "Delay (sec.)"},
      {"Number of shots:", "Number of shots"},
      {"Browse...", "Browse"},
      {"&Browse... ", "Browse"},
      {"&", "&"},
      {"", ""},
  };
  for (const auto& [caption, plain] : rows) EXPECT_EQ(PolicyCaption(caption), plain) << caption;
}

TEST(PolicyTemplates, EachTypeHasItsElementAndEachNumberItsRange) {
  const std::string definitions = PolicyDefinitions();
  struct Row {
    const char* setting;
    const char* element;
  };
  const Row rows[] = {
      {"WatermarkMake", "<enabledValue><decimal value=\"1\"/></enabledValue>"},
      {"WatermarkText", "<text id=\"WatermarkText\" valueName=\"WatermarkText\" required=\"true\"/>"},
      {"PrintCopies", "minValue=\"1\" maxValue=\"99\""},
      {"WatermarkFontTransparency", "minValue=\"0\" maxValue=\"255\""},
      {"ShortcutKeyEntireScreen", "<decimal id=\"ShortcutKeyEntireScreen\""},
      {"PrintOrientation", "<item displayName=\"$(string.PrintOrientation_3)\"><value><decimal value=\"3\"/>"},
      {"DefaultAction", "<item displayName=\"$(string.DefaultAction_1)\"><value><decimal value=\"1\"/>"},
      // A list whose items stand for values of their own.
      {"PrintShotsPerPage", "<item displayName=\"$(string.PrintShotsPerPage_4)\"><value><decimal value=\"4\"/>"},
      {"ShortcutShiftActiveWindow", "<item displayName=\"$(string.Modifiers_15)\"><value><decimal value=\"15\"/>"},
  };
  for (const Row& row : rows) {
    EXPECT_NE(PolicyOf(definitions, row.setting).find(row.element), std::string::npos) << row.setting;
  }
  // A list has exactly the items the Preferences offer.
  EXPECT_EQ(Count(PolicyOf(definitions, "PrintPagePosition"), "<item "), 9u);
  EXPECT_EQ(Count(PolicyOf(definitions, "CaptureScreen"), "<item "), 3u);
  EXPECT_EQ(Count(PolicyOf(definitions, "PrintColors"), "<item "), 3u);
  EXPECT_EQ(Count(PolicyOf(definitions, "DefaultAction"), "<item "), 3u);
  EXPECT_EQ(Count(PolicyOf(definitions, "PrintShotsPerPage"), "<item "), 3u);
  EXPECT_EQ(Count(PolicyOf(definitions, "ShortcutShiftEntireScreen"), "<item "), 16u);
}

TEST(PolicyTemplates, TheEditorOffersExactlyTheValidValues) {
  const std::string definitions = PolicyDefinitions();
  for (const SettingValueCase& row : kSettingValueCases) {
    EXPECT_EQ(TemplateOffers(PolicyOf(definitions, row.setting), row.value), row.valid)
        << row.setting << " " << row.value;
  }
  // The Preferences list every value of a list, no more.
  for (const Setting& setting : kSettings) {
    if (setting.shown != SettingShown::ListIndex && setting.shown != SettingShown::ListValue) continue;
    size_t items = 0;
    for (const TextRow& text : kTextRows) items += text.place == TextPlace::ListItem && text.control == setting.control;
    if (setting.control == IDC_DEFAULT_ACTION) items = std::size(kDefaultActionItems);  // made from the tray's
    const size_t values = setting.valid.only.empty()
                              ? static_cast<size_t>(setting.valid.highest - setting.valid.lowest + 1)
                              : setting.valid.only.size();
    EXPECT_EQ(items, values) << setting.name;
  }
}

TEST(PolicyTemplates, TheTextsSpeakTheLanguageGivenAndAreEscaped) {
  const std::string english = PolicyResources(Texts(), "2.1.0.0");
  EXPECT_NE(english.find("<string id=\"WatermarkMake\">Make watermark</string>"), std::string::npos);
  EXPECT_NE(english.find("<string id=\"TimerDelay\">Delay (sec.)</string>"), std::string::npos);
  EXPECT_NE(english.find("<string id=\"ShortcutKeyEntireScreen\">Entire screen: Key</string>"), std::string::npos);
  EXPECT_NE(english.find("<string id=\"Modifiers_6\">Ctrl+Shift</string>"), std::string::npos);
  EXPECT_NE(english.find("<string id=\"Modifiers_0\">None</string>"), std::string::npos);
  EXPECT_NE(english.find("<string id=\"SUPPORTED_Vorlane\">At least Vorlane 2.1.0.0</string>"), std::string::npos);
  EXPECT_NE(english.find("Sets &quot;Make watermark&quot; on the Watermark tab"), std::string::npos);
  EXPECT_NE(english.find("<decimalTextBox refId=\"PrintCopies\" defaultValue=\"1\">Copies</decimalTextBox>"),
            std::string::npos);
  EXPECT_NE(english.find("<defaultValue>%DATE% %TIME%</defaultValue>"), std::string::npos);
  // The default value 1 is the list's first item.
  EXPECT_NE(english.find("<dropdownList refId=\"PrintShotsPerPage\" noSort=\"true\" defaultItem=\"0\">"),
            std::string::npos);

  const std::string translated = PolicyResources(
      Translated({{"WatermarkMake", "&Wasserzeichen <hinzuf\xC3\xBCgen>"}, {"WatermarkTitle", "Wasser && Zeichen"}}),
      "1.0.0.0");
  EXPECT_NE(translated.find("<string id=\"WatermarkMake\">Wasserzeichen &lt;hinzuf\xC3\xBCgen&gt;</string>"),
            std::string::npos);
  EXPECT_NE(translated.find("<string id=\"WatermarkTitle\">Wasser &amp; Zeichen</string>"), std::string::npos);
  EXPECT_EQ(Count(translated, "<string id="), Count(english, "<string id="));
}
