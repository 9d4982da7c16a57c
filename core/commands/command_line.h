#pragma once
// The program's command line: no argument starts it as it always started,
// one option names a command of the tray's for the running copy. An option
// is its name after "/" or "-", in any letter case.
#include <span>
#include <string>
#include <string_view>

#include "core/languages/texts.h"
#include "resources/resource.h"

struct CommandLineOption {
  const char* name;  // as written after the "/"
  int command;       // the IDM_ command it gives the main window
  TextId meaning;    // what the usage box says it does
};

inline constexpr CommandLineOption kCommandLineOptions[] = {
    {"screen", IDM_ENTIRE_SCREEN, TextId::TakeEntireScreen},
    {"window", IDM_ACTIVE_WINDOW, TextId::TakeActiveWindow},
    {"region", IDM_REGION, TextId::TakeRegion},
    {"preferences", IDM_PREFERENCES, TextId::Preferences},
    {"about", IDM_ABOUT, TextId::About},
    {"exit", IDM_EXIT, TextId::Exit},
};

enum class CommandLineKind {
  Plain,    // no argument
  Command,  // one option the table knows
  Usage,    // anything else, "/?" among it: the usage box, and exit code 2
};

struct CommandLine {
  CommandLineKind kind = CommandLineKind::Plain;
  int command = 0;  // an IDM_ command, for Command only

  bool operator==(const CommandLine&) const = default;
};

// How the running copy answered an option handed to it. Each answer is the
// exit code of the copy that handed the option.
enum class HandOff {
  Taken = 0,     // carried out, or to be carried out in its turn
  NotTaken = 1,  // no copy answered within the limit, or it was ending
  Refused = 3,   // the running copy cannot take it now, and says why in a box
};
inline constexpr int kUsageExitCode = 2;  // anything else on the command line

// The arguments after the program's own name.
CommandLine ParseCommandLine(std::span<const std::string> arguments);

// The command an option's name gives, as a running copy is handed the name;
// 0 for a name the table does not have.
int CommandOfOption(std::string_view name);

// The option that gives a command; nullptr for a command no option gives.
const char* OptionOfCommand(int command);

// The usage box's text: a line of introduction, then each option with what
// it does, in the language of the texts.
std::string CommandLineUsage(const Texts& texts);
