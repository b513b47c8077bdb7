#include "platform/ProfileFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "TestFolder.h"

namespace vantrel {
namespace {

struct ReadCase {
    const char* what;
    const char* content;
    const char* section;
    const char* key;
    const char* expected;  // the default is "<def>"
};

const ReadCase kReadCases[] = {
    {"section and key ignore case", "[Options]\nLanguageID=1031\n", "OPTIONS", "languageid", "1031"},
    {"value and name are trimmed", "[S]\n  key \t=   two words  \t\n", "S", "key", "two words"},
    {"blanks inside the brackets", "[  S  ]\nk=v\n", "s", "k", "v"},
    {"double quotes removed", "[S]\nk=\"  padded  \"\n", "S", "k", "  padded  "},
    {"single quotes removed", "[S]\nk='x'\n", "S", "k", "x"},
    {"only one pair of quotes", "[S]\nk=\"\"x\"\"\n", "S", "k", "\"x\""},
    {"unmatched quote kept", "[S]\nk=\"x\n", "S", "k", "\"x"},
    {"mixed quotes kept", "[S]\nk=\"x'\n", "S", "k", "\"x'"},
    {"equals sign inside the value", "[S]\nk=a=b\n", "S", "k", "a=b"},
    {"empty value is not the default", "[S]\nk=\n", "S", "k", ""},
    {"CR LF line ends", "[S]\r\nk=v\r\n", "S", "k", "v"},
    {"no line end at the end", "[S]\nk=v", "S", "k", "v"},
    {"missing section", "[S]\nk=v\n", "T", "k", "<def>"},
    {"missing key", "[S]\nk=v\n", "S", "other", "<def>"},
    {"key of the next section", "[A]\n[B]\nk=v\n", "A", "k", "<def>"},
    {"key before any section", "k=v\n[S]\n", "S", "k", "<def>"},
    {"comment line is no key", "[S]\n;k=v\n", "S", ";k", "<def>"},
    {"first of two equal keys", "[S]\nk=1\nK=2\n", "S", "k", "1"},
    {"first of two equal sections", "[S]\nk=1\n[s]\nk=2\n", "S", "k", "1"},
};

class ProfileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileRead, Reads) {
    test::TestFolder dir;
    const auto& c = GetParam();
    const std::string file = dir.Write("a.ini", c.content);
    EXPECT_EQ(GetPrivateProfileString(file, c.section, c.key, "<def>"), c.expected) << c.what;
    EXPECT_EQ(TIniFile(file).HasKey(c.section, c.key), std::string(c.expected) != "<def>") << c.what;
}

INSTANTIATE_TEST_SUITE_P(Rules, ProfileRead, ::testing::ValuesIn(kReadCases));

TEST(ProfileFile, MissingFileReadsAsDefaultAndIsNotCreated) {
    test::TestFolder dir;
    EXPECT_EQ(GetPrivateProfileString(dir.File("none.ini"), "S", "k", "dflt"), "dflt");
    EXPECT_FALSE(std::filesystem::exists(dir.File("none.ini")));
    EXPECT_TRUE(TIniFile(dir.File("none.ini")).Sections().empty());
}

TEST(ProfileFile, ValuesStopAt2047Utf16Units) {
    test::TestFolder dir;
    const std::string emoji = "\xF0\x9F\x98\x80";  // two UTF-16 units
    std::string many;
    for (int i = 0; i < 1024; ++i) many += emoji;  // 2048 units: the last one no longer fits
    const std::string file = dir.Write("a.ini", "[S]\nlong=" + std::string(3000, 'x') + "\nexact=" +
                                                    std::string(2047, 'y') + "\nwide=" + many + "\n");
    EXPECT_EQ(GetPrivateProfileString(file, "S", "long", ""), std::string(3000, 'x').substr(0, 2047));
    EXPECT_EQ(GetPrivateProfileString(file, "S", "exact", ""), std::string(2047, 'y'));
    EXPECT_EQ(GetPrivateProfileString(file, "S", "wide", ""), many.substr(0, 1023 * emoji.size()));
}

TEST(ProfileFile, ReadsUtf16WithByteOrderMarkAndUtf8Bom) {
    test::TestFolder dir;
    const std::u16string text = u"[Sekce]\r\nName=M\u00FCller \u20AC \U0001F600\r\n";
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (char16_t u : text) {
        le += char(u & 0xFF), le += char(u >> 8);
        be += char(u >> 8), be += char(u & 0xFF);
    }
    const std::string expected = "M\xC3\xBCller \xE2\x82\xAC \xF0\x9F\x98\x80";
    EXPECT_EQ(GetPrivateProfileString(dir.Write("le.ini", le), "sekce", "name", ""), expected);
    EXPECT_EQ(GetPrivateProfileString(dir.Write("be.ini", be), "sekce", "name", ""), expected);
    const std::string bom = dir.Write("bom.ini", "\xEF\xBB\xBF[Sekce]\nName=" + expected + "\n");
    EXPECT_EQ(GetPrivateProfileString(bom, "Sekce", "Name", ""), expected);
    WritePrivateProfileString(bom, "Sekce", "Other", "1");
    EXPECT_EQ(dir.Read(bom), "\xEF\xBB\xBF[Sekce]\nName=" + expected + "\nOther=1\n");
}

TEST(ProfileFile, WriteCreatesFileSectionAndKey) {
    test::TestFolder dir;
    const std::string file = dir.File("new.ini");
    WritePrivateProfileString(file, "Options", "CascadeContextMenu", "1");
    EXPECT_EQ(dir.Read(file), "[Options]\nCascadeContextMenu=1\n");
    WritePrivateProfileString(file, "OPTIONS", "cascadecontextmenu", "0");
    EXPECT_EQ(dir.Read(file), "[Options]\nCascadeContextMenu=0\n");
}

TEST(ProfileFile, WriteKeepsEverythingElse) {
    test::TestFolder dir;
    const std::string file = dir.Write("a.ini",
                                       "; top comment\n"
                                       "[A]\n"
                                       "x=1\n"
                                       "junk line\n"
                                       "\n"
                                       "[B]\n"
                                       "; note\n"
                                       "y = \"2\"\n");
    TIniFile ini(file);
    ini.WriteString("a", "X", "5");
    ini.WriteString("A", "new", "7");
    ini.WriteString("C", "z", "9");
    ini.Save();
    EXPECT_EQ(dir.Read(file),
              "; top comment\n"
              "[A]\n"
              "x=5\n"
              "junk line\n"
              "new=7\n"
              "\n"
              "[B]\n"
              "; note\n"
              "y = \"2\"\n"
              "\n"
              "[C]\n"
              "z=9\n");
}

TEST(ProfileFile, WriteKeepsCrLfLineEnds) {
    test::TestFolder dir;
    const std::string file = dir.Write("a.ini", "[S]\r\nk=v\r\n");
    WritePrivateProfileString(file, "S", "k2", "w");
    EXPECT_EQ(dir.Read(file), "[S]\r\nk=v\r\nk2=w\r\n");
}

TEST(ProfileFile, AwkwardValuesComeBackAsWritten) {
    test::TestFolder dir;
    const std::string file = dir.File("a.ini");
    for (const std::string value : {"  leading", "trailing\t", "\"quoted\"", "'single'", "a=b; c", "", "\"", "=x"}) {
        WritePrivateProfileString(file, "Password", "Password", value);
        EXPECT_EQ(GetPrivateProfileString(file, "Password", "Password", "<def>"), value);
    }
}

TEST(ProfileFile, RefusesTextThatWouldForgeOtherEntries) {
    test::TestFolder dir;
    const std::string file = dir.Write("a.ini", "[S]\nk=v\n");
    TIniFile ini(file);
    EXPECT_THROW(ini.WriteString("S", "k", "v\n[Evil]\nx=1"), EProfileError);
    EXPECT_THROW(ini.WriteString("S]\n[T", "k", "v"), EProfileError);
    EXPECT_THROW(ini.WriteString("S", "a=b", "v"), EProfileError);
    EXPECT_THROW(ini.WriteString("S", "  ", "v"), EProfileError);
    ini.Save();
    EXPECT_EQ(dir.Read(file), "[S]\nk=v\n");
}

TEST(ProfileFile, EditsSectionsAndKeys) {
    test::TestFolder dir;
    const std::string file = dir.Write("base.dat",
                                       "[Password]\nPassword=x\n"
                                       "[Item0]\nItemType=0\n; remark\nFilePath=/a\n"
                                       "[Count]\nCount=1\n"
                                       "[ITEM0]\nFilePath=/dup\n");
    TIniFile ini(file);
    EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Password", "Item0", "Count"}));
    EXPECT_EQ(ini.Keys("item0"), (std::vector<std::string>{"ItemType", "FilePath"}));
    EXPECT_TRUE(ini.Keys("none").empty());
    ini.EraseSection("item0");
    ini.DeleteKey("COUNT", "count");
    ini.DeleteKey("Count", "absent");
    ini.Save();
    EXPECT_EQ(dir.Read(file), "[Password]\nPassword=x\n[Count]\n");
}

TEST(ProfileFile, FailedWriteNamesTheFile) {
    test::TestFolder dir;
    const std::string missing = dir.File("no/such/folder/a.ini");
    try {
        WritePrivateProfileString(missing, "S", "k", "v");
        FAIL() << "no error";
    } catch (const EProfileError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + missing);
    }
}

TEST(ProfileFile, ReadOnlyFileIsNotReplaced) {
    test::TestFolder dir;
    const std::string file = dir.Write("ro.ini", "[S]\nk=old\n");
    ::chmod(file.c_str(), 0444);
    EXPECT_THROW(WritePrivateProfileString(file, "S", "k", "new"), EProfileError);
    EXPECT_EQ(dir.Read(file), "[S]\nk=old\n");
}

TEST(ProfileFile, SaveKeepsTheFileMode) {
    test::TestFolder dir;
    const std::string file = dir.Write("m.ini", "[S]\n");
    ::chmod(file.c_str(), 0600);
    WritePrivateProfileString(file, "S", "k", "v");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

// A write that dies half way (here: the file-size limit stops it, as a full disk would)
// leaves the old file whole and no temporary file behind.
TEST(ProfileFile, InterruptedSaveLeavesTheOldFile) {
    test::TestFolder dir;
    const std::string file = dir.Write("a.ini", "[S]\nk=old\n");
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(WritePrivateProfileString(file, "S", "k", std::string(100000, 'n')), EProfileError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(dir.Read(file), "[S]\nk=old\n");
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(ProfileFile, UnreadableFileReadsAsDefaultButIsNeverOverwritten) {
    test::TestFolder dir;
    // A folder where the file should be: it exists but cannot be read as a file.
    std::filesystem::create_directory(dir.File("dir.ini"));
    EXPECT_EQ(GetPrivateProfileString(dir.File("dir.ini"), "S", "k", "d"), "d");
    EXPECT_THROW(WritePrivateProfileString(dir.File("dir.ini"), "S", "k", "v"), EProfileError);
}

}  // namespace
}  // namespace vantrel
