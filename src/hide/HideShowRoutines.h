#pragma once

#include <cstddef>
#include <string>

namespace vantrel {

// Hiding gives a file or folder the read-only, hidden and system attributes (7); showing
// resets it to normal (128). A refused change is written to the debug log and nothing is
// raised: the record in HiddenItemsStore is updated either way. Hiding records the item
// before it changes anything, so a failed save (EProfileError) leaves the item untouched.
void CoreHide(const std::string& path);
void CoreUnhide(const std::string& path);

void HideFile(const std::string& path);    // records it as a file, then CoreHide
void HideFolder(const std::string& path);  // records it as a folder, then CoreHide
// A drive has no letter to hide on POSIX, so there is no policy mask to change: its mount
// point is hidden in its parent folder instead, and it is recorded as a drive.
void HideDrive(const std::string& rootPath);

// Each undoes its Hide counterpart and removes store item `index`.
void ShowFile(const std::string& path, std::size_t index);
void ShowFolder(const std::string& path, std::size_t index);
void ShowDrive(const std::string& rootPath, std::size_t index);

}  // namespace vantrel
