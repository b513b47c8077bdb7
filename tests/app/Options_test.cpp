#include "app/OptionsUnit.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "TestFolder.h"
#include "app/AppFolders.h"
#include "platform/ProfileFile.h"

namespace vantrel {
namespace {

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetAppFolders(); }
    void TearDown() override { ResetAppFolders(); }
    std::string Options(const std::string& body) { return dir.Write("Vantrel/options.ini", "[Options]\n" + body); }
    test::TestFolder dir;
};

TEST_F(OptionsTest, NoFileGivesTheDefaults) {
    TOptions options;
    EXPECT_EQ(options.FileName(), dir.DataFolder() + "options.ini");
    EXPECT_EQ(options.ReadInteger("LanguageID", 1033), 1033);
    EXPECT_EQ(options.ReadString("LanguageID", "1033"), "1033");
    EXPECT_TRUE(options.ReadBool("IntegrateContextMenu", true));
    EXPECT_FALSE(options.ReadBool("CascadeContextMenu", false));
    EXPECT_FALSE(std::filesystem::exists(options.FileName()));
}

TEST_F(OptionsTest, ReadInteger) {
    const std::pair<const char*, int> cases[] = {
        {"1031", 1031},      {"0x407", 1031},      {"0X407", 1031},        {"0x7fffffff", INT_MAX},
        {"0xFFFFFFFF", -1},  {"0x0000000001", 1},  {"-1", -1},             {"+5", 5},
        {"  42  ", 42},      {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
        // no such number: the default
        {"abc", -7},         {"", -7},             {"0x", -7},             {"0xZZ", -7},
        {"12abc", -7},       {"1 2", -7},          {"2147483648", -7},     {"-2147483649", -7},
        {"0x100000000", -7}, {"-0x10", -7},        {"$10", -7},            {"+", -7},
    };
    for (const auto& [text, expected] : cases) {
        Options(std::string("LanguageID=") + text + "\n");
        EXPECT_EQ(TOptions().ReadInteger("LanguageID", -7), expected) << text;
    }
}

TEST_F(OptionsTest, HexLanguageIdIsAnIntegerButStaysTextForFileNames) {
    Options("LanguageID=0x407\n");
    TOptions options;
    EXPECT_EQ(options.ReadInteger("LanguageID", 1033), 1031);
    EXPECT_EQ(options.ReadString("LanguageID", "1033"), "0x407");
}

TEST_F(OptionsTest, ReadBool) {
    const std::tuple<const char*, bool, bool> cases[] = {
        {"1", false, true}, {"2", false, true}, {"-1", false, true}, {"0", true, false},
        {"abc", true, true}, {"abc", false, false}, {"yes", false, false}, {"true", true, true},
    };
    for (const auto& [text, def, expected] : cases) {
        Options(std::string("IntegrateContextMenu=") + text + "\n");
        EXPECT_EQ(TOptions().ReadBool("IntegrateContextMenu", def), expected) << text << " default " << def;
    }
}

TEST_F(OptionsTest, SectionNameIgnoresCaseAndEveryReadSeesTheDisk) {
    const std::string file = dir.Write("Vantrel/options.ini", "[OPTIONS]\ncascadecontextmenu=1\n");
    TOptions options;
    EXPECT_TRUE(options.ReadBool("CascadeContextMenu", false));
    dir.Write("Vantrel/options.ini", "[Options]\nCascadeContextMenu=0\n");
    EXPECT_FALSE(options.ReadBool("CascadeContextMenu", true));
}

TEST_F(OptionsTest, WriteBoolWritesOneOrZero) {
    TOptions options(dir.File("given.ini"));
    options.WriteBool("IntegrateContextMenu", false);
    options.WriteBool("CascadeContextMenu", true);
    EXPECT_EQ(dir.Read("given.ini"), "[Options]\nIntegrateContextMenu=0\nCascadeContextMenu=1\n");
    options.WriteBool("integratecontextmenu", true);
    EXPECT_EQ(dir.Read("given.ini"), "[Options]\nIntegrateContextMenu=1\nCascadeContextMenu=1\n");
}

TEST_F(OptionsTest, RefusedWriteNamesTheFile) {
    const std::string file = dir.File("missing/options.ini");
    TOptions options(file);
    try {
        options.WriteBool("CascadeContextMenu", true);
        FAIL() << "no error";
    } catch (const EProfileError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + file);
    }
    // Reads of the same file still fall back quietly.
    EXPECT_TRUE(options.ReadBool("CascadeContextMenu", true));
}

}  // namespace
}  // namespace vantrel
