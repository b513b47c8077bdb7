#include "shell/ContextMenuHandOver.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "TestFolder.h"
#include "app/CmdLineActivate.h"
#include "app/AppFolders.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace vantrel {
namespace {

TEST(HandOverPaths, RelativeNamesAreTakenFromTheWorkingFolder) {
    EXPECT_EQ(HandOverPaths({"a b.txt", "-rf", "/abs/c", "sub/d"}, false, "/home/ann/My Files"),
              (std::vector<std::string>{"/home/ann/My Files/a b.txt", "/home/ann/My Files/-rf", "/abs/c",
                                        "/home/ann/My Files/sub/d"}));
    EXPECT_EQ(HandOverPaths({"x"}, false, "/"), (std::vector<std::string>{"/x"}));
}

TEST(HandOverPaths, UrisOfLocalFilesAreDecoded) {
    EXPECT_EQ(HandOverPaths({"file:///home/ann/a%20%22b%22%FF", "file://localhost/x%2"}, true, "/"),
              (std::vector<std::string>{"/home/ann/a \"b\"\xFF", "/x%2"}));
}

TEST(HandOverPaths, RefusesWhatOneLineCannotCarryOrIsNotLocal) {
    for (const auto& [item, uris] : std::vector<std::pair<std::string, bool>>{
             {"/a\nb", false}, {"a\rb", false}, {"file:///a%0Ab", true}, {"file:///a%00b", true},
             {"sftp://host/a", true}, {"file://host/a", true}, {"/plain/path", true}, {"smb://host/share/a", false}}) {
        EXPECT_THROW(HandOverPaths({"/fine", item}, uris, "/"), EHandOverRefused) << item;
    }
}

// The whole run with a stub in place of the program's start.
class HandOverRun : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppFolders();
        program = dir.Write("app/vantrel", "#!/bin/sh\n");
        ::chmod(program.c_str(), 0755);
        WriteRegistryString("HKEY_CURRENT_USER", "Software\\Halcorne\\Vantrel", "AppPath", dir.File("app/"));
    }
    int Run(const std::vector<std::string>& arguments) {
        return RunContextMenuHandOver(
            arguments,
            [this](const std::string& p, const std::vector<std::string>& a) {
                started.push_back(p);
                started.insert(started.end(), a.begin(), a.end());
                return true;
            },
            [this](const std::string& text) { notices.push_back(text); });
    }
    void TearDown() override { ResetAppFolders(); }
    test::TestFolder dir;
    std::string program;
    std::vector<std::string> started, notices;
};

TEST_F(HandOverRun, WritesTheListWithAMarkAndStartsTheProgramWithTheSwitch) {
    ASSERT_EQ(Run({"/shred", "/x/a", "/x/\xFF b"}), 0);
    EXPECT_EQ(started, (std::vector<std::string>{program, "/shred"}));
    const std::string list = dir.Read(dir.DataFolder() + "todo");
    EXPECT_EQ(list, "\xEF\xBB\xBF/x/a\n/x/\xFF b\n");
    EXPECT_EQ(ParseCommandLineList(list), (std::vector<std::string>{"/x/a", "/x/\xFF b"}));
}

TEST_F(HandOverRun, ALineBreakRefusesTheWholeSelectionWithANotice) {
    dir.Write("Vantrel/todo", "old");
    EXPECT_EQ(Run({"/hide", "/x/a", "/x/evil\n/x/a"}), 1);
    EXPECT_TRUE(started.empty());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find("line break"), std::string::npos);
    EXPECT_EQ(dir.Read(dir.DataFolder() + "todo"), "old");
}

TEST_F(HandOverRun, WrongSwitchesAndEmptySelectionsStartNothing) {
    for (const auto& arguments : std::vector<std::vector<std::string>>{
             {}, {"/ENCRYPT", "/x"}, {"encrypt", "/x"}, {"/show", "/x"}, {"/activate", "/x"}, {"/encrypt"}}) {
        EXPECT_NE(Run(arguments), 0);
    }
    EXPECT_TRUE(started.empty());
    EXPECT_FALSE(FileExists(dir.DataFolder() + "todo"));
}

TEST_F(HandOverRun, AMissingProgramIsReported) {
    ::unlink(program.c_str());
    EXPECT_EQ(Run({"/encrypt", "/x"}), 1);
    EXPECT_TRUE(started.empty());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find(program), std::string::npos);
}

}  // namespace
}  // namespace vantrel
