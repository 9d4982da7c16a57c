#pragma once
// Printers that write to a file instead of paper ("Print to PDF", the XPS
// writer, any printer set to print to a file): how to tell them, and the
// names of the files their pages go to without asking.
#include <functional>
#include <string>
#include <string_view>

// True for the ports whose printer asks for a file name at every job.
bool IsFilePort(std::string_view port);

// ".pdf" when the driver's name holds "PDF", ".xps" when it holds "XPS",
// ".prn" otherwise; either case.
std::string FileExtensionForDriver(std::string_view driverName);

struct LocalTime {
  int year, month, day, hour, minute, second;
};

// "Vorlane YYYY-MM-DD HH-MM-SS", then " (2)", " (3)" and so on for copy 2,
// 3, ..., then the extension.
std::string PageFileName(const LocalTime& time, int copy, std::string_view extension);

// The last of those names there is: the longest.
std::string LastPageFileName(const LocalTime& time, std::string_view extension);

// The first of the names above for which claim succeeds. claim takes a file
// name and answers Claimed, Taken (try the next) or Failed (stop: the folder
// cannot take it). Empty when none was claimed.
enum class Claim { Claimed, Taken, Failed };
std::string ClaimPageFileName(const LocalTime& time, std::string_view extension,
                              const std::function<Claim(const std::string& name)>& claim);
