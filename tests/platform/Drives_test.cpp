#include "platform/Drives.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "TestFolder.h"

namespace vantrel {
namespace {

const char* const kMountInfo =
    "22 1 252:0 / / rw,relatime shared:1 - ext4 /dev/vdz rw\n"
    "23 22 0:21 / /proc rw,nosuid - proc proc rw\n"
    "30 22 8:17 / /media/ann/USB\\040Stick rw,nosuid shared:5 master:2 - vfat /dev/sdz1 rw,uid=1000\n"
    "31 22 0:40 / /mnt/share rw - nfs4 server:/export rw\n"
    "32 22 11:0 / /run/media/bob/DVD ro - iso9660 /dev/sr9 ro\n"
    "33 22 0:41 / /mnt/scratch rw - tmpfs tmpfs rw\n"
    "34 22 0:42 /@home /media/ann/Btr rw - btrfs /dev/sdz2 rw\n"
    "35 22 8:33 / /home rw - ext4 /dev/sdz3 rw\n"
    "36 22 8:18 / /media/ann/USB\\040Stick rw - vfat /dev/sdz1 rw\n"
    "37 22 8:49 / /mediaextra rw - ext4 /dev/sdz4 rw\n"
    "not a mount line\n"
    "38 22 8:50 / /mnt/cut rw\n";

std::vector<std::string> MountPoints(const std::vector<TMountEntry>& mounts) {
    std::vector<std::string> out;
    for (const auto& m : mounts) out.push_back(m.mountPoint);
    return out;
}

TEST(DrivesTest, ParsesMountInfoAndSelectsDrivesInOrder) {
    const auto mounts = ParseMountInfo(kMountInfo);
    ASSERT_EQ(mounts.size(), 10u);  // the two broken lines are skipped
    EXPECT_EQ(mounts[2].mountPoint, "/media/ann/USB Stick");
    EXPECT_EQ(mounts[2].fsType, "vfat");
    EXPECT_EQ(mounts[2].source, "/dev/sdz1");
    EXPECT_EQ(mounts[2].major, 8u);
    EXPECT_EQ(mounts[2].minor, 17u);

    const auto drives = SelectDrives(mounts);
    EXPECT_EQ(MountPoints(drives), (std::vector<std::string>{"/", "/media/ann/Btr", "/media/ann/USB Stick",
                                                             "/run/media/bob/DVD", "/mnt/share"}));
    EXPECT_EQ(drives[0].fsType, "ext4");
    EXPECT_EQ(drives[2].minor, 18u);  // mounted over: the latest mount counts

    EXPECT_EQ(MountPoints(SelectDrives({})), std::vector<std::string>{"/"});
}

TEST(DrivesTest, TypeFromFileSystemAndRemovableFlag) {
    test::TestFolder dir;
    namespace fs = std::filesystem;
    const std::string sys = dir.Path() + "sys";
    // A partition of a removable disk and a fixed disk, linked by number as /sys does.
    fs::create_directories(sys + "/devices/usb/block/sdz/sdz1");
    dir.Write("sys/devices/usb/block/sdz/removable", "1\n");
    dir.Write("sys/devices/usb/block/sdz/sdz1/partition", "1\n");
    fs::create_directories(sys + "/devices/virtual/block/vdz");
    dir.Write("sys/devices/virtual/block/vdz/removable", "0\n");
    fs::create_directories(sys + "/dev/block");
    fs::create_directory_symlink(sys + "/devices/usb/block/sdz/sdz1", sys + "/dev/block/8:18");
    fs::create_directory_symlink(sys + "/devices/virtual/block/vdz", sys + "/dev/block/252:0");

    const auto drives = SelectDrives(ParseMountInfo(kMountInfo));
    const std::vector<TDriveType> expected = {TDriveType::Fixed, TDriveType::Fixed, TDriveType::Removable,
                                              TDriveType::CDRom, TDriveType::Remote};
    ASSERT_EQ(drives.size(), expected.size());
    for (std::size_t i = 0; i < drives.size(); ++i) EXPECT_EQ(DriveTypeOf(drives[i], sys), expected[i]) << i;
}

TEST(DrivesTest, RootOfThisSystem) {
    test::TestFolder dir;
    const auto drives = GetLogicalDrives();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(drives[0], "/");
    EXPECT_TRUE(IsDriveRoot("/"));
    EXPECT_TRUE(IsDriveReady("/"));
    EXPECT_NE(GetDriveType("/"), TDriveType::Unknown);
    EXPECT_FALSE(IsDriveRoot(dir.Path()));
    EXPECT_FALSE(IsDriveRoot(""));
    EXPECT_FALSE(IsDriveReady(dir.Path() + "missing"));
    EXPECT_EQ(GetDriveType(dir.Path()), TDriveType::Unknown);
    EXPECT_EQ(DriveRootPath("/"), "/");
    EXPECT_EQ(DriveRootPath("/media/ann/USB"), "/media/ann/USB/");
}

}  // namespace
}  // namespace vantrel
