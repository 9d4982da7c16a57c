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
#include "core/output/page_geometry.h"

inline constexpr const char* kNoDefaultPrinterError = "There is no default printer currently selected";
inline constexpr const char* kPrinterNotValidError = "Printer selected is not valid";

// Local and connected printers by name, in the order the system gives them.
std::vector<std::string> EnumerateInstalledPrinters();

// The most copies the printer's driver makes of a page by itself
// (DeviceCapabilities, DC_COPIES); 1 when it makes none or does not say.
int DriverCopies(const std::string& printer);

// What one job asks beyond the printer's device settings.
struct JobOptions {
  PaperTurn turn = PaperTurn::AsPrinterIsSet;
  int copies = 1;
  // The file the job is written to instead of the printer's port; empty: the port.
  std::string outputFile;
};

class Printer {
 public:
  using Enumerator = std::function<std::vector<std::string>()>;
  using CopiesQuery = std::function<int(const std::string& printer)>;

  explicit Printer(Enumerator enumerate = EnumerateInstalledPrinters, CopiesQuery driverCopies = DriverCopies);
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
  // document and its first page. The turn of the page and the copies the
  // driver makes go into the job's own copy of the device settings; the
  // printer's settings and those of the set-up dialog stay as they were.
  // The spooler names the job after the document. Throws and leaves no job
  // open on failure.
  HDC BeginDoc(const char* documentName, const JobOptions& options = {});
  // How many times the open job's page is to be drawn: the copies its
  // driver does not make.
  int PagesToDraw() const { return pagesToDraw_; }
  // Ends the page and starts the next one of the same job.
  void NextPage();
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
  CopiesQuery driverCopies_;
  bool enumerated_ = false;
  std::vector<std::string> names_;
  int index_ = -1;
  DeviceSettings settings_;
  owners::PrinterDc dc_;
  int pagesToDraw_ = 1;
  std::optional<PrintJobScope> job_;
};

// Keeps a job from staying open when printing leaves by an exception.
class PrintJob {
 public:
  PrintJob(Printer& printer, const char* documentName, const JobOptions& options = {})
      : printer_(printer), dc_(printer.BeginDoc(documentName, options)) {}
  ~PrintJob() {
    if (printer_.Printing()) printer_.AbortDoc();
  }
  PrintJob(const PrintJob&) = delete;
  PrintJob& operator=(const PrintJob&) = delete;

  HDC dc() const { return dc_; }
  int Pages() const { return printer_.PagesToDraw(); }
  void NextPage() { printer_.NextPage(); }
  void End() { printer_.EndDoc(); }

 private:
  Printer& printer_;
  HDC dc_;
};
