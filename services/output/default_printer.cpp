#include "services/output/default_printer.h"

#include <windows.h>

#include <winspool.h>

#include "base/system_text.h"

std::string SystemDefaultPrinter() {
  DWORD size = 0;
  GetDefaultPrinterW(nullptr, &size);
  if (size == 0) return {};
  std::wstring name(size, L'\0');
  if (!GetDefaultPrinterW(name.data(), &size)) return {};
  return Narrow(std::wstring_view(name).substr(0, name.find(L'\0')));
}
