#pragma once
// Hands the help file and the home page to the shell.
#include <windows.h>

#include <string>

// Opens the help file at that path (see HelpFilePath) with whatever the system
// uses for it; the owner parents any window the shell shows.
void OpenHelp(HWND owner, const std::string& path);

// Opens the product's home page in the user's web browser.
void OpenHomePage(HWND owner);
