#pragma once
// Where the program and the folders beside it are.
#include <string>

// The folder part of a path, with its trailing separator; empty when the
// path has none. A drive separator counts too, so "C:Vorlane.exe" keeps "C:".
std::string DirectoryOf(const std::string& path);

// The full path of the running executable, as the system reports it.
std::string ExecutablePath();

// The folder of the running executable, with its trailing separator.
std::string ProgramDirectory();
