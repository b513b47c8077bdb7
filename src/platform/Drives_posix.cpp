#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/Drives.h"
#include "platform/Folders.h"

namespace vantrel {

namespace {

std::string Unescape(std::string_view field) {
    const auto isOct = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOct(field[i + 1]) && isOct(field[i + 2]) &&
            isOct(field[i + 3])) {
            out += char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool IsNetworkFileSystem(std::string_view type) {
    static constexpr std::array<std::string_view, 13> kTypes = {
        "nfs",  "nfs4",      "cifs",       "smb3",           "smbfs", "ncpfs",      "afs",
        "ceph", "glusterfs", "fuse.sshfs", "fuse.glusterfs", "davfs", "fuse.rclone"};
    return std::find(kTypes.begin(), kTypes.end(), type) != kTypes.end();
}

bool IsBlockBacked(const TMountEntry& m) { return m.major != 0 || StartsWith(m.source, "/dev/"); }

// Rank of a mount point among the drive groups, or -1 when it is in none.
int GroupOf(const std::string& path) {
    static constexpr std::array<std::string_view, 3> kParents = {"/media", "/run/media", "/mnt"};
    if (path == "/") return 0;
    for (std::size_t g = 0; g < kParents.size(); ++g) {
        const auto parent = kParents[g];
        if (path == parent || (StartsWith(path, parent) && path.size() > parent.size() && path[parent.size()] == '/'))
            return int(g) + 1;
    }
    return -1;
}

std::string ReadFirstLine(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

std::vector<TMountEntry> CurrentDrives() {
    std::ifstream in("/proc/self/mountinfo");
    std::ostringstream text;
    text << in.rdbuf();
    return SelectDrives(ParseMountInfo(text.str()));
}

}  // namespace

std::vector<TMountEntry> ParseMountInfo(std::string_view text) {
    std::vector<TMountEntry> mounts;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const auto fields = Fields(text.substr(start, end - start));
        start = end + 1;
        // id parent major:minor root mount-point options [optional...] - type source super
        const auto dash = std::find(fields.begin(), fields.end(), std::string_view("-"));
        if (fields.size() < 5 || dash == fields.end() || dash - fields.begin() < 6 || fields.end() - dash < 3) continue;
        TMountEntry m;
        const std::string_view dev = fields[2];
        const auto colon = dev.find(':');
        if (colon == std::string_view::npos) continue;
        m.major = unsigned(std::strtoul(std::string(dev.substr(0, colon)).c_str(), nullptr, 10));
        m.minor = unsigned(std::strtoul(std::string(dev.substr(colon + 1)).c_str(), nullptr, 10));
        m.mountPoint = Unescape(fields[4]);
        m.fsType = std::string(dash[1]);
        m.source = Unescape(dash[2]);
        mounts.push_back(std::move(m));
    }
    return mounts;
}

std::vector<TMountEntry> SelectDrives(const std::vector<TMountEntry>& mounts) {
    std::vector<TMountEntry> drives;
    TMountEntry root;
    root.mountPoint = "/";
    drives.push_back(root);
    for (const auto& m : mounts) {
        const int group = GroupOf(m.mountPoint);
        if (group < 0) continue;
        if (group > 0 && !IsBlockBacked(m) && !IsNetworkFileSystem(m.fsType)) continue;
        auto same =
            std::find_if(drives.begin(), drives.end(), [&](const auto& d) { return d.mountPoint == m.mountPoint; });
        if (same != drives.end())
            *same = m;
        else
            drives.push_back(m);
    }
    std::stable_sort(drives.begin() + 1, drives.end(), [](const auto& a, const auto& b) {
        const int ga = GroupOf(a.mountPoint), gb = GroupOf(b.mountPoint);
        return ga != gb ? ga < gb : a.mountPoint < b.mountPoint;
    });
    return drives;
}

TDriveType DriveTypeOf(const TMountEntry& mount, const std::string& sysRoot) {
    if (mount.fsType == "iso9660" || mount.fsType == "udf") return TDriveType::CDRom;
    if (IsNetworkFileSystem(mount.fsType)) return TDriveType::Remote;
    unsigned major = mount.major, minor = mount.minor;
    // fuseblk and btrfs report anonymous numbers; the device node knows the disk.
    struct stat st {};
    if (StartsWith(mount.source, "/dev/") && ::stat(mount.source.c_str(), &st) == 0 && S_ISBLK(st.st_mode)) {
        major = ::major(st.st_rdev);
        minor = ::minor(st.st_rdev);
    }
    if (major != 0) {
        const std::string link = sysRoot + "/dev/block/" + std::to_string(major) + ":" + std::to_string(minor);
        if (char* real = ::realpath(link.c_str(), nullptr)) {
            std::string dir = real;
            std::free(real);
            // A partition's flag lives on its disk, the folder above it.
            struct stat ps {};
            if (::stat((dir + "/partition").c_str(), &ps) == 0) dir = dir.substr(0, dir.find_last_of('/'));
            if (ReadFirstLine(dir + "/removable") == "1") return TDriveType::Removable;
        }
    }
    return TDriveType::Fixed;
}

std::vector<std::string> GetLogicalDrives() {
    std::vector<std::string> names;
    for (const auto& d : CurrentDrives()) names.push_back(d.mountPoint);
    return names;
}

TDriveType GetDriveType(const std::string& drive) {
    const std::string path = WithoutTrailingSeparators(drive);
    for (const auto& d : CurrentDrives())
        if (d.mountPoint == path) return DriveTypeOf(d);
    return TDriveType::Unknown;
}

bool IsDriveReady(const std::string& drive) {
    struct statvfs sv {};
    return ::statvfs(DriveRootPath(drive).c_str(), &sv) == 0;
}

bool IsDriveRoot(const std::string& path) {
    if (path.empty()) return false;
    const std::string p = WithoutTrailingSeparators(path);
    const auto drives = CurrentDrives();
    return std::any_of(drives.begin(), drives.end(), [&](const auto& d) { return d.mountPoint == p; });
}

std::string DriveRootPath(const std::string& drive) {
    return WithTrailingSeparator(drive);
}

}  // namespace vantrel
