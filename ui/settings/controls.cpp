#include "ui/settings/controls.h"

#include <commctrl.h>

#include <algorithm>

#include "base/system_text.h"

LRESULT Send(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(control, message, wParam, lParam);
}

std::string WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return Narrow(text);
}

void SetWindowTextOf(HWND window, const std::string& text) { SetWindowTextW(window, Wide(text).c_str()); }

bool Ticked(HWND box) { return Send(box, BM_GETCHECK) == BST_CHECKED; }

void SetTicked(HWND box, bool ticked) { Send(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED); }

int SelectedIndex(HWND list) { return static_cast<int>(Send(list, CB_GETCURSEL)); }

void SelectIndex(HWND list, int32_t index) {
  const auto count = static_cast<int32_t>(Send(list, CB_GETCOUNT));
  Send(list, CB_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < count ? index : -1));
}

std::string ItemText(HWND list, int index) {
  const LRESULT length = Send(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = Send(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
  return Narrow(text);
}

std::vector<std::string> Items(HWND list) {
  std::vector<std::string> items;
  const auto count = static_cast<int>(Send(list, CB_GETCOUNT));
  items.reserve(static_cast<size_t>(std::max(count, 0)));
  for (int i = 0; i < count; ++i) items.push_back(ItemText(list, i));
  return items;
}

std::string SelectedText(HWND list) {
  const int index = SelectedIndex(list);
  return index < 0 ? std::string() : ItemText(list, index);
}

void AddItem(HWND list, const std::string& text) {
  Send(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

int FindItem(HWND list, const std::string& text) {
  const LRESULT found =
      Send(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(Wide(text).c_str()));
  return found == CB_ERR ? -1 : static_cast<int>(found);
}

void FillList(HWND list, const std::vector<std::string>& items) {
  Send(list, CB_RESETCONTENT);
  for (const std::string& item : items) AddItem(list, item);
}

void ReplaceItem(HWND list, int index, const std::string& text) {
  const LRESULT selected = Send(list, CB_GETCURSEL);
  Send(list, CB_DELETESTRING, static_cast<WPARAM>(index));
  Send(list, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(Wide(text).c_str()));
  Send(list, CB_SETCURSEL, static_cast<WPARAM>(selected));
}

void AddStyle(HWND control, LONG_PTR style) {
  SetWindowLongPtrW(control, GWL_STYLE, GetWindowLongPtrW(control, GWL_STYLE) | style);
  InvalidateRect(control, nullptr, TRUE);
}

namespace {

void SendTabTitle(HWND tabs, UINT message, int index, const std::string& title) {
  std::wstring text = Wide(title);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  Send(tabs, message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

void InsertTab(HWND tabs, int index, const std::string& title) { SendTabTitle(tabs, TCM_INSERTITEMW, index, title); }

void SetTabTitle(HWND tabs, int index, const std::string& title) { SendTabTitle(tabs, TCM_SETITEMW, index, title); }

std::string TabTitle(HWND tabs, int index) {
  wchar_t text[256] = L"";
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = static_cast<int>(std::size(text));
  Send(tabs, TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return Narrow(item.pszText);
}
