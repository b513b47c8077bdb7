#include "hide/HideShowRoutines.h"

#include <stdexcept>

#include "app/Logger.h"
#include "hide/HiddenConfig.h"
#include "platform/FileAttributes.h"
#include "platform/SysError.h"

namespace vantrel {

namespace {

constexpr std::uint32_t kHiddenState = kFileAttributeReadOnly | kFileAttributeHidden | kFileAttributeSystem;

void SetAttributesLogged(const std::string& path, std::uint32_t attributes, const char* location) {
    if (int e = SetFileAttributesOf(path, attributes)) Log("SetFileAttributes failed " + FormatSysError(e), location);
}

THiddenConfig& Store() {
    if (!HiddenItemsStore) throw std::logic_error("The hidden-items store is not loaded");
    return *HiddenItemsStore;
}

}  // namespace

void CoreHide(const std::string& path) { SetAttributesLogged(path, kHiddenState, "CoreHide"); }

void CoreUnhide(const std::string& path) { SetAttributesLogged(path, kFileAttributeNormal, "CoreUnhide"); }

// The record comes first: a file marked hidden without its record could never be shown
// again, so a failed save (or a process killed in between) must leave the file as it was.
// A path the store cannot hold raises EProfileError here, before anything was changed.
void HideFile(const std::string& path) {
    Store().AddItem(hitFile, path);
    CoreHide(path);
}

void HideFolder(const std::string& path) {
    Store().AddItem(hitFolder, path);
    CoreHide(path);
}

void HideDrive(const std::string& rootPath) {
    Store().AddItem(hitDrive, rootPath);
    CoreHide(rootPath);
}

void ShowFile(const std::string& path, std::size_t index) {
    CoreUnhide(path);
    Store().DeleteItem(index);
}

void ShowFolder(const std::string& path, std::size_t index) {
    CoreUnhide(path);
    Store().DeleteItem(index);
}

void ShowDrive(const std::string& rootPath, std::size_t index) {
    CoreUnhide(rootPath);
    Store().DeleteItem(index);
}

}  // namespace vantrel
