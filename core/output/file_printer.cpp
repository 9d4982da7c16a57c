#include "core/output/file_printer.h"

#include "core/ascii_text.h"

namespace {

// A folder holds many files, but a loop that never ends is worse than one
// failed shot.
constexpr int kMostCopies = 10000;

bool Holds(std::string_view text, std::string_view upperWord) {
  return AsciiUpper(text).find(upperWord) != std::string::npos;
}

}  // namespace

bool IsFilePort(std::string_view port) { return AsciiSameText(port, "FILE:") || AsciiSameText(port, "PORTPROMPT:"); }

std::string FileExtensionForDriver(std::string_view driverName) {
  if (Holds(driverName, "PDF")) return ".pdf";
  if (Holds(driverName, "XPS")) return ".xps";
  return ".prn";
}

std::string PageFileName(const LocalTime& time, int copy, std::string_view extension) {
  const auto two = [](int value) { return ZeroPadded(static_cast<uint32_t>(value), 2); };
  std::string result = "Vorlane " + ZeroPadded(static_cast<uint32_t>(time.year), 4) + "-" + two(time.month) + "-" +
                       two(time.day) + " " + two(time.hour) + "-" + two(time.minute) + "-" + two(time.second);
  if (copy > 1) result += " (" + std::to_string(copy) + ")";
  return result.append(extension);
}

std::string LastPageFileName(const LocalTime& time, std::string_view extension) {
  return PageFileName(time, kMostCopies, extension);
}

std::string ClaimPageFileName(const LocalTime& time, std::string_view extension,
                              const std::function<Claim(const std::string& name)>& claim) {
  for (int copy = 1; copy <= kMostCopies; ++copy) {
    std::string name = PageFileName(time, copy, extension);
    switch (claim(name)) {
      case Claim::Claimed:
        return name;
      case Claim::Taken:
        continue;
      case Claim::Failed:
        return {};
    }
  }
  return {};
}
