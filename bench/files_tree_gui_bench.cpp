// Expanding a folder of 100 000 files in the files tree, offscreen, against `ls -f` listing
// the same folder. The ratio is what the window costs over the bare listing.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeWidgetItem>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ui/FilesTreeView.h"

namespace {

constexpr int kFileCount = 100000;

const std::string& BigFolder() {
    static const std::string folder = [] {
        std::string path = std::filesystem::temp_directory_path().string() + "/vantrel-tree-bench";
        if (!std::filesystem::exists(path + "/f99999.txt")) {
            std::filesystem::create_directories(path);
            for (int i = 0; i < kFileCount; ++i) std::ofstream(path + "/f" + std::to_string(i) + ".txt");
        }
        return path;
    }();
    return folder;
}

void BM_ExpandFolderInTree(benchmark::State& state) {
    const std::string folder = BigFolder();
    vantrel::TFilesTreeView tree;
    tree.SetDriveSource([folder] { return std::vector<vantrel::TDriveInfo>{{folder, vantrel::TDriveType::Fixed}}; });
    tree.resize(400, 400);
    tree.show();
    for (auto _ : state) {
        tree.BuildDrivesTree();
        tree.topLevelItem(0)->setExpanded(true);
        QApplication::processEvents();  // the first paint of the expanded tree
        benchmark::DoNotOptimize(tree.topLevelItem(0)->childCount());
    }
    state.counters["entries"] = tree.topLevelItem(0)->childCount();
}
BENCHMARK(BM_ExpandFolderInTree)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LsUnsorted(benchmark::State& state) {
    const std::string command = "ls -f '" + BigFolder() + "' > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("ls failed");
}
BENCHMARK(BM_LsUnsorted)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
