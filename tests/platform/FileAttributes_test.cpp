#include "platform/FileAttributes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "TestFolder.h"
#include "platform/Files.h"

namespace vantrel {
namespace {

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

constexpr std::uint32_t kHiddenState = kFileAttributeReadOnly | kFileAttributeHidden | kFileAttributeSystem;

TEST(FileAttributesTest, ReadFromNameListAndPermissions) {
    test::TestFolder dir;
    const std::string plain = dir.Write("plain.txt", "x");
    const std::string dotted = dir.Write(".dotted", "x");
    const std::string locked = dir.Write("locked.txt", "x");
    ::chmod(locked.c_str(), 0444);
    std::filesystem::create_directory(dir.File("sub"));
    ::chmod(dir.File("sub").c_str(), 0555);  // a folder is never read-only
    dir.Write(".hidden", "listed.txt\n");
    const std::string listed = dir.Write("listed.txt", "x");

    EXPECT_EQ(GetFileAttributesOf(plain), kFileAttributeNormal);
    EXPECT_EQ(GetFileAttributesOf(dotted), kFileAttributeHidden);
    EXPECT_EQ(GetFileAttributesOf(locked), kFileAttributeReadOnly);
    EXPECT_EQ(GetFileAttributesOf(dir.File("sub")), kFileAttributeDirectory);
    EXPECT_EQ(GetFileAttributesOf(dir.File("sub/")), kFileAttributeDirectory);
    EXPECT_EQ(GetFileAttributesOf(listed), kFileAttributeHidden | kFileAttributeSystem);
    int error = 0;
    EXPECT_EQ(GetFileAttributesOf(dir.File("missing"), &error), kInvalidFileAttributes);
    EXPECT_EQ(error, ENOENT);
}

TEST(FileAttributesTest, HideAndShowAFileRoundTrips) {
    test::TestFolder dir;
    const std::string file = dir.Write("a.txt", "x");
    ::chmod(file.c_str(), 0444);  // read-only before hiding: not remembered

    ASSERT_EQ(SetFileAttributesOf(file, kHiddenState), 0);
    EXPECT_EQ(GetFileAttributesOf(file), kHiddenState);
    EXPECT_EQ(ReadHiddenList(dir.Path()), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(ModeOf(file) & 0222, 0u);
    ASSERT_EQ(SetFileAttributesOf(file, kHiddenState), 0);  // twice lists it once
    EXPECT_EQ(ReadHiddenList(dir.Path()).size(), 1u);

    ASSERT_EQ(SetFileAttributesOf(file, kFileAttributeNormal), 0);
    EXPECT_EQ(GetFileAttributesOf(file), kFileAttributeNormal);
    EXPECT_FALSE(FileExists(dir.File(".hidden")));  // emptied list is removed
    EXPECT_EQ(ModeOf(file), mode_t(0644));
}

TEST(FileAttributesTest, FolderIsListedInItsParentAndKeepsItsPermissions) {
    test::TestFolder dir;
    dir.Write(".hidden", "other name\n");
    std::filesystem::create_directory(dir.File("docs"));
    const mode_t before = ModeOf(dir.File("docs"));

    ASSERT_EQ(SetFileAttributesOf(dir.File("docs/"), kHiddenState), 0);
    EXPECT_EQ(GetFileAttributesOf(dir.File("docs")),
              kFileAttributeDirectory | kFileAttributeHidden | kFileAttributeSystem);
    EXPECT_EQ(ModeOf(dir.File("docs")), before);
    EXPECT_EQ(ReadHiddenList(dir.Path()), (std::vector<std::string>{"other name", "docs"}));

    ASSERT_EQ(SetFileAttributesOf(dir.File("docs"), kFileAttributeNormal), 0);
    EXPECT_EQ(dir.Read(".hidden"), "other name\n");  // other entries survive
}

TEST(FileAttributesTest, RefusedChangesReturnTheErrorAndChangeNothing) {
    test::TestFolder dir;
    EXPECT_EQ(SetFileAttributesOf(dir.File("missing.txt"), kHiddenState), ENOENT);
    EXPECT_EQ(SetFileAttributesOf("/", kHiddenState), EINVAL);  // no parent to list it in
    const std::string broken = dir.Write("two\nlines", "x");
    const mode_t before = ModeOf(broken);
    EXPECT_EQ(SetFileAttributesOf(broken, kHiddenState), EINVAL);
    EXPECT_FALSE(FileExists(dir.File(".hidden")));
    EXPECT_EQ(ModeOf(broken), before);
}

TEST(FileAttributesTest, LinkIsListedWithoutTouchingItsTarget) {
    test::TestFolder dir;
    const std::string target = dir.Write("target.txt", "x");
    const mode_t before = ModeOf(target);
    ASSERT_EQ(::symlink(target.c_str(), dir.File("link").c_str()), 0);
    ASSERT_EQ(SetFileAttributesOf(dir.File("link"), kHiddenState), 0);
    EXPECT_EQ(ModeOf(target), before);
    EXPECT_EQ(GetFileAttributesOf(target), kFileAttributeNormal);
}

}  // namespace
}  // namespace vantrel
