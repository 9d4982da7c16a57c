#include "core/output/file_printer.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

TEST(FilePrinter, PortsAndDriversNameTheFileKind) {
  for (const char* port : {"FILE:", "file:", "PORTPROMPT:", "PortPrompt:"}) EXPECT_TRUE(IsFilePort(port)) << port;
  for (const char* port : {"", "LPT1:", "CUPS:VorlanePDF", "FILE", "C:\\out\\FILE:", "nul:"}) {
    EXPECT_FALSE(IsFilePort(port)) << port;
  }
  const struct {
    const char* driver;
    const char* extension;
  } drivers[] = {
      {"Microsoft Print To PDF", ".pdf"},
      {"Generic pdf writer", ".pdf"},
      {"Microsoft XPS Document Writer v4", ".xps"},
      {"HP LaserJet 4", ".prn"},
      {"", ".prn"},
  };
  for (const auto& d : drivers) EXPECT_EQ(FileExtensionForDriver(d.driver), d.extension) << d.driver;
}

TEST(FilePrinter, NamesCountUpAndNeverReuseAFile) {
  const LocalTime time{2026, 3, 7, 9, 5, 1};
  EXPECT_EQ(PageFileName(time, 1, ".pdf"), "Vorlane 2026-03-07 09-05-01.pdf");
  EXPECT_EQ(PageFileName(time, 2, ".pdf"), "Vorlane 2026-03-07 09-05-01 (2).pdf");
  EXPECT_EQ(PageFileName({2026, 12, 31, 23, 59, 59}, 12, ".prn"), "Vorlane 2026-12-31 23-59-59 (12).prn");

  // Three shots in one second: each takes the next free name.
  std::set<std::string> folder;
  const auto claim = [&](const std::string& name) {
    return folder.insert(name).second ? Claim::Claimed : Claim::Taken;
  };
  std::vector<std::string> names;
  for (int shot = 0; shot < 3; ++shot) names.push_back(ClaimPageFileName(time, ".xps", claim));
  EXPECT_EQ(names, (std::vector<std::string>{"Vorlane 2026-03-07 09-05-01.xps", "Vorlane 2026-03-07 09-05-01 (2).xps",
                                             "Vorlane 2026-03-07 09-05-01 (3).xps"}));

  int tries = 0;
  EXPECT_EQ(ClaimPageFileName(time, ".pdf", [&](const std::string&) { return ++tries, Claim::Failed; }), "");
  EXPECT_EQ(tries, 1) << "a folder that cannot be written is not tried again";
  // A folder where every name is taken: each name is tried once, from the
  // first to the last there is, and the search ends.
  std::vector<std::string> tried;
  EXPECT_EQ(
      ClaimPageFileName(time, ".pdf", [&](const std::string& name) { return tried.push_back(name), Claim::Taken; }),
      "");
  EXPECT_EQ(tried.size(), 10000u);
  EXPECT_EQ(std::set<std::string>(tried.begin(), tried.end()).size(), tried.size());
  EXPECT_EQ(tried.front(), "Vorlane 2026-03-07 09-05-01.pdf");
  EXPECT_EQ(tried.back(), "Vorlane 2026-03-07 09-05-01 (10000).pdf");
  EXPECT_EQ(LastPageFileName(time, ".pdf"), tried.back());
}
