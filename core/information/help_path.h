#pragma once
// Where the help file of the current language lives.
#include <string>

// The folder "help" beside the executable, followed by the help file name as
// it stands (the caller has already made it safe).
std::string HelpFilePath(const std::string& executablePath, const std::string& helpFileName);
