// No two units of the source tree (a .h and its .cpp) include each other,
// directly or round a longer cycle: who uses whom reads from the includes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Unit ("toolkit/form") -> the units its files include.
using UnitGraph = std::map<std::string, std::set<std::string>>;

std::string UnitOf(const fs::path& relative) { return relative.parent_path().generic_string() + "/" + relative.stem().string(); }

// Quoted includes name a file beside the including one or from the tree's root.
fs::path Resolve(const fs::path& root, const fs::path& includer, const std::string& named) {
  const fs::path beside = includer.parent_path() / named;
  return fs::exists(root / beside) ? beside.lexically_normal() : fs::path(named).lexically_normal();
}

UnitGraph ReadUnits(const fs::path& root) {
  static const std::regex kInclude(R"re(^\s*#\s*include\s*"([^"]+)")re");
  UnitGraph graph;
  for (auto entry = fs::recursive_directory_iterator(root); entry != fs::recursive_directory_iterator(); ++entry) {
    const std::string name = entry->path().filename().string();
    if (entry->is_directory() && (name.starts_with("build") || name.starts_with("."))) {
      entry.disable_recursion_pending();
      continue;
    }
    const std::string extension = entry->path().extension().string();
    if (!entry->is_regular_file() || (extension != ".h" && extension != ".cpp")) continue;
    const fs::path relative = fs::relative(entry->path(), root);
    const std::string unit = UnitOf(relative);
    std::set<std::string>& uses = graph[unit];
    std::ifstream file(entry->path());
    std::smatch match;
    for (std::string line; std::getline(file, line);) {
      if (!std::regex_search(line, match, kInclude)) continue;
      const std::string used = UnitOf(Resolve(root, relative, match[1].str()));
      if (used != unit) uses.insert(used);
    }
  }
  return graph;
}

// Every cycle met by a depth-first walk, each as "a -> b -> a".
std::vector<std::string> Cycles(const UnitGraph& graph) {
  enum class Mark { Unseen, OnPath, Done };
  std::map<std::string, Mark> marks;
  std::vector<std::string> path, cycles;
  auto visit = [&](auto& self, const std::string& unit) -> void {
    marks[unit] = Mark::OnPath;
    path.push_back(unit);
    for (const std::string& used : graph.at(unit)) {
      if (!graph.contains(used)) continue;  // a system or generated header
      if (marks[used] == Mark::OnPath) {
        std::string cycle;
        for (auto at = std::find(path.begin(), path.end(), used); at != path.end(); ++at) cycle += *at + " -> ";
        cycles.push_back(cycle + used);
      } else if (marks[used] == Mark::Unseen) {
        self(self, used);
      }
    }
    path.pop_back();
    marks[unit] = Mark::Done;
  };
  for (const auto& [unit, uses] : graph) {
    if (marks[unit] == Mark::Unseen) visit(visit, unit);
  }
  return cycles;
}

std::string Listed(const std::vector<std::string>& lines) {
  std::ostringstream out;
  for (const std::string& line : lines) out << "\n  " << line;
  return out.str();
}

TEST(IncludeCycles, NoUnitOfTheTreeIncludesItselfRoundAbout) {
  const std::vector<std::string> cycles = Cycles(ReadUnits(VANTISK_SOURCE_DIR));
  EXPECT_TRUE(cycles.empty()) << "include cycles between units:" << Listed(cycles);
}

// The checker sees a cycle made of a header and the other unit's source file.
TEST(IncludeCycles, ACycleThroughASourceFileIsFound) {
  const fs::path root = fs::temp_directory_path() / "vantisk_include_cycle_test";
  fs::remove_all(root);
  fs::create_directories(root / "room");
  std::ofstream(root / "room/a.h") << "#pragma once\n#include \"room/b.h\"\n";
  std::ofstream(root / "room/b.h") << "#pragma once\n";
  std::ofstream(root / "room/b.cpp") << "#include \"room/b.h\"\n#include \"a.h\"\n";
  std::ofstream(root / "room/c.cpp") << "#include \"room/a.h\"\n";
  EXPECT_EQ(Cycles(ReadUnits(root)), std::vector<std::string>{"room/a -> room/b -> room/a"});
  fs::remove_all(root);
}

}  // namespace
