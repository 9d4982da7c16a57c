#include "services/output/page_file.h"

#include <windows.h>

#include <shlobj.h>
#include <winspool.h>

#include <utility>
#include <vector>

#include "base/owners.h"
#include "base/system_text.h"
#include "core/languages/localised_error.h"
#include "core/output/file_printer.h"

namespace {

constexpr DWORD kPortAndDriverLevel = 2;
constexpr const wchar_t* kFolderName = L"Vorlane";

struct PrinterKind {
  std::wstring port;
  std::wstring driver;
};

// The port and driver of a printer; empty when it cannot be asked, and then
// the job goes to the printer as it always did.
PrinterKind KindOf(const std::string& printer) {
  std::wstring name = Wide(printer);
  HANDLE opened = nullptr;
  if (!OpenPrinterW(name.data(), &opened, nullptr)) return {};
  const owners::PrinterHandle handle(opened);
  DWORD needed = 0;
  GetPrinterW(handle.get(), kPortAndDriverLevel, nullptr, 0, &needed);
  if (needed == 0) return {};
  std::vector<std::byte> buffer(needed);
  if (!GetPrinterW(handle.get(), kPortAndDriverLevel, reinterpret_cast<BYTE*>(buffer.data()), needed, &needed)) {
    return {};
  }
  const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  return {info->pPortName ? info->pPortName : L"", info->pDriverName ? info->pDriverName : L""};
}

// Made with every folder above it; true when it is there afterwards.
bool MakeFolder(const std::wstring& folder) {
  const int made = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  if (made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS || made == ERROR_FILE_EXISTS) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }
  return false;
}

LocalTime Now() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

// Creating the file only where none exists is what keeps every file there safe.
Claim ClaimFile(const std::wstring& path) {
  const HANDLE made = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (made != INVALID_HANDLE_VALUE) {
    const owners::KernelHandle claimed(made);  // closed at once: the spooler writes the page into it
    return Claim::Claimed;
  }
  const DWORD error = GetLastError();
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Claim::Taken : Claim::Failed;
}

std::wstring WithSeparator(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  return folder;
}

}  // namespace

std::string DefaultPageFolder() {
  PWSTR documents = nullptr;
  const HRESULT found = SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_CREATE, nullptr, &documents);
  const owners::TaskText owned(documents);
  return Narrow(WithSeparator(SUCCEEDED(found) && owned ? owned.get() : L"") + kFolderName);
}

PageFile::~PageFile() {
  if (!path_.empty()) DeleteFileW(Wide(path_).c_str());
}

PageFile NewPageFile(const std::string& folder, const std::string& extension) {
  const LocalisedError unwritable(TextId::PageFolderNotWritable, {{"%FOLDER%", folder}});
  const std::wstring wideFolder = Wide(folder);
  if (!MakeFolder(wideFolder)) throw unwritable;
  const std::string name = ClaimPageFileName(Now(), extension, [&](const std::string& candidate) {
    return ClaimFile(WithSeparator(wideFolder) + Wide(candidate));
  });
  if (name.empty()) throw unwritable;
  return PageFile(Narrow(WithSeparator(wideFolder)) + name);
}

PageFile MakePageFile(const std::string& printer, const Preferences& preferences) {
  if (!preferences.FilePrinterAutoSave) return {};
  const PrinterKind kind = KindOf(printer);
  if (!IsFilePort(Narrow(kind.port))) return {};
  return NewPageFile(preferences.FilePrinterFolder.empty() ? DefaultPageFolder() : preferences.FilePrinterFolder,
                     FileExtensionForDriver(Narrow(kind.driver)));
}
