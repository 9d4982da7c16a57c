#pragma once
// The printer object: the installed printers (taken once per run), the
// selected one with its device settings, and the one job that can be open.
// One per run, used only from the GUI thread.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/message_loop.h"
#include "base/owners.h"

inline constexpr const char* kNoDefaultPrinterError = "There is no default printer currently selected";
inline constexpr const char* kPrinterNotValidError = "Printer selected is not valid";
inline constexpr const char* kPrintingInProgressError = "Printing in progress";

// Local and connected printers by name, in the order the system gives them.
std::vector<std::string> EnumerateInstalledPrinters();

class Printer {
 public:
  using Enumerator = std::function<std::vector<std::string>()>;

  explicit Printer(Enumerator enumerate = EnumerateInstalledPrinters);
  ~Printer();
  Printer(const Printer&) = delete;
  Printer& operator=(const Printer&) = delete;

  // Enumerated on the first call and kept for the run.
  const std::vector<std::string>& PrinterNames();

  // The first entry equal to name without regard to case (user's locale);
  // -1, the system default printer, when there is none.
  int IndexOfPrinter(const std::string& name);

  int SelectedIndex() const { return index_; }
  // -1 selects the system default printer. Refused while a job is open.
  void SelectIndex(int index);
  // The selected printer's name; with -1 the default printer's, empty when
  // the default printer is not in the list.
  std::string SelectedPrinterName();

  // The system's printer set-up dialog for the printer at index (-1: the
  // default). Confirmed: its printer and device settings become current.
  bool SetupDialog(HWND owner, int index);

  bool Printing() const { return job_.has_value(); }

  // Opens the job on the selected printer: device context, abort procedure,
  // document and its one page. The spooler names the job after the document.
  // Throws and leaves no job open on failure.
  HDC BeginDoc(const char* documentName);
  // Ends the page and the document; the job is closed whatever they return.
  // Both do nothing when no job is open.
  void EndDoc();
  // Drops the open job.
  void AbortDoc();

 private:
  struct DeviceSettings {
    std::string printer;
    std::vector<std::byte> devmode;  // empty: the driver's defaults
    bool fromDialog = false;
  };

  int ResolvedIndex();
  const std::string& RequireSelectedPrinter();
  void UpdateDeviceSettings(const std::string& printer);

  Enumerator enumerate_;
  bool enumerated_ = false;
  std::vector<std::string> names_;
  int index_ = -1;
  DeviceSettings settings_;
  owners::PrinterDc dc_;
  std::optional<PrintJobScope> job_;
};

// Keeps a job from staying open when printing leaves by an exception.
class PrintJob {
 public:
  PrintJob(Printer& printer, const char* documentName) : printer_(printer), dc_(printer.BeginDoc(documentName)) {}
  ~PrintJob() {
    if (printer_.Printing()) printer_.AbortDoc();
  }
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  HDC dc() const { return dc_; }
  void End() { printer_.EndDoc(); }

 private:
  Printer& printer_;
  HDC dc_;
};
