#include "platform/Folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestFolder.h"
#include "app/AppFolders.h"
#include "platform/Clock.h"
#include "platform/SysError.h"

namespace vantrel {
namespace {

// Sets or clears one variable for a scope.
class ScopedVar {
public:
    ScopedVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    }
    ~ScopedVar() {
        if (old_) ::setenv(name_, old_->c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(Folders, RoamingRootAlwaysEndsWithSeparator) {
    ScopedVar home("HOME", "/home/ann");
    {
        ScopedVar xdg("XDG_CONFIG_HOME", "/tmp/cfg");
        EXPECT_EQ(RoamingDataRoot(), "/tmp/cfg/");
    }
    {
        ScopedVar xdg("XDG_CONFIG_HOME", "/tmp/cfg/");
        EXPECT_EQ(RoamingDataRoot(), "/tmp/cfg/");
    }
    {
        ScopedVar xdg("XDG_CONFIG_HOME", "relative/cfg");  // ignored, as the XDG rules say
        EXPECT_EQ(RoamingDataRoot(), "/home/ann/.config/");
    }
    {
        ScopedVar xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(RoamingDataRoot(), "/home/ann/.config/");
    }
}

TEST(Folders, CreateFolderWithParents) {
    test::TestFolder dir;
    EXPECT_TRUE(CreateFolderWithParents(dir.File("a/b/c")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("a/b/c")));
    EXPECT_TRUE(CreateFolderWithParents(dir.File("a/b/c/")));  // already there
    dir.Write("file", "x");
    EXPECT_FALSE(CreateFolderWithParents(dir.File("file/sub")));
}

TEST(AppFolders, DataFolderFollowsTheEnvironmentUntilSet) {
    test::TestFolder dir;
    ResetAppFolders();
    EXPECT_EQ(GetDataFolder(), dir.Path() + "Vantrel/");
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() + "Vantrel"));
}

TEST(AppFolders, InitSetsBothFoldersWithSeparators) {
    test::TestFolder dir;
    InitAppFolders(dir.Path() + "deep/er/Vantrel");  // no separator at the end
    EXPECT_EQ(GetDataFolder(), dir.Path() + "deep/er/Vantrel/");
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() + "deep/er/Vantrel"));

    const std::string program = GetProgramFolder();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.back(), '/');
    EXPECT_EQ(program + std::filesystem::path(ExecutablePath()).filename().string(), ExecutablePath());
    ResetAppFolders();
}

TEST(AppFolders, UncreatableDataFolderIsNotAnError) {
    test::TestFolder dir;
    dir.Write("blocker", "x");
    EXPECT_NO_THROW(SetDataFolder(dir.File("blocker/Vantrel")));
    EXPECT_EQ(GetDataFolder(), dir.File("blocker/Vantrel/"));
    ResetAppFolders();
}

TEST(SysError, FramesTheSystemText) {
    EXPECT_EQ(FormatSysError(5), "Error #5 Input/output error");
    EXPECT_EQ(FormatSysError(2), "Error #2 No such file or directory");
    EXPECT_EQ(FormatSysError(0), "Error #0 Success");
    EXPECT_EQ(FormatSysError(99999), "Error #99999 Unknown error 99999");
}

TEST(Clock, LocalTimeIsSane) {
    const TLocalTime t = LocalTimeNow();
    EXPECT_GE(t.year, 2024);
    EXPECT_TRUE(t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31);
    EXPECT_TRUE(t.hour < 24 && t.minute < 60 && t.second < 61 && t.millisecond < 1000);
}

}  // namespace
}  // namespace vantrel
