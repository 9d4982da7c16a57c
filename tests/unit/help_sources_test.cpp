// The help sources against the program's own tables: the language-file page
// lists every translatable text with its English, the hot-key page names
// every key of the Key list, and the help project builds the file the
// program opens.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/capture/key_names.h"
#include "core/languages/texts.h"

namespace {

const std::filesystem::path kHelpSources = std::filesystem::path(__FILE__).parent_path() / "../../help/src";

std::string ReadSource(const std::string& name) {
  std::ifstream file(kHelpSources / name, std::ios::binary);
  EXPECT_TRUE(file) << name;
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string Unescape(std::string text) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
  for (const auto& [entity, character] : entities) {
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
      text.replace(at, std::string(entity).size(), character);
  }
  return text;
}

std::string Escape(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '&')
      escaped += "&amp;";
    else if (c == '<')
      escaped += "&lt;";
    else if (c == '>')
      escaped += "&gt;";
    else
      escaped += c;
  }
  return escaped;
}

// The first two cells of every data row of the table with that id.
std::vector<std::pair<std::string, std::string>> TableRows(const std::string& page, const std::string& id) {
  std::vector<std::pair<std::string, std::string>> rows;
  const size_t start = page.find("<table id=\"" + id + "\">");
  if (start == std::string::npos) return rows;
  const size_t end = page.find("</table>", start);
  const std::string open = "<td>", close = "</td>";
  for (size_t row = page.find("<tr>", start); row < end; row = page.find("<tr>", row + 1)) {
    const size_t first = page.find(open, row);
    if (first == std::string::npos || first > page.find("</tr>", row)) continue;  // the heading row
    const size_t firstEnd = page.find(close, first);
    const size_t second = page.find(open, firstEnd);
    const size_t secondEnd = page.find(close, second);
    rows.emplace_back(Unescape(page.substr(first + open.size(), firstEnd - first - open.size())),
                      Unescape(page.substr(second + open.size(), secondEnd - second - open.size())));
  }
  return rows;
}

TEST(HelpSources, LanguagePageListsEveryTextInOrder) {
  const std::string page = ReadSource("language_files.html");
  for (const char* section : {"FileInfo", "PreferencesWindow", "TrayMenu", "Messages", "Policies", "RegionWindow"}) {
    std::vector<std::pair<std::string, std::string>> expected;
    for (const TextRow& entry : kTextRows) {
      if (std::string(entry.section) == section) expected.emplace_back(entry.key, entry.english);
    }
    EXPECT_FALSE(expected.empty()) << section;
    EXPECT_EQ(TableRows(page, section), expected) << section;
  }
  EXPECT_NE(page.find("The " + std::to_string(kTextCount) + " texts"), std::string::npos);
}

TEST(HelpSources, HotKeyPageNamesEveryKeyOfTheList) {
  const std::string page = ReadSource("hotkeys.html");
  // Letters, digits and function keys are given as ranges.
  for (const char* range : {"<b>A</b> to <b>Z</b>", "<b>1</b> to <b>9</b> and <b>0</b>", "<b>F1</b> to <b>F12</b>"})
    EXPECT_NE(page.find(range), std::string::npos) << range;
  size_t previous = 0;
  for (const char* name : kKeyNames) {
    const std::string key = name;
    const bool inRange = (key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0]))) ||
                         (key.size() >= 2 && key[0] == 'F' && std::isdigit(static_cast<unsigned char>(key[1])));
    if (inRange) continue;
    const size_t at = page.find("<b>" + Escape(key) + "</b>", previous);
    EXPECT_NE(at, std::string::npos) << "key " << key << " missing or out of order";
    if (at != std::string::npos) previous = at;
  }
}

TEST(HelpSources, ProjectBuildsTheFileTheProgramOpens) {
  const std::string project = ReadSource("Vorlane.hhp");
  EXPECT_NE(project.find(std::string("Compiled file=") + kDefaultHelpFileName + "\n"), std::string::npos);
}

}  // namespace
