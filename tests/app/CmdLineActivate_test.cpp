#include "app/CmdLineActivate.h"

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "app/AppFolders.h"
#include "platform/Files.h"

namespace vantrel {
namespace {

struct ListCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

class ListFileEncoding : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListFileEncoding, GivesThePathsOfEveryLine) {
    ::setenv("VANTREL_CODEPAGE", "1251", 1);
    EXPECT_EQ(ParseCommandLineList(GetParam().bytes), GetParam().lines);
    ::unsetenv("VANTREL_CODEPAGE");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ListFileEncoding,
    ::testing::Values(
        ListCase{"Utf8MarkMixedLineEnds", "\xEF\xBB\xBF/a b\r\n/c\n/d\r/e", {"/a b", "/c", "/d", "/e"}},
        // The hand-over writes raw file-name bytes after a UTF-8 mark: they must come through.
        ListCase{"Utf8MarkKeepsInvalidBytes", "\xEF\xBB\xBF/x/\xFF\xFE.txt\n", {"/x/\xFF\xFE.txt"}},
        ListCase{"Utf16LittleEndian", std::string("\xFF\xFE/\0\xE4\0\r\0\n\0/\0b\0", 14), {"/\xC3\xA4", "/b"}},
        ListCase{"Utf16BigEndian", std::string("\xFE\xFF\0/\0\xE4\0\n\0/\0b", 12), {"/\xC3\xA4", "/b"}},
        // Without a mark the bytes are the ANSI code page's: 0xC4 is Cyrillic D in 1251.
        ListCase{"AnsiCodePage", "/\xC4\r\n/b\r\n", {"/\xD0\x94", "/b"}},
        ListCase{"EmptyLinesAndTrailingBreaksLeftOut", "\xEF\xBB\xBF\n/a\n\n\r\n/b\n\n", {"/a", "/b"}},
        // A NUL would cut the name short at the system's calls and name another file.
        ListCase{"LineWithNulLeftOut", std::string("\xEF\xBB\xBF/a\0b\n/c", 10), {"/c"}},
        ListCase{"EmptyFile", "", {}}),
    [](const ::testing::TestParamInfo<ListCase>& c) { return std::string(c.param.name); });

class CommandLineFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAppFolders();
        InitCmdLineFiles();
    }
    void TearDown() override {
        DoneCmdLineFiles();
        ResetAppFolders();
    }
    test::TestFolder dir;
};

TEST_F(CommandLineFiles, EachLoadPutsTheFileFirstAndTheEarlierEntriesAfter) {
    dir.Write("Vantrel/todo", "\xEF\xBB\xBF/one\n/two\n");
    LoadCommandLineFiles();
    EXPECT_EQ(CmdLineFiles(), (std::vector<std::string>{"/one", "/two"}));

    dir.Write("Vantrel/todo", "\xEF\xBB\xBF/three\n");
    LoadCommandLineFiles();  // as "/encrypt" then "/shred" do
    EXPECT_EQ(CmdLineFiles(), (std::vector<std::string>{"/three", "/one", "/two"}));
    EXPECT_TRUE(FileExists(dir.DataFolder() + "todo"));  // only read, never removed
}

TEST_F(CommandLineFiles, AnUnreadableListRaisesAndKeepsWhatWasThere) {
    CmdLineFiles() = {"/kept"};
    EXPECT_THROW(LoadCommandLineFiles(), EFileError);
    EXPECT_EQ(CmdLineFiles(), (std::vector<std::string>{"/kept"}));
}

TEST_F(CommandLineFiles, TakingHandsThePathsToOneRunOnly) {
    dir.Write("Vantrel/todo", "\xEF\xBB\xBF/one\n");
    LoadCommandLineFiles();
    EXPECT_EQ(TakeCmdLineFiles(), (std::vector<std::string>{"/one"}));
    EXPECT_TRUE(CmdLineFiles().empty());
}

TEST(CommandLineArguments, GivenArgumentsReplaceTheProcessesOwnUntilReset) {
    const auto own = ProgramArguments();
    SetProgramArguments({"/encrypt", "-debug"});
    EXPECT_EQ(ProgramArguments(), (std::vector<std::string>{"/encrypt", "-debug"}));
    ResetProgramArguments();
    EXPECT_EQ(ProgramArguments(), own);
}

TEST(CommandLineArguments, ActivationFlagIsOffUntilSet) {
    EXPECT_FALSE(IsActivatedFromCommandLine());
    SetActivatedFromCommandLine();
    EXPECT_TRUE(IsActivatedFromCommandLine());
    SetActivatedFromCommandLine(false);
}

}  // namespace
}  // namespace vantrel
