#include "info/help.h"

#include "app/paths.h"

std::string HelpFilePath(const std::string& executablePath, const std::string& helpFileName) {
  return DirectoryOf(executablePath) + "help\\" + helpFileName;
}
