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

void Record(std::uint8_t type, const std::string& path) {
    // A name the store cannot hold (a line break) could not be hidden either: CoreHide has
    // logged the refusal, and recording it would only break every later save.
    if (THiddenConfig::CanStore(path)) Store().AddItem(type, path);
}

}  // namespace

void CoreHide(const std::string& path) { SetAttributesLogged(path, kHiddenState, "CoreHide"); }

void CoreUnhide(const std::string& path) { SetAttributesLogged(path, kFileAttributeNormal, "CoreUnhide"); }

void HideFile(const std::string& path) {
    CoreHide(path);
    Record(hitFile, path);
}

void HideFolder(const std::string& path) {
    CoreHide(path);
    Record(hitFolder, path);
}

void HideDrive(const std::string& rootPath) {
    CoreHide(rootPath);
    Record(hitDrive, rootPath);
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
