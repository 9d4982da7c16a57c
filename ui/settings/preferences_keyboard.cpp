// The Preferences pages from the keyboard: the order Tab follows, the pages
// in a ring, and the keys of the language list and the link.
#include <algorithm>
#include <vector>

#include "ui/settings/preferences_pages.h"

namespace {

// By its own style: the window around it may be hidden still.
bool IsTabStop(HWND control) {
  const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
  return (style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE);
}

}  // namespace

HWND PreferencesPages::NextTabStop(HWND from, bool backwards) const {
  std::vector<HWND> order{tabs_.get()};
  const std::vector<HWND>& page = controls_[static_cast<size_t>(CurrentPage())];
  order.insert(order.end(), page.begin(), page.end());
  for (const owners::Window& button : buttons_) order.push_back(button.get());
  // From a control that is no tab stop, such as a label, the search starts
  // at its place in the order; from outside the order, at either end.
  const auto found = std::ranges::find(order, from);
  const size_t count = order.size();
  size_t at = found != order.end() ? static_cast<size_t>(found - order.begin()) : backwards ? 0 : count - 1;
  for (size_t step = 0; step < count; ++step) {
    at = backwards ? (at + count - 1) % count : (at + 1) % count;
    if (IsTabStop(order[at])) return order[at];
  }
  return nullptr;
}

void PreferencesPages::FocusFirstControl() const {
  if (HWND first = NextTabStop(tabs_.get(), false)) SetFocus(first);
}

void PreferencesPages::SelectNextPage(bool backwards) {
  const int current = static_cast<int>(CurrentPage());
  SelectPage(static_cast<Page>((current + (backwards ? kPageCount - 1 : 1)) % kPageCount));
  FocusFirstControl();
}

void LanguageListKeys::Attach(HWND list, PreferencesPages& pages) {
  pages_ = &pages;
  Subclass::Attach(list);
}

LRESULT LanguageListKeys::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // With Alt held the key comes as a system key.
  if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && wParam == VK_F5) pages_->RefreshLanguages();
  return DefaultHandling(message, wParam, lParam);
}

void LinkKeys::Attach(HWND link, PreferencesPages& pages) {
  pages_ = &pages;
  Subclass::Attach(link);
}

LRESULT LinkKeys::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_KEYDOWN && wParam == VK_SPACE) {
    pages_->OpenHomePage();
    return 0;
  }
  return DefaultHandling(message, wParam, lParam);
}
