#pragma once
// A folder of the test's own under the system's temporary folder, removed
// with everything in it when the test is done. Paths are UTF-8, as the
// program's own are.
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

class TemporaryFolder {
 public:
  explicit TemporaryFolder(const std::string& name) {
    static int serial = 0;
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("vorlane-" + name + "-" + std::to_string(Process()) + "-" + std::to_string(++serial));
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    path_ = Utf8(folder) + static_cast<char>(std::filesystem::path::preferred_separator);
  }
  ~TemporaryFolder() {
    std::error_code ignored;  // a file still open here stays behind
    // A read-only file could not be removed.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Path(path_), ignored)) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(Path(path_), ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // The folder with its trailing separator.
  const std::string& path() const { return path_; }

  // Writes a file (its folders made as needed) and gives its path.
  std::string Write(const std::string& name, const std::string& contents) const {
    const std::filesystem::path file = Path(path_ + name);
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << contents;
    return Utf8(file);
  }

  // Makes a folder in it and gives its path.
  std::string MakeFolder(const std::string& name) const {
    const std::filesystem::path folder = Path(path_ + name);
    std::filesystem::create_directories(folder);
    return Utf8(folder);
  }

  // A UTF-8 path as the standard library takes it.
  static std::filesystem::path Path(const std::string& utf8) { return std::u8string(utf8.begin(), utf8.end()); }

 private:
  static std::string Utf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
  }
  static long Process();

  std::string path_;
};

#ifdef _WIN32
#include <windows.h>
inline long TemporaryFolder::Process() { return static_cast<long>(GetCurrentProcessId()); }
#else
#include <unistd.h>
inline long TemporaryFolder::Process() { return static_cast<long>(getpid()); }
#endif
