#include "base/system_text.h"

#include <windows.h>

#include "base/unicode.h"

std::wstring Wide(std::string_view utf8) {
  const std::u16string units = Utf8ToUtf16(utf8);
  return std::wstring(units.begin(), units.end());
}

std::string Narrow(std::wstring_view wide) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

std::string FromAnsiCodePage(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  if (length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length);
  return Narrow(wide);
}

bool SameTextInUserLocale(const std::string& a, const std::string& b) {
  const std::wstring left = Wide(a);
  const std::wstring right = Wide(b);
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, left.data(), static_cast<int>(left.size()), right.data(),
                        static_cast<int>(right.size())) == CSTR_EQUAL;
}
