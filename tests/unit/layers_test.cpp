// The layers of the program's sources: each includes only the layers below
// it, and the portable core includes no Windows header at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
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

// The subsystem folder of a path inside its layer: "capture" for
// core/capture/key_names.h, "" for a file at the top of the layer.
std::string FolderOf(const std::string& path) {
  const size_t first = path.find('/');
  const size_t second = first == std::string::npos ? first : path.find('/', first + 1);
  return second == std::string::npos ? "" : path.substr(first + 1, second - first - 1);
}

using FolderGraph = std::map<std::string, std::set<std::string>>;  // folder to the folders it includes

// The folders of the layer, each with the other folders of the layer it includes.
FolderGraph FolderIncludes(const std::string& layer) {
  FolderGraph graph;
  for (const Include& include : QuotedIncludes(layer)) {
    const std::string target = include.target.substr(1, include.target.find('"', 1) - 1);
    if (target.rfind(layer + "/", 0) != 0) continue;
    const std::string from = FolderOf(include.file);
    const std::string to = FolderOf(target);
    if (from != to) graph[from].insert(to);
  }
  return graph;
}

// A chain of folders that comes back to where it started; empty when none does.
std::vector<std::string> FindKnot(const FolderGraph& graph) {
  std::set<std::string> done;
  std::vector<std::string> chain;
  std::function<bool(const std::string&)> visit = [&](const std::string& folder) {
    if (const auto seen = std::find(chain.begin(), chain.end(), folder); seen != chain.end()) {
      chain.erase(chain.begin(), seen);
      chain.push_back(folder);
      return true;
    }
    if (done.contains(folder)) return false;
    chain.push_back(folder);
    if (const auto next = graph.find(folder); next != graph.end()) {
      for (const std::string& target : next->second) {
        if (visit(target)) return true;
      }
    }
    chain.pop_back();
    done.insert(folder);
    return false;
  };
  for (const auto& [folder, targets] : graph) {
    if (visit(folder)) return chain;
  }
  return {};
}

std::string Joined(const std::vector<std::string>& chain) {
  std::string text;
  for (const std::string& folder : chain) text += (text.empty() ? "" : " -> ") + folder;
  return text;
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

TEST(Layers, TheFoldersOfALayerDependOnEachOtherInOneDirection) {
  // Knots made for the purpose are found, whichever way they are entered.
  const struct {
    const char* name;
    FolderGraph graph;
    std::string knot;
  } cases[] = {
      {"one direction", {{"capture", {"settings"}}}, ""},
      {"and back", {{"capture", {"settings"}}, {"settings", {"capture"}}}, "capture -> settings -> capture"},
      {"back the other way", {{"settings", {"capture"}}, {"capture", {"settings"}}}, "capture -> settings -> capture"},
      {"round three", {{"a", {"b"}}, {"b", {"c"}}, {"c", {"a"}}}, "a -> b -> c -> a"},
      {"a diamond is no knot", {{"a", {"b", "c"}}, {"b", {"d"}}, {"c", {"d"}}}, ""},
      {"a knot below a clean start", {{"a", {"b"}}, {"b", {"c"}}, {"c", {"b"}}}, "b -> c -> b"},
  };
  for (const auto& c : cases) EXPECT_EQ(Joined(FindKnot(c.graph)), c.knot) << c.name;

  for (const char* layer : {"base", "core", "services", "ui", "app"}) {
    EXPECT_EQ(Joined(FindKnot(FolderIncludes(layer))), "") << "a knot between the folders of " << layer;
  }
  EXPECT_TRUE(FolderIncludes("ui")["languages"].contains("settings")) << "the sources were not found";
}
