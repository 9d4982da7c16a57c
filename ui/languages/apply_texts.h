#pragma once
// Puts the texts of a language on the Preferences window.
#include "core/languages/texts.h"

class PreferencesPages;

// Every text with a place on the window goes there: the window's title,
// captions, group boxes, tab titles and list items. The default-action list
// is made anew from the two tray menu items it names. The lists keep their
// selected index, and the window is laid out again for the new captions.
void ApplyTexts(const Texts& texts, PreferencesPages& pages);

// The texts of the language selected on the pages, read from its file once
// and put on the pages.
Texts ApplySelectedLanguage(PreferencesPages& pages);
