// The layers of the program's sources: each includes only the layers below
// it, and the portable core includes no Windows header at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kRoot = fs::path(__FILE__).parent_path() / "../..";

// Folder to layer, lowest first. The resource identifiers are plain
// definitions that every layer may name.
const std::map<std::string, int> kLayers = {
    {"resources", 0}, {"base", 0}, {"core", 1}, {"services", 2}, {"ui", 3}, {"app", 4},
};

struct Include {
  std::string file;
  std::string target;
};

std::vector<Include> QuotedIncludes(const std::string& folder) {
  std::vector<Include> found;
  for (const auto& entry : fs::recursive_directory_iterator(kRoot / folder)) {
    const std::string extension = entry.path().extension().string();
    if (extension != ".cpp" && extension != ".h") continue;
    std::ifstream source(entry.path());
    for (std::string line; std::getline(source, line);) {
      if (line.rfind("#include ", 0) != 0) continue;
      const std::string target = line.substr(9);
      found.push_back({fs::relative(entry.path(), kRoot).generic_string(), target});
    }
  }
  return found;
}

// The layer of a quoted include by its first folder; -1 for an angle-bracket
// include or a file outside the layers (the generated version header).
int LayerOf(const std::string& target) {
  if (target.empty() || target.front() != '"') return -1;
  const auto slash = target.find('/');
  if (slash == std::string::npos) return -1;
  const auto layer = kLayers.find(target.substr(1, slash - 1));
  return layer == kLayers.end() ? -1 : layer->second;
}

}  // namespace

TEST(Layers, EveryIncludePointsToTheSameLayerOrBelow) {
  size_t checked = 0;
  for (const auto& [folder, layer] : kLayers) {
    for (const Include& include : QuotedIncludes(folder)) {
      EXPECT_LE(LayerOf(include.target), layer) << include.file << " includes " << include.target;
      ++checked;
    }
  }
  EXPECT_GT(checked, 100u) << "the sources were not found";
}

TEST(Layers, ThePortableCoreNeedsNoWindowsHeader) {
  for (const Include& include : QuotedIncludes("core")) {
    for (const char* header : {"<windows.h>", "<gdiplus.h>", "<commctrl.h>", "<shellapi.h>", "<winspool.h>"}) {
      EXPECT_EQ(include.target.find(header), std::string::npos) << include.file;
    }
  }
}
