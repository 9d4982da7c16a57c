#pragma once
// Handing a command from the command line to the copy that runs already:
// its main window is sent the option's name with WM_COPYDATA.
#include <windows.h>

#include <string>

#include "core/commands/command_line.h"

// What a WM_COPYDATA message carrying an option says it carries.
inline constexpr ULONG_PTR kHandedOptionTag = 0x566C4F70;  // "VlOp"

// What the running copy answers a WM_COPYDATA message with: TRUE when it
// takes the option, this when it refuses it for now, FALSE when it carries none.
inline constexpr LRESULT kOptionRefused = 2;

// How long a new copy waits for the running one to take its command.
inline constexpr DWORD kHandOffLimitMs = 5000;

// Tells copies started later that this copy's main window takes commands now.
// Called once; the announcement lasts as long as the process.
void AnnounceCommandWindow();

// Sends the option's name to the top-level window of that class once the
// running copy has announced it, and waits for its answer and, for an option
// that ends that copy, for its end: whoever called the new copy may then
// rely on it. NotTaken when this did not happen within the limit.
HandOff HandToRunningCopy(const std::string& windowClass, const std::string& option, bool endsCopy, DWORD limitMs);

// The option's name a WM_COPYDATA message hands over; empty for a message
// that carries none.
std::string HandedOption(const COPYDATASTRUCT& data);
