#include "ui/languages/apply_texts.h"

#include "core/languages/access_keys.h"
#include "core/languages/localised_error.h"
#include "services/languages/language_folder.h"
#include "ui/settings/controls.h"
#include "ui/settings/layout.h"
#include "ui/settings/preferences_pages.h"

namespace {

void Apply(const TextRow& row, const std::string& text, PreferencesPages& pages) {
  switch (row.place) {
    case TextPlace::Kept:
      break;
    case TextPlace::WindowCaption:
      SetWindowTextOf(pages.window(), text);
      break;
    case TextPlace::Caption:
      SetWindowTextOf(pages.Control(row.control), text);
      break;
    case TextPlace::GroupCaption:
      SetWindowTextOf(pages.Control(row.control), GroupCaption(text));
      break;
    case TextPlace::TabTitle:
      SetTabTitle(pages.Control(row.control), row.index, text);
      break;
    case TextPlace::ListItem:
      ReplaceItem(pages.Control(row.control), row.index, text);
      break;
  }
}

// The caption of a row as the language has it, before any key is chosen:
// its text's, or the row's own for one that is never translated.
std::string CaptionOf(const ControlLayout& row, const Texts& texts) {
  for (const TextRow& text : kTextRows) {
    if (text.control != row.id) continue;
    if (text.place == TextPlace::Caption) return texts[text.id];
    if (text.place == TextPlace::GroupCaption) return GroupCaption(texts[text.id]);
  }
  return row.text;
}

// Every caption that takes a key gets one that no other on its page has,
// nor Apply below the pages. OK and Cancel take none: Enter and Esc are
// theirs.
void ApplyAccessKeys(const Texts& texts, PreferencesPages& pages) {
  for (const TextId id : {TextId::ButtonOK, TextId::ButtonCancel}) {
    SetWindowTextOf(pages.Control(RowOf(id).control), LiteralCaption(WithoutAccessKey(texts[id])));
  }
  const std::vector<std::string> apply = ChooseAccessKeys(std::vector<std::string>{texts[TextId::ButtonApply]});
  SetWindowTextOf(pages.Control(IDC_APPLY), apply.front());
  for (const PageLayout& page : kPageLayouts) {
    std::vector<const ControlLayout*> rows;
    std::vector<std::string> captions;
    for (size_t row = 0; row < page.controls.size(); ++row) {
      if (!TakesAccessKey(page.controls, row)) continue;
      rows.push_back(&page.controls[row]);
      captions.push_back(CaptionOf(page.controls[row], texts));
    }
    const std::vector<std::string> keyed = ChooseAccessKeys(captions, apply);
    for (size_t i = 0; i < rows.size(); ++i) SetWindowTextOf(pages.Control(rows[i]->id), keyed[i]);
  }
}

// A check box under a column head carries its name as hidden text, such as
// "Entire screen: Ctrl", and so does the hidden label of a list there, such
// as "Entire screen: Key", for screen readers.
void ApplyHiddenNames(const Texts& texts, PreferencesPages& pages) {
  // A fixed text has no identifier to look it up by: it is its row's.
  const auto shown = [&pages](const ControlLayout& row) {
    return row.id == kNoControlId ? std::string(row.text) : WithoutAccessKey(WindowText(pages.Control(row.id)));
  };
  for (const PageLayout& page : kPageLayouts) {
    for (size_t row = 0; row < page.controls.size(); ++row) {
      const ControlKind kind = page.controls[row].kind;
      if (kind != ControlKind::BareCheck && kind != ControlKind::HiddenLabel) continue;
      const ControlLayout* label = RowLabelOf(page.controls, row);
      const ControlLayout* head = ColumnHeadOf(page.controls, row);
      if (!label || !head) continue;
      const std::string name =
          FillFields(texts[TextId::GeneralShortcutsBox], {{"%SHORTCUT%", shown(*label)}, {"%KEY%", shown(*head)}});
      SetWindowTextOf(pages.Control(page.controls[row].id), LiteralCaption(name));
    }
  }
  pages.SetSwatchCaption(WithoutAccessKey(texts[TextId::WatermarkFontColor]));
  SetWindowTextOf(pages.Control(IDC_TRANSPARENCY), WithoutAccessKey(texts[TextId::WatermarkTransparency]));
}

}  // namespace

void ApplyTexts(const Texts& texts, PreferencesPages& pages) {
  for (const TextRow& row : kTextRows) Apply(row, texts[row.id], pages);
  ApplyAccessKeys(texts, pages);
  ApplyHiddenNames(texts, pages);
  // The default action names two tray menu items, which read here without their keys.
  const HWND defaultAction = pages.Control(IDC_DEFAULT_ACTION);
  const int selected = SelectedIndex(defaultAction);
  std::vector<std::string> actions;
  for (TextId item : kDefaultActionItems) actions.push_back(WithoutAccessKey(texts[item]));
  FillList(defaultAction, actions);
  SelectIndex(defaultAction, selected);
  pages.SetFolderPickerTitle(texts[TextId::PrintingFolderTitle]);
  pages.SetMissingPrinterCaption(texts[TextId::PrintingPrinterNotInstalled]);
  // The page control is named after the tab it shows, in the new language.
  pages.SelectPage(pages.CurrentPage());
  // Captions of another length: the controls make room for them.
  pages.LayOut();
}

Texts ApplySelectedLanguage(PreferencesPages& pages) {
  Texts texts(OpenLanguageFile(pages.SelectedLanguagePath()));
  ApplyTexts(texts, pages);
  return texts;
}
