#include "core/commands/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ParseRow {
  std::vector<std::string> arguments;
  CommandLine expected;
};

constexpr CommandLine kUsage{CommandLineKind::Usage};

CommandLine Gives(int command) { return {CommandLineKind::Command, command}; }

}  // namespace

TEST(CommandLine, OneOptionAfterASlashOrADashInAnyCaseGivesItsCommand) {
  const ParseRow rows[] = {
      {{}, {}},
      {{"/screen"}, Gives(IDM_ENTIRE_SCREEN)},
      {{"-screen"}, Gives(IDM_ENTIRE_SCREEN)},
      {{"/SCREEN"}, Gives(IDM_ENTIRE_SCREEN)},
      {{"/window"}, Gives(IDM_ACTIVE_WINDOW)},
      {{"-Window"}, Gives(IDM_ACTIVE_WINDOW)},
      {{"/region"}, Gives(IDM_REGION)},
      {{"/preferences"}, Gives(IDM_PREFERENCES)},
      {{"-PreFerences"}, Gives(IDM_PREFERENCES)},
      {{"/about"}, Gives(IDM_ABOUT)},
      {{"/exit"}, Gives(IDM_EXIT)},
      {{"-EXIT"}, Gives(IDM_EXIT)},
  };
  for (const ParseRow& row : rows) {
    EXPECT_EQ(ParseCommandLine(row.arguments), row.expected) << ::testing::PrintToString(row.arguments);
  }
}

TEST(CommandLine, AnythingElseAsksForTheUsage) {
  const ParseRow rows[] = {
      {{"/?"}, kUsage},
      {{"-?"}, kUsage},
      {{""}, kUsage},
      {{"/"}, kUsage},
      {{"screen"}, kUsage},    // no mark
      {{"//screen"}, kUsage},  // two marks
      {{"\\screen"}, kUsage},  // a backslash is no mark
      {{"/scr"}, kUsage},      // a part of a name
      {{"/screens"}, kUsage},  // more than a name
      {{"/screen "}, kUsage},  // a blank inside the quotes
      {{"/help"}, kUsage},
      {{"/\xC3\xA9xit"}, kUsage},      // only ASCII letters fold
      {{"/screen", "/exit"}, kUsage},  // one option at a time
      {{"/screen", "/screen"}, kUsage},
  };
  for (const ParseRow& row : rows) {
    EXPECT_EQ(ParseCommandLine(row.arguments), row.expected) << ::testing::PrintToString(row.arguments);
  }
}

TEST(CommandLine, EveryOptionIsHandedOnByNameAndTakenBackToItsCommand) {
  for (const CommandLineOption& option : kCommandLineOptions) {
    EXPECT_EQ(CommandOfOption(option.name), option.command) << option.name;
    EXPECT_STREQ(OptionOfCommand(option.command), option.name);
  }
  // What a running copy may be sent by someone else.
  EXPECT_EQ(CommandOfOption(""), 0);
  EXPECT_EQ(CommandOfOption("/screen"), 0);
  EXPECT_EQ(CommandOfOption("help"), 0);
  EXPECT_EQ(OptionOfCommand(IDM_HELP), nullptr);
  EXPECT_EQ(OptionOfCommand(0), nullptr);
}

TEST(CommandLine, TheUsageNamesEveryOptionWithWhatItDoesInTheLanguageOfTheTexts) {
  EXPECT_EQ(CommandLineUsage(Texts()),
            "Vorlane.exe understands one of these options, written with / or -:\n"
            "\n/screen\tTake entire screen"
            "\n/window\tTake active window"
            "\n/region\tTake region"
            "\n/preferences\tPreferences"
            "\n/about\tAbout"
            "\n/exit\tExit");
  const Texts german([](const std::string& section, const std::string& key, const std::string& fallback) {
    if (section == "Messages" && key == "CommandLineOptions") return std::string("Optionen:");
    if (section == "TrayMenu" && key == "Exit") return std::string("Beenden");
    return fallback;
  });
  const std::string usage = CommandLineUsage(german);
  EXPECT_TRUE(usage.starts_with("Optionen:\n")) << usage;
  EXPECT_TRUE(usage.ends_with("\n/exit\tBeenden")) << usage;
}
