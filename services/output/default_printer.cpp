#include "services/output/default_printer.h"

#include <windows.h>

#include <winspool.h>

std::string SystemDefaultPrinter() {
  DWORD size = 0;
  GetDefaultPrinterA(nullptr, &size);
  if (size == 0) return {};
  std::string name(size, '\0');
  if (!GetDefaultPrinterA(name.data(), &size)) return {};
  return name.substr(0, name.find('\0'));
}
