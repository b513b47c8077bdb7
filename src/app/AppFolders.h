#pragma once

#include <string>

namespace vantrel {

// The program folder becomes the executable's folder; then SetDataFolder(DataFolder).
void InitAppFolders(const std::string& DataFolder);
// The data folder becomes Folder with a trailing separator, created with its missing
// parents. A folder that cannot be created is not reported here: the first write into it
// fails instead.
void SetDataFolder(const std::string& Folder);

// Both end with a separator. Before InitAppFolders the program folder is the executable's
// and the data folder is DefaultDataFolder(), looked up (and created) on every call so that
// it follows XDG_CONFIG_HOME.
std::string GetProgramFolder();
std::string GetDataFolder();

// The per-user roaming settings root followed by "Vantrel/".
std::string DefaultDataFolder();
// Forgets the folders set by InitAppFolders/SetDataFolder (for tests).
void ResetAppFolders();

}  // namespace vantrel
