#include "core/commands/command_line.h"

#include "core/ascii_text.h"

namespace {

constexpr std::string_view kOptionMarks = "/-";

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string> arguments) {
  if (arguments.empty()) return {};
  if (arguments.size() > 1) return {CommandLineKind::Usage};
  const std::string_view argument = arguments.front();
  if (argument.empty() || kOptionMarks.find(argument.front()) == std::string_view::npos) {
    return {CommandLineKind::Usage};
  }
  const int command = CommandOfOption(argument.substr(1));
  return command == 0 ? CommandLine{CommandLineKind::Usage} : CommandLine{CommandLineKind::Command, command};
}

int CommandOfOption(std::string_view name) {
  for (const CommandLineOption& option : kCommandLineOptions) {
    if (AsciiSameText(name, option.name)) return option.command;
  }
  return 0;
}

const char* OptionOfCommand(int command) {
  for (const CommandLineOption& option : kCommandLineOptions) {
    if (option.command == command) return option.name;
  }
  return nullptr;
}

std::string CommandLineUsage(const Texts& texts) {
  std::string usage = texts[TextId::CommandLineOptions] + "\n";
  for (const CommandLineOption& option : kCommandLineOptions) {
    usage += "\n/" + std::string(option.name) + "\t" + texts[option.meaning];
  }
  return usage;
}
