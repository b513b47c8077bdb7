#pragma once

#include <string>

namespace vantrel {

// Full path of the running executable (the target of /proc/self/exe).
std::string ExecutablePath();
// The folder of the running executable, ending with "/".
std::string ExecutableFolder();
// The per-user roaming settings root: $XDG_CONFIG_HOME when it is an absolute path,
// otherwise ~/.config; ends with "/".
std::string RoamingDataRoot();
// Creates a folder and every missing parent. True when the folder exists afterwards.
bool CreateFolderWithParents(const std::string& folder);
// The text with "/" appended unless it already ends with one ("" gives "/").
std::string WithTrailingSeparator(std::string folder);
// The text without the separators it ends with, except the one that is the root "/".
std::string WithoutTrailingSeparators(std::string path);

}  // namespace vantrel
