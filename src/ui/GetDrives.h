#pragma once

#include <string>
#include <vector>

#include "platform/Drives.h"

namespace vantrel {

struct TDriveInfo {
    std::string text;  // the mount path, as the tree shows it
    TDriveType type = TDriveType::Fixed;
};

// The drives the files tree offers: those of the platform whose type is known and whose size
// can be read, in the platform's order.
std::vector<TDriveInfo> GetDrivesList();

}  // namespace vantrel
