#include "ui/languages/apply_texts.h"

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

}  // namespace

void ApplyTexts(const Texts& texts, PreferencesPages& pages) {
  for (const TextRow& row : kTextRows) Apply(row, texts[row.id], pages);
  const HWND defaultAction = pages.Control(IDC_DEFAULT_ACTION);
  const int selected = SelectedIndex(defaultAction);
  std::vector<std::string> actions;
  for (TextId item : kDefaultActionItems) actions.push_back(texts[item]);
  FillList(defaultAction, actions);
  SelectIndex(defaultAction, selected);
  pages.SetFolderPickerTitle(texts[TextId::PrintingFolderTitle]);
  // Captions of another length: the controls make room for them.
  pages.LayOut();
}

Texts ApplySelectedLanguage(PreferencesPages& pages) {
  Texts texts(OpenLanguageFile(pages.SelectedLanguagePath()));
  ApplyTexts(texts, pages);
  return texts;
}
