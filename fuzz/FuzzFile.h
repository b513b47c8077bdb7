#pragma once

// Parsers that read from a file get the fuzzer's bytes through one private temporary file.
// It lies in memory (/dev/shm) where that exists: the code runs exactly as on a disk, but a
// flush to the disk costs nothing there, and the fuzzer runs thousands of inputs a second.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vantrel::fuzz {

inline const std::string& Folder() {
    static const std::string folder = [] {
        char memory[] = "/dev/shm/vantrel-fuzz-XXXXXX";
        char disk[] = "/tmp/vantrel-fuzz-XXXXXX";
        const char* pattern = ::mkdtemp(memory);
        if (!pattern) pattern = ::mkdtemp(disk);
        if (!pattern) std::abort();
        ::setenv("XDG_CONFIG_HOME", pattern, 1);
        return std::string(pattern) + "/";
    }();
    return folder;
}

inline std::string WriteInput(const std::string& name, const std::uint8_t* data, std::size_t size) {
    const std::string path = Folder() + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
    return path;
}

}  // namespace vantrel::fuzz
