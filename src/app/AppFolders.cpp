#include "app/AppFolders.h"

#include <mutex>
#include <optional>

#include "platform/Folders.h"
#include "platform/Registry.h"

namespace vantrel {

namespace {

// Set once at start-up, read from any thread afterwards.
std::mutex folderLock;
std::optional<std::string> programFolder;
std::optional<std::string> dataFolder;

}  // namespace

std::string DefaultDataFolder() { return RoamingDataRoot() + "Vantrel/"; }

void InitAppFolders(const std::string& DataFolder) {
    {
        std::lock_guard lock(folderLock);
        programFolder = ExecutableFolder();
    }
    SetDataFolder(DataFolder);
}

void SetDataFolder(const std::string& Folder) {
    const std::string folder = WithTrailingSeparator(Folder);
    CreateFolderWithParents(folder);
    std::lock_guard lock(folderLock);
    dataFolder = folder;
    SetRegistryFile(folder + "registry.ini");
}

std::string GetProgramFolder() {
    std::lock_guard lock(folderLock);
    return programFolder ? *programFolder : ExecutableFolder();
}

std::string GetDataFolder() {
    {
        std::lock_guard lock(folderLock);
        if (dataFolder) return *dataFolder;
    }
    const std::string folder = DefaultDataFolder();
    CreateFolderWithParents(folder);
    return folder;
}

void ResetAppFolders() {
    std::lock_guard lock(folderLock);
    programFolder.reset();
    dataFolder.reset();
    SetRegistryFile("");
}

}  // namespace vantrel
