#pragma once
// Owners only the tests need, on the program's owner template.
#include <windows.h>

#include "base/owners.h"

namespace test_owners {

inline void FreeLibraryModule(HMODULE module) { FreeLibrary(module); }
using Module = owners::Owner<HMODULE, FreeLibraryModule>;  // LoadLibraryExA

}  // namespace test_owners
