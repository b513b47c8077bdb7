// Shreds one file with one scheme, as a whole process, so that it can be timed beside GNU
// shred on the same file:
//   shred_bench FILE SCHEME
// Prints the scheme, the size and the throughput (bytes written by all passes per second).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "app/AppFolders.h"
#include "platform/Files.h"
#include "shred/ShredAlgorithms.h"

int main(int argc, char** argv) {
    using namespace vantrel;
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FILE SCHEME\n", argv[0]);
        return 2;
    }
    const std::string file = argv[1];
    const long scheme = std::strtol(argv[2], nullptr, 10);
    try {
        InitShredAlgorithms(GetProgramFolder() + "shreds1033.ini");
        if (scheme < 0 || std::size_t(scheme) >= ShredAlgorithmList.size()) {
            std::fprintf(stderr, "scheme must be 0 to %zu\n", ShredAlgorithmList.size() - 1);
            return 2;
        }
        const TShredAlgorithm& algorithm = *ShredAlgorithmList[std::size_t(scheme)];
        const std::int64_t size = FileSizeOf(file);
        const std::size_t passes = algorithm.CreatePasses().size();
        const auto start = std::chrono::steady_clock::now();
        const bool wiped = algorithm.ShredFile(file, nullptr, nullptr);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::fprintf(stderr, "%s: %lld bytes x %zu passes in %.3f s, %.1f MiB/s%s\n", algorithm.ClassName(),
                     static_cast<long long>(size), passes, seconds,
                     double(size) * double(passes) / seconds / (1024.0 * 1024.0), wiped ? "" : " (not deleted)");
        DoneShredAlgorithms();
        return wiped ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
