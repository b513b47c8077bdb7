#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Logical drives. On POSIX a drive is "/" or the mount point of a block-device or network
// file system under /media, /run/media or /mnt. Its text is the mount path ("/",
// "/media/ann/USB"); its root path is that with a trailing separator.
enum class TDriveType { Unknown, Removable, Fixed, Remote, CDRom, RamDisk };

// One line of /proc/self/mountinfo.
struct TMountEntry {
    std::string mountPoint;  // octal escapes (\040 and the like) undone
    std::string fsType;
    std::string source;
    unsigned major = 0;
    unsigned minor = 0;
};

// Reads the text of a mountinfo file; malformed lines are skipped.
std::vector<TMountEntry> ParseMountInfo(std::string_view text);
// The drives among the mounts, in order: "/" (always, mounted or not), then those under
// /media, /run/media and /mnt, each group in path order; a mount point mounted over twice
// counts once, as its latest mount.
std::vector<TMountEntry> SelectDrives(const std::vector<TMountEntry>& mounts);
// CD-ROM for iso9660 and udf, remote for network file systems, removable when the disk's
// "removable" flag under sysRoot (/sys) is 1, fixed otherwise.
TDriveType DriveTypeOf(const TMountEntry& mount, const std::string& sysRoot = "/sys");

// The same, on the mounts of this process.
std::vector<std::string> GetLogicalDrives();
TDriveType GetDriveType(const std::string& drive);  // Unknown when it is no drive
bool IsDriveReady(const std::string& drive);        // its size can be read (statvfs)
// Whether the path, with or without a trailing separator, is a drive's mount path.
bool IsDriveRoot(const std::string& path);
// The drive text with a trailing separator ("/" stays "/").
std::string DriveRootPath(const std::string& drive);

}  // namespace vantrel
