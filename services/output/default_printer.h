#pragma once
#include <string>

// The name of the system's default printer; empty when there is none.
std::string SystemDefaultPrinter();
