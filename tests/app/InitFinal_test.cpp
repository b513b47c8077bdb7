#include "app/InitFinal.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "TestFolder.h"
#include "app/AppFolders.h"
#include "platform/Folders.h"
#include "platform/Registry.h"

namespace vantrel {
namespace {

constexpr const char* Root = "HKEY_CURRENT_USER";
constexpr const char* Key = "Software\\Halcorne\\Vantrel\\";

class StartUpTest : public ::testing::Test {
protected:
    ~StartUpTest() override { ResetAppFolders(); }
    test::TestFolder home;
};

TEST_F(StartUpTest, CleanStartCreatesDataFolderAndWritesAppPath) {
    ASSERT_FALSE(std::filesystem::exists(home.DataFolder()));
    StartUp();

    EXPECT_TRUE(std::filesystem::is_directory(home.DataFolder()));
    EXPECT_EQ(GetDataFolder(), home.DataFolder());
    const std::string registry = home.Read(home.DataFolder() + "registry.ini");
    EXPECT_NE(registry.find("[HKEY_CURRENT_USER\\Software\\Halcorne\\Vantrel]"), std::string::npos) << registry;

    const auto appPath = ReadRegistryString(Root, Key, "AppPath");
    ASSERT_TRUE(appPath);
    EXPECT_EQ(*appPath, ExecutableFolder());
    EXPECT_TRUE(appPath->ends_with("/"));
    // Without "-debug" nothing else lands in the data folder: no log.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.DataFolder()), {}), 1);
    ShutDown();
}

TEST_F(StartUpTest, EveryStartRewritesAppPathAndKeepsOtherValues) {
    std::filesystem::create_directories(home.DataFolder());
    home.Write("Vantrel/registry.ini",
               "[HKEY_CURRENT_USER\\Software\\Halcorne\\Vantrel]\nAppPath=/old/place/\n"
               "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer]\n"
               "NoDrives=dword:0000000c\n");
    StartUp();
    EXPECT_EQ(ReadRegistryString(Root, Key, "AppPath").value_or(""), ExecutableFolder());
    EXPECT_EQ(ReadRegistryDword(Root, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer", "NoDrives"),
              0x0Cu);
    ShutDown();
}

TEST_F(StartUpTest, UnwritableDataFolderStopsTheStart) {
    // A file where the settings root should be: the data folder cannot exist.
    const std::string blocker = home.Write("not-a-folder", "x");
    ::setenv("XDG_CONFIG_HOME", blocker.c_str(), 1);
    EXPECT_THROW(StartUp(), ERegistryError);
}

}  // namespace
}  // namespace vantrel
