#include "ui/GetDrives.h"

namespace vantrel {

std::vector<TDriveInfo> GetDrivesList() {
    std::vector<TDriveInfo> drives;
    for (const std::string& drive : GetLogicalDrives()) {
        if (!IsDriveReady(drive)) continue;
        const TDriveType type = GetDriveType(drive);
        if (type == TDriveType::Unknown) continue;
        drives.push_back({drive, type});
    }
    return drives;
}

}  // namespace vantrel
