#include "services/information/help.h"

#include <shellapi.h>

#include "core/information/home_page.h"

// A missing help file or a missing browser is the shell's to report: the
// results are ignored on purpose.
void OpenHelp(HWND owner, const std::string& path) {
  (void)ShellExecuteA(owner, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenHomePage(HWND owner) { (void)ShellExecuteA(owner, "open", kHomePageAddress, nullptr, nullptr, SW_SHOW); }
