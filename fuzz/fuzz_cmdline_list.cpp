// The command-line list file: any bytes must load into paths without a NUL or a line break,
// and the entries held before must follow the file's lines.
#include <cstdlib>

#include "FuzzFile.h"
#include "app/AppFolders.h"
#include "app/CmdLineActivate.h"
#include "platform/Folders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vantrel;
    fuzz::Folder();
    CreateFolderWithParents(GetDataFolder());
    fuzz::WriteInput("Vantrel/todo", data, size);
    InitCmdLineFiles();
    CmdLineFiles().push_back("/earlier");
    LoadCommandLineFiles();
    const auto& files = CmdLineFiles();
    if (files.empty() || files.back() != "/earlier") std::abort();
    for (const auto& path : files)
        if (path.empty() || path.find_first_of(std::string_view("\0\r\n", 3)) != std::string::npos) std::abort();
    return 0;
}
