#include "core/languages/access_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(AccessKeys, EachCaptionOfAPageGetsAKeyNoOtherHas) {
  using Captions = std::vector<std::string>;
  const struct {
    const char* name;
    Captions taken;
    Captions captions;
    Captions expected;
  } cases[] = {
      {"English Printing page, below Apply",
       {"&Apply"},
       {"Printer", "Properties", "Fit to page", "Position", "Orientation", "Copies", "Print in grayscale",
        "Save pages of file printers without asking", "Folder", "Browse..."},
       {"&Printer", "P&roperties", "&Fit to page", "P&osition", "Or&ientation", "&Copies", "Print in &grayscale",
        "&Save pages of file printers without asking", "Fo&lder", "&Browse..."}},
      {"German Printing page: a letter with an umlaut is a letter of its own",
       {"&\xC3\x9C"
        "bernehmen"},
       {"Drucker", "Properties", "An Seite anpassen", "Position", "Ausrichtung", "Exemplare", "In Graustufen drucken",
        "Seiten von Dateidruckern ohne Nachfrage speichern", "Ordner", "Durchsuchen..."},
       {"&Drucker", "&Properties", "&An Seite anpassen", "P&osition", "A&usrichtung", "&Exemplare",
        "&In Graustufen drucken", "&Seiten von Dateidruckern ohne Nachfrage speichern", "O&rdner", "Dur&chsuchen..."}},
      {"French tray menu: an accented capital is a word's first letter",
       {},
       {"Pr\xC3\xA9"
        "f\xC3\xA9rences",
        "Lancer au d\xC3\xA9marrage de Windows", "Aide", "\xC3\x80 propos", "Quitter"},
       {"&Pr\xC3\xA9"
        "f\xC3\xA9rences",
        "&Lancer au d\xC3\xA9marrage de Windows", "&Aide", "&\xC3\x80 propos", "&Quitter"}},
      {"Spanish tray menu: the first letter of a later word",
       {},
       {"Preferencias", "Iniciar con Windows", "Ayuda", "Acerca de", "Salir"},
       {"&Preferencias", "&Iniciar con Windows", "&Ayuda", "Acerca &de", "&Salir"}},
      {"an own key is kept while it is free", {}, {"Te&xt", "&Timer"}, {"Te&xt", "&Timer"}},
      {"an own key taken before is chosen anew", {"&Apply"}, {"&About", "&Timer"}, {"A&bout", "&Timer"}},
      {"letters count without regard to case",
       {},
       {"\xC3\x89"
        "cran",
        "\xC3\xA9"
        "t\xC3\xA9"},
       {"&\xC3\x89"
        "cran",
        "\xC3\xA9&t\xC3\xA9"}},
      {"an ampersand stays one", {}, {"Drag && drop", "Print & save"}, {"&Drag && drop", "&Print && save"}},
      {"no free letter: one in brackets", {}, {"ab", "ba", "a"}, {"&ab", "&ba", "a (&C)"}},
      {"the last free letter in brackets",
       {"&A", "&B", "&C", "&D", "&E", "&F", "&G", "&H", "&I", "&J", "&K", "&L", "&M",
        "&N", "&O", "&P", "&Q", "&R", "&S", "&T", "&U", "&V", "&W", "&X", "&Y"},
       {"a"},
       {"a (&Z)"}},
      {"a word begins after any sign", {"&Apply"}, {"(alpha) [beta]"}, {"(alpha) [&beta]"}},
      {"an empty caption stays empty", {}, {""}, {""}},
      {"a blank caption stays blank", {}, {"  "}, {"  "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Captions chosen = ChooseAccessKeys(c.captions, c.taken);
    EXPECT_EQ(chosen, c.expected);
    for (size_t i = 0; i < chosen.size(); ++i) {
      EXPECT_TRUE(WithoutAccessKey(chosen[i]).starts_with(WithoutAccessKey(c.captions[i])))
          << "the caption reads as before, with at most a key in brackets after it";
    }
  }
}

TEST(AccessKeys, CaptionsReadWithoutTheirMarks) {
  const struct {
    const char* caption;
    const char* reads;
    const char* key;
  } cases[] = {
      {"&Apply", "Apply", "a"},
      {"Fo&lder", "Folder", "l"},
      {"&\xC3\x89"
       "cran",
       "\xC3\x89"
       "cran",
       "\xC3\xA9"},
      {"Drag && drop", "Drag & drop", ""},
      {"&&&Save", "&Save", "s"},
      {"Trailing &", "Trailing &", ""},
      {"& space", "& space", ""},
      // The first and last letter of each range a key may be, and the capitals folded to their small letters:
      // A-Z, 0-9, Latin-1, Greek, Cyrillic; an own key before the last letter.
      {"&Z", "Z", "z"},
      {"&z", "z", "z"},
      {"&0", "0", "0"},
      {"&9", "9", "9"},
      {"&\xC3\x9Eorn", "\xC3\x9Eorn", "\xC3\xBE"},
      {"&\xC3\x9F", "\xC3\x9F", "\xC3\x9F"},
      {"&\xC3\xBF", "\xC3\xBF", "\xC3\xBF"},
      {"&\xCE\x91", "\xCE\x91", "\xCE\xB1"},
      {"&\xCE\xA9", "\xCE\xA9", "\xCF\x89"},
      {"&\xCE\xB1", "\xCE\xB1", "\xCE\xB1"},
      {"&\xCF\x89", "\xCF\x89", "\xCF\x89"},
      {"&\xD0\x90", "\xD0\x90", "\xD0\xB0"},
      {"&\xD0\xAF", "\xD0\xAF", "\xD1\x8F"},
      {"&\xD0\xB0", "\xD0\xB0", "\xD0\xB0"},
      {"&\xD1\x9F", "\xD1\x9F", "\xD1\x9F"},
      {"&\xD0\x80", "\xD0\x80", "\xD1\x90"},
      {"&\xD0\x8F", "\xD0\x8F", "\xD1\x9F"},
      {"Fi&x", "Fix", "x"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithoutAccessKey(c.caption), c.reads) << c.caption;
    EXPECT_EQ(AccessKeyOf(c.caption), c.key) << c.caption;
  }
  EXPECT_EQ(LiteralCaption("Fish & Chips, 10pt"), "Fish && Chips, 10pt");
  EXPECT_EQ(WithoutAccessKey(LiteralCaption("A & B && C")), "A & B && C");
}
