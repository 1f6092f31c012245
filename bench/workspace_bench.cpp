// Opening a whole hierarchy: 1,000 module files in a tree four levels deep.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "workspace/workspace.h"

namespace pelkor {
namespace {

namespace fs = std::filesystem;

class NoUi : public WorkspaceUi {
 public:
  std::optional<fs::path> ChooseFile(const FileDialogSpec&) override { return std::nullopt; }
  std::optional<std::string> AskModuleName() override { return std::nullopt; }
};

// Writes module `name` with up to ten primitives: its child instances first, then shift
// registers to make up ten.
void WriteModuleFile(const fs::path& folder, const std::string& name,
                     const std::vector<std::string>& children) {
  std::ofstream out(folder / (name + ".dtn"), std::ios::binary);
  out << "//pelkor file\r\n";
  int number = 1;
  for (; number <= 10 - static_cast<int>(children.size()); ++number) {
    out << "shift[" << number << "," << number * 40 << ",80,0,1,2]{\r\n01}\r\n";
  }
  for (const std::string& child : children) {
    out << "module[" << number << "," << number * 40 << ",160]{\r\n" << child << "}\r\n";
    ++number;
  }
}

// 1 + 10 + 100 + 889 modules, each instanced once by its parent.
fs::path WriteHierarchy() {
  const fs::path folder = fs::temp_directory_path() / "pelkor_bench_hierarchy";
  fs::remove_all(folder);
  fs::create_directories(folder);
  int leaves = 0;
  std::vector<std::string> level1;
  for (int a = 0; a < 10; ++a) {
    const std::string nameA = "m" + std::to_string(a);
    std::vector<std::string> level2;
    for (int b = 0; b < 10; ++b) {
      const std::string nameB = nameA + "_" + std::to_string(b);
      std::vector<std::string> level3;
      for (int c = 0; c < 9 && leaves < 889; ++c, ++leaves) {
        level3.push_back(nameB + "_" + std::to_string(c));
        WriteModuleFile(folder, level3.back(), {});
      }
      WriteModuleFile(folder, nameB, level3);
      level2.push_back(nameB);
    }
    WriteModuleFile(folder, nameA, level2);
    level1.push_back(nameA);
  }
  WriteModuleFile(folder, "top", level1);
  return folder;
}

void BM_OpenHierarchyOf1000Files(benchmark::State& state) {
  const fs::path folder = WriteHierarchy();
  NoUi ui;
  Workspace workspace(ui);
  for (auto _ : state) {
    workspace.OpenFile(folder / "top.dtn");
    benchmark::DoNotOptimize(workspace.library().modules().size());
  }
  if (workspace.library().modules().size() != 1001)
    state.SkipWithError("not every module loaded");
  fs::remove_all(folder);
}
BENCHMARK(BM_OpenHierarchyOf1000Files)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pelkor
