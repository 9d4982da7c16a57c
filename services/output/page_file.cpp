#include "services/output/page_file.h"

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>
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

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder above; "C:\" above "C:\Pages", and empty above a root.
std::wstring Parent(std::wstring path) {
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  const size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return {};
  path.resize(separator);
  if (!path.empty() && path.back() == L':') path += L'\\';
  return path;
}

// Made with every folder above it that is missing; true when it is there
// afterwards. A folder that cannot be made whole leaves none of the levels
// made for it behind.
bool MakeFolder(const std::wstring& folder) {
  if (PathIsRelativeW(folder.c_str())) return false;
  std::vector<std::wstring> missing;  // the deepest first
  for (std::wstring level = folder; !IsFolder(level); level = Parent(level)) {
    if (level.empty()) return false;
    missing.push_back(level);
  }
  for (size_t level = missing.size(); level-- > 0;) {
    if (CreateDirectoryW(missing[level].c_str(), nullptr)) continue;
    // The deepest made first, so that each is empty when it goes.
    for (size_t made = level + 1; made < missing.size(); ++made) RemoveDirectoryW(missing[made].c_str());
    return false;
  }
  return true;
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
  const auto unwritable = [&folder] { return LocalisedError(TextId::PageFolderNotWritable, {{"%FOLDER%", folder}}); };
  const std::wstring wideFolder = Wide(folder);
  // The spooler and the drivers take the page's path in the classic length
  // only: a folder whose pages could not be named within it is refused
  // before anything is made.
  const LocalTime now = Now();
  if (WithSeparator(wideFolder).size() + Wide(LastPageFileName(now, extension)).size() >= MAX_PATH) {
    throw unwritable();
  }
  if (!MakeFolder(wideFolder)) throw unwritable();
  const std::string name = ClaimPageFileName(now, extension, [&](const std::string& candidate) {
    return ClaimFile(WithSeparator(wideFolder) + Wide(candidate));
  });
  if (name.empty()) throw unwritable();
  return PageFile(Narrow(WithSeparator(wideFolder)) + name);
}

PageFile MakePageFile(const std::string& printer, const Preferences& preferences) {
  if (!preferences.FilePrinterAutoSave) return {};
  const PrinterKind kind = KindOf(printer);
  if (!IsFilePort(Narrow(kind.port))) return {};
  return NewPageFile(preferences.FilePrinterFolder.empty() ? DefaultPageFolder() : preferences.FilePrinterFolder,
                     FileExtensionForDriver(Narrow(kind.driver)));
}
