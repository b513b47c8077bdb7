#include "hide/HideShowRoutines.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestFolder.h"
#include "app/Logger.h"
#include "hide/HiddenConfig.h"
#include "operations/Operations.h"
#include "platform/ProfileFile.h"
#include "platform/FileAttributes.h"
#include "platform/Files.h"

namespace vantrel {
namespace {

constexpr std::uint32_t kHiddenState = kFileAttributeReadOnly | kFileAttributeHidden | kFileAttributeSystem;

class HideShowTest : public ::testing::Test {
protected:
    void SetUp() override { InitHiddenConfig(); }
    void TearDown() override {
        DoneHiddenConfig();
        InitLogger("-debug", {});  // logging off again
    }
    void LogOn() { InitLogger("-debug", {"-debug"}); }
    std::string LogText() const { return FileExists(LogFileName()) ? dir.Read(LogFileName()) : std::string(); }
    std::vector<std::pair<int, std::string>> Items() const {
        std::vector<std::pair<int, std::string>> out;
        for (const auto& item : HiddenItemsStore->Items()) out.emplace_back(item.ItemType, item.FilePath);
        return out;
    }

    test::TestFolder dir;
};

TEST_F(HideShowTest, FilesAndFoldersAreHiddenRecordedAndShownAgain) {
    const std::string file = dir.Write("a.txt", "x");
    std::filesystem::create_directory(dir.File("docs"));
    dir.Write("docs/inner.txt", "y");
    const std::string folder = dir.File("docs/");

    HideFile(file);
    HideFolder(folder);
    EXPECT_EQ(GetFileAttributesOf(file), kHiddenState);
    EXPECT_EQ(GetFileAttributesOf(folder), kFileAttributeHidden | kFileAttributeSystem | kFileAttributeDirectory);
    EXPECT_EQ(GetFileAttributesOf(dir.File("docs/inner.txt")), kFileAttributeNormal);  // contents untouched
    EXPECT_EQ(Items(), (std::vector<std::pair<int, std::string>>{{0, file}, {1, folder}}));

    ShowFolder(folder, 1);
    ShowFile(file, 0);
    EXPECT_EQ(GetFileAttributesOf(file), kFileAttributeNormal);
    EXPECT_EQ(GetFileAttributesOf(folder), kFileAttributeDirectory);
    EXPECT_TRUE(Items().empty());
    EXPECT_FALSE(FileExists(dir.File(".hidden")));
    EXPECT_EQ(LogText(), "");  // nothing failed, and the log is off anyway
}

TEST_F(HideShowTest, DriveHidesItsMountPointInTheParentFolder) {
    std::filesystem::create_directories(dir.File("media/USB"));
    const std::string root = dir.File("media/USB/");
    HideDrive(root);
    EXPECT_EQ(ReadHiddenList(dir.File("media")), std::vector<std::string>{"USB"});
    EXPECT_EQ(Items(), (std::vector<std::pair<int, std::string>>{{2, root}}));
    EXPECT_TRUE(HiddenItemsStore->FindItem(root));

    ShowDrive(root, 0);
    EXPECT_TRUE(ReadHiddenList(dir.File("media")).empty());
    EXPECT_TRUE(Items().empty());
}

TEST_F(HideShowTest, RefusedChangeIsLoggedAndStillRecorded) {
    LogOn();
    const std::string missing = dir.File("missing.txt");
    HideFile(missing);
    HideDrive("/");  // the root has no folder above it to be listed in
    EXPECT_EQ(Items(), (std::vector<std::pair<int, std::string>>{{0, missing}, {2, "/"}}));
    ShowFile(missing, 0);
    EXPECT_EQ(Items(), (std::vector<std::pair<int, std::string>>{{2, "/"}}));

    const std::string log = LogText();
    const std::string hideLine = "CoreHide: SetFileAttributes failed " + FormatSysError(2) + "\r\n";
    const std::string rootLine = "CoreHide: SetFileAttributes failed " + FormatSysError(EINVAL) + "\r\n";
    const std::string showLine = "CoreUnhide: SetFileAttributes failed " + FormatSysError(2) + "\r\n";
    const auto at = log.find(hideLine);
    ASSERT_NE(at, std::string::npos) << log;
    EXPECT_NE(log.find(rootLine, at), std::string::npos) << log;
    EXPECT_NE(log.find(showLine, at), std::string::npos) << log;
}

TEST_F(HideShowTest, PathsTheStoreCannotHoldAreRefusedBeforeAnythingChanges) {
    const std::string odd = dir.Write("two\nlines", "x");
    const std::string deep = dir.Write(std::string(200, 'd') + "/" + std::string(200, 'e') + "/" +
                                           std::string(200, 'f') + "/" + std::string(200, 'g') + "/" +
                                           std::string(200, 'h') + "/" + std::string(200, 'i') + "/" +
                                           std::string(200, 'j') + "/" + std::string(200, 'k') + "/" +
                                           std::string(200, 'l') + "/" + std::string(200, 'm') + "/" +
                                           std::string(200, 'n'),
                                       "x");
    ASSERT_GT(deep.size(), THiddenConfig::kMaxPathUnits);
    for (const auto& path : {odd, deep}) {
        EXPECT_THROW(HideFile(path), EProfileError);
        THide hide;
        hide.ProcessFile(path);
        EXPECT_EQ(hide.LastResult(), TItemResult::Skipped);
        EXPECT_NE(hide.LastReason().find(path), std::string::npos);
        EXPECT_EQ(GetFileAttributesOf(path), kFileAttributeNormal) << "left visible and writable";
    }
    EXPECT_TRUE(Items().empty());
}

TEST_F(HideShowTest, AFailedSaveOfTheStoreLeavesTheFileAsItWas) {
    const std::string file = dir.Write("a.txt", "x");
    const std::string store = GetStoreFileName();
    std::filesystem::permissions(store, std::filesystem::perms::owner_read);  // the save is refused
    EXPECT_THROW(HideFile(file), EProfileError);
    EXPECT_EQ(GetFileAttributesOf(file), kFileAttributeNormal);
    EXPECT_FALSE(FileExists(dir.File(".hidden")));
    EXPECT_TRUE(Items().empty()) << "nothing looks recorded that is not";
    std::filesystem::permissions(store, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    HideFile(file);
    HideFile(file);
    EXPECT_EQ(Items(), (std::vector<std::pair<int, std::string>>{{0, file}})) << "recorded once";
    EXPECT_EQ(GetFileAttributesOf(file), kHiddenState);
}

}  // namespace
}  // namespace vantrel
