#include "core/information/help_path.h"

#include "base/paths.h"

std::string HelpFilePath(const std::string& executablePath, const std::string& helpFileName) {
  return DirectoryOf(executablePath) + "help\\" + helpFileName;
}
