#include "info/help.h"

std::string HelpFilePath(const std::string& executablePath, const std::string& helpFileName) {
  // The drive separator counts too, so "C:Vorlane.exe" keeps its drive.
  const auto cut = executablePath.find_last_of("\\/:");
  const std::string directory = cut == std::string::npos ? std::string() : executablePath.substr(0, cut + 1);
  return directory + "help\\" + helpFileName;
}
