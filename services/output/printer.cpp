#include "services/output/printer.h"

#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "base/message_loop.h"
#include "base/system_text.h"
#include "core/languages/localised_error.h"
#include "services/output/default_printer.h"

namespace {

constexpr DWORD kEnumFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
constexpr DWORD kNamesOnlyLevel = 4;
constexpr const wchar_t* kSpoolerDriver = L"winspool";

// While the spooler takes the page the GUI thread keeps answering, in the
// order the messages came: hot keys, tray and menu clicks, painting. The job
// always goes on. A timer tick comes last of all, so one at the head of the
// queue means nothing else waits; it stays there until the page is spooled,
// so that a series whose interval is shorter than a print job takes its next
// shot afterwards instead of failing with "Printing in progress".
BOOL CALLBACK PumpMessages(HDC, int) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_TIMER) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) break;
    if (message.message == WM_QUIT) {
      // Leave the request to end the run for the main loop after the job.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    DispatchQueuedMessage(message);
  }
  return TRUE;
}

// The printer's own current settings; empty when the driver gives none.
// A printer that cannot be opened is no longer usable.
std::vector<std::byte> QueryDeviceSettings(const std::string& printer) {
  std::wstring name = Wide(printer);
  HANDLE opened = nullptr;
  if (!OpenPrinterW(name.data(), &opened, nullptr)) throw std::runtime_error(kPrinterNotValidError);
  const owners::PrinterHandle handle(opened);
  const LONG size = DocumentPropertiesW(nullptr, handle.get(), name.data(), nullptr, nullptr, 0);
  if (size <= 0) return {};
  std::vector<std::byte> devmode(static_cast<size_t>(size));
  if (DocumentPropertiesW(nullptr, handle.get(), name.data(), reinterpret_cast<DEVMODEW*>(devmode.data()), nullptr,
                          DM_OUT_BUFFER) != IDOK) {
    return {};
  }
  return devmode;
}

owners::GlobalMemory CopyToGlobal(const std::vector<std::byte>& bytes) {
  if (bytes.empty()) return {};
  owners::GlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
  if (!memory) return {};
  if (void* target = GlobalLock(memory.get())) {
    std::memcpy(target, bytes.data(), bytes.size());
    GlobalUnlock(memory.get());
  }
  return memory;
}

std::vector<std::byte> CopyFromGlobal(HGLOBAL memory) {
  if (!memory) return {};
  std::vector<std::byte> bytes(GlobalSize(memory));
  const void* source = GlobalLock(memory);
  if (!source) return {};
  std::memcpy(bytes.data(), source, bytes.size());
  GlobalUnlock(memory);
  return bytes;
}

// DEVNAMES for one printer: the offsets count characters (UTF-16 units) from
// the start of the block, and the driver, device and port names follow the header.
std::vector<std::byte> MakeDevNames(const std::string& printer) {
  constexpr size_t kHeaderUnits = sizeof(DEVNAMES) / sizeof(wchar_t);
  const std::wstring driver = kSpoolerDriver;
  const std::wstring device = Wide(printer);
  const size_t deviceOffset = kHeaderUnits + driver.size() + 1;
  const size_t portOffset = deviceOffset + device.size() + 1;
  std::vector<std::byte> block((portOffset + 1) * sizeof(wchar_t));
  DEVNAMES header{};
  header.wDriverOffset = static_cast<WORD>(kHeaderUnits);
  header.wDeviceOffset = static_cast<WORD>(deviceOffset);
  header.wOutputOffset = static_cast<WORD>(portOffset);
  std::memcpy(block.data(), &header, sizeof header);
  std::memcpy(block.data() + kHeaderUnits * sizeof(wchar_t), driver.c_str(), (driver.size() + 1) * sizeof(wchar_t));
  std::memcpy(block.data() + deviceOffset * sizeof(wchar_t), device.c_str(), (device.size() + 1) * sizeof(wchar_t));
  return block;
}

std::string DeviceNameOf(const std::vector<std::byte>& devNames) {
  if (devNames.size() < sizeof(DEVNAMES)) return {};
  DEVNAMES header{};
  std::memcpy(&header, devNames.data(), sizeof header);
  const size_t units = devNames.size() / sizeof(wchar_t);
  if (header.wDeviceOffset >= units) return {};
  std::wstring names(units, L'\0');
  std::memcpy(names.data(), devNames.data(), units * sizeof(wchar_t));
  const std::wstring_view device = std::wstring_view(names).substr(header.wDeviceOffset);
  return Narrow(device.substr(0, device.find(L'\0')));
}

struct JobSettings {
  std::vector<std::byte> devmode;
  int pagesToDraw = 1;
};

// The job's own copy of the printer's device settings, turned as asked and
// with the copies the driver can make. Without device settings there is
// nothing to turn, and every copy is drawn.
JobSettings SettingsForJob(const std::vector<std::byte>& printerSettings, const JobOptions& options,
                           const std::function<int()>& driverCopies) {
  JobSettings job{printerSettings, std::max(options.copies, 1)};
  if (job.devmode.size() < sizeof(DEVMODEW)) return job;
  auto* devmode = reinterpret_cast<DEVMODEW*>(job.devmode.data());
  if (options.turn != PaperTurn::AsPrinterIsSet) {
    devmode->dmOrientation = options.turn == PaperTurn::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    devmode->dmFields |= DM_ORIENTATION;
  }
  // One copy leaves the copies as the printer is set, as before there was a choice.
  if (job.pagesToDraw > 1 && driverCopies() >= job.pagesToDraw) {
    devmode->dmCopies = static_cast<short>(job.pagesToDraw);
    devmode->dmFields |= DM_COPIES;
    job.pagesToDraw = 1;
  }
  return job;
}

}  // namespace

int DriverCopies(const std::string& printer) {
  return std::max(DeviceCapabilitiesW(Wide(printer).c_str(), nullptr, DC_COPIES, nullptr, nullptr), 1);
}

std::vector<std::string> EnumerateInstalledPrinters() {
  DWORD needed = 0;
  DWORD count = 0;
  std::vector<std::byte> buffer;
  // A printer may be added between asking for the size and reading.
  while (!EnumPrintersW(kEnumFlags, nullptr, kNamesOnlyLevel, reinterpret_cast<BYTE*>(buffer.data()),
                        static_cast<DWORD>(buffer.size()), &needed, &count)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= buffer.size()) return {};
    buffer.resize(needed);
  }
  std::vector<std::string> names;
  const auto* info = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) {
    if (info[i].pPrinterName) names.push_back(Narrow(info[i].pPrinterName));
  }
  return names;
}

Printer::Printer(Enumerator enumerate, CopiesQuery driverCopies)
    : enumerate_(std::move(enumerate)), driverCopies_(std::move(driverCopies)) {}

Printer::~Printer() { AbortDoc(); }

const std::vector<std::string>& Printer::PrinterNames() {
  if (!enumerated_) {
    names_ = enumerate_();
    enumerated_ = true;
  }
  return names_;
}

int Printer::IndexOfPrinter(const std::string& name) {
  const std::vector<std::string>& names = PrinterNames();
  if (name.empty()) return -1;
  for (size_t i = 0; i < names.size(); ++i) {
    if (SameTextInUserLocale(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

void Printer::SelectIndex(int index) {
  if (Printing()) throw LocalisedError(TextId::PrintingInProgress);
  if (index < -1 || index >= static_cast<int>(PrinterNames().size())) throw std::runtime_error(kPrinterNotValidError);
  index_ = index;
}

int Printer::ResolvedIndex() { return index_ >= 0 ? index_ : IndexOfPrinter(SystemDefaultPrinter()); }

std::string Printer::SelectedPrinterName() {
  const int index = ResolvedIndex();
  return index >= 0 ? PrinterNames()[index] : std::string();
}

const std::string& Printer::RequireSelectedPrinter() {
  const int index = ResolvedIndex();
  if (index < 0) throw std::runtime_error(kNoDefaultPrinterError);
  return PrinterNames()[index];
}

// Settings confirmed in the set-up dialog stay for their printer; any other
// printer prints with its own current settings.
void Printer::UpdateDeviceSettings(const std::string& printer) {
  if (settings_.fromDialog && settings_.printer == printer) return;
  settings_ = {printer, QueryDeviceSettings(printer), false};
}

bool Printer::SetupDialog(HWND owner, int index) {
  SelectIndex(index);
  const std::string printer = RequireSelectedPrinter();
  UpdateDeviceSettings(printer);

  owners::GlobalMemory devMode = CopyToGlobal(settings_.devmode);
  owners::GlobalMemory devNames = CopyToGlobal(MakeDevNames(printer));
  PRINTDLGW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.Flags = PD_PRINTSETUP;
  // The dialog may free and replace both blocks: it owns them while it runs.
  dialog.hDevMode = devMode.release();
  dialog.hDevNames = devNames.release();
  const BOOL confirmed = PrintDlgW(&dialog);
  devMode.reset(dialog.hDevMode);
  devNames.reset(dialog.hDevNames);
  if (!confirmed) return false;

  // A printer installed after the list was taken cannot be used in this run.
  const int chosen = IndexOfPrinter(DeviceNameOf(CopyFromGlobal(devNames.get())));
  if (chosen < 0) return true;
  index_ = chosen;
  settings_ = {PrinterNames()[chosen], CopyFromGlobal(devMode.get()), true};
  return true;
}

HDC Printer::BeginDoc(const char* documentName, const JobOptions& options) {
  if (Printing()) throw LocalisedError(TextId::PrintingInProgress);
  const std::string printer = RequireSelectedPrinter();
  UpdateDeviceSettings(printer);
  const JobSettings job = SettingsForJob(settings_.devmode, options, [&] { return driverCopies_(printer); });
  const auto* devmode = job.devmode.empty() ? nullptr : reinterpret_cast<const DEVMODEW*>(job.devmode.data());
  dc_.reset(CreateDCW(nullptr, Wide(printer).c_str(), nullptr, devmode));
  if (!dc_) throw std::runtime_error(kPrinterNotValidError);
  pagesToDraw_ = job.pagesToDraw;

  // Open from here on: the abort procedure may already run inside StartDocA.
  job_.emplace();
  SetAbortProc(dc_.get(), PumpMessages);
  const std::wstring name = Wide(documentName);
  DOCINFOW document{};
  document.cbSize = sizeof document;
  document.lpszDocName = name.c_str();
  const std::wstring output = Wide(options.outputFile);
  if (!output.empty()) document.lpszOutput = output.c_str();
  if (StartDocW(dc_.get(), &document) <= 0) {
    dc_.reset();
    job_.reset();
    throw LocalisedError(TextId::PrintJobNotStarted);
  }
  if (StartPage(dc_.get()) <= 0) {
    AbortDoc();
    throw LocalisedError(TextId::PrintJobNotStarted);
  }
  return dc_.get();
}

void Printer::NextPage() {
  if (!Printing()) return;
  if (::EndPage(dc_.get()) <= 0 || StartPage(dc_.get()) <= 0) {
    AbortDoc();
    throw LocalisedError(TextId::PrintJobNotFinished);
  }
}

void Printer::EndDoc() {
  if (!Printing()) return;
  const bool pageEnded = ::EndPage(dc_.get()) > 0;
  const bool documentEnded = ::EndDoc(dc_.get()) > 0;
  dc_.reset();
  job_.reset();
  if (!pageEnded || !documentEnded) throw LocalisedError(TextId::PrintJobNotFinished);
}

void Printer::AbortDoc() {
  if (!Printing()) return;
  ::AbortDoc(dc_.get());
  dc_.reset();
  job_.reset();
}
