#pragma once
// The product's web addresses. The home page is opened by the shell; the
// about window shows both addresses as plain text.
#include <string_view>

// The host part of a web address: what follows the scheme, up to the path.
constexpr std::string_view HostOf(std::string_view address) {
  if (const auto scheme = address.find("://"); scheme != std::string_view::npos) address.remove_prefix(scheme + 3);
  return address.substr(0, address.find_first_of("/?#"));
}

inline constexpr const char* kHomePageAddress = "https://www.vorlane-print.com/";
inline constexpr std::string_view kHomePageHost = HostOf(kHomePageAddress);
inline constexpr const char* kMakerAddress = "www.telmaric-software.com";
