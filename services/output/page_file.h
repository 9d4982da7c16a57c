#pragma once
// Where the page of a file printer goes without a Save dialog: a new file in
// the folder FilePrinterFolder names.
#include <string>
#include <utility>

#include "core/settings/preferences.h"

// "Vorlane" in the user's Documents folder, where pages go while
// FilePrinterFolder is empty.
std::string DefaultPageFolder();

// A file made for one page: removed again unless Keep() is called, so that
// a job that fails leaves no empty file behind. Empty when the page is to go
// to the printer as usual.
class PageFile {
 public:
  PageFile() = default;
  explicit PageFile(std::string path) : path_(std::move(path)) {}
  ~PageFile();
  PageFile(PageFile&& other) noexcept : path_(std::exchange(other.path_, {})) {}
  PageFile& operator=(PageFile&&) = delete;
  PageFile(const PageFile&) = delete;
  PageFile& operator=(const PageFile&) = delete;

  const std::string& Path() const { return path_; }
  void Keep() { path_.clear(); }

 private:
  std::string path_;
};

// A new, empty file in the folder, made with every folder above it when
// needed, named after the local time and never one that exists. Throws a
// LocalisedError naming the folder when it cannot be made or written.
PageFile NewPageFile(const std::string& folder, const std::string& extension);

// For a printer whose port asks for a file name at every job ("FILE:",
// "PORTPROMPT:") while FilePrinterAutoSave is on: a new file in the folder
// FilePrinterFolder names, or else in the default one, with the extension
// of the printer's driver. Any other printer, or auto-save off: no file.
PageFile MakePageFile(const std::string& printer, const Preferences& preferences);
