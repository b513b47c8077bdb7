#include <gtest/gtest.h>

#include "TestFolder.h"
#include "app/AppFolders.h"
#include "platform/Files.h"
#include "shell/ContextMenuExtActivator.h"

namespace vantrel {
namespace {

// The switches as start-up sees them, in a home of their own.
class ContextMenuSwitches : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", dir.File("etc").c_str(), 1);
        ResetAppFolders();
        ClearQuitRequest();
    }
    void TearDown() override {
        ::unsetenv("XDG_DATA_HOME");
        ::unsetenv("XDG_CONFIG_DIRS");
        ClearQuitRequest();
        ResetAppFolders();
    }
    std::string ServiceMenu() const { return dir.File("data/kio/servicemenus/vantrel.desktop"); }
    test::TestFolder dir;
};

TEST_F(ContextMenuSwitches, OnlyTheExactSwitchesActAndAskToQuit) {
    CheckContextMenuSwitches({"/ACTIVATE", "activate", "-activate", "/Deactivate", "/encrypt"});
    EXPECT_FALSE(IsQuitRequested());
    EXPECT_FALSE(FileExists(ServiceMenu()));

    CheckContextMenuSwitches({"-debug", "/activate"});
    EXPECT_TRUE(IsQuitRequested());
    EXPECT_TRUE(FileExists(ServiceMenu()));
    EXPECT_EQ(ContextMenuHelperPath(), GetProgramFolder() + "vantrel-context-menu");
    EXPECT_NE(dir.Read(ServiceMenu()).find(ContextMenuHelperPath() + " /encrypt %F"), std::string::npos);
}

TEST_F(ContextMenuSwitches, EachSwitchRunsWhereItStands) {
    CheckContextMenuSwitches({"/activate", "/deactivate"});
    EXPECT_FALSE(FileExists(ServiceMenu()));
    CheckContextMenuSwitches({"/deactivate", "/activate"});
    EXPECT_TRUE(FileExists(ServiceMenu()));
    CheckContextMenuSwitches({"/deactivate"});
    EXPECT_FALSE(FileExists(dir.File("data")));
}

}  // namespace
}  // namespace vantrel
