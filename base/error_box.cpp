#include "base/error_box.h"

#include <algorithm>
#include <vector>

#include "base/application.h"
#include "base/message_loop.h"
#include "base/system_text.h"

namespace {

std::vector<std::string> onScreen;  // texts of the boxes open now
std::vector<std::string> held;      // texts that wait for the print job

bool Contains(const std::vector<std::string>& texts, const std::string& text) {
  return std::ranges::find(texts, text) != texts.end();
}

}  // namespace

void ShowError(HWND window, const std::string& text) {
  if (PrintJobOpen()) {
    if (!Contains(held, text)) held.push_back(text);
    HoldForPrintJob(window, WM_SHOW_HELD_ERRORS, 0, 0);
    return;
  }
  if (Contains(onScreen, text)) return;
  onScreen.push_back(text);
  // In front of the region window too, which covers the screens from the front.
  MessageBoxW(nullptr, Wide(text).c_str(), Wide(kApplicationTitle).c_str(),
              MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
  onScreen.erase(std::ranges::find(onScreen, text));
}

void ShowMessage(HWND owner, const std::string& text) {
  MessageBoxW(owner, Wide(text).c_str(), Wide(kApplicationTitle).c_str(), MB_OK | MB_SETFOREGROUND);
}

void ShowHeldErrors(HWND window) {
  std::vector<std::string> texts;
  texts.swap(held);
  for (const std::string& text : texts) ShowError(window, text);
}
