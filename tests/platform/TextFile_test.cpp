// The password file reader shared by the password fields' "..." button and vantrel-cli's
// --key-file: every line followed by CR LF, the encoding taken from a byte-order mark or
// else the ANSI code page.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestFolder.h"
#include "platform/Files.h"
#include "platform/TextFile.h"

namespace vantrel {
namespace {

struct Case {
    const char* what;
    std::string bytes;
    std::string text;  // UTF-8
};

class TextFileTest : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override { ::setenv("VANTREL_CODEPAGE", "1251", 1); }
    void TearDown() override { ::unsetenv("VANTREL_CODEPAGE"); }
};

TEST_P(TextFileTest, EveryLineEndsWithCrLf) {
    test::TestFolder dir;
    const std::string path = dir.Write("key.txt", GetParam().bytes);
    EXPECT_EQ(ReadLinesWithCrLf(path), GetParam().text) << GetParam().what;
}

using namespace std::string_literals;
INSTANTIATE_TEST_SUITE_P(
    Encodings, TextFileTest,
    ::testing::Values(Case{"UTF-8 with mark", "\xEF\xBB\xBF" "a\nb"s, "a\r\nb\r\n"},
                      Case{"UTF-16 LE with mark", "\xFF\xFE" "a\0\r\0\n\0b\0\r\0\n\0"s, "a\r\nb\r\n"},
                      Case{"UTF-16 BE with mark", "\xFE\xFF\0a\0\n\0b"s, "a\r\nb\r\n"},
                      Case{"ANSI code page", "\xC0\r\nb\r\n"s, "\xD0\x90\r\nb\r\n"},  // 1251: 0xC0 is А
                      Case{"old Mac line ends", "a\rb\r"s, "a\r\nb\r\n"},
                      Case{"blank line kept", "a\n\nb\n"s, "a\r\n\r\nb\r\n"},
                      Case{"empty file", ""s, ""},
                      Case{"mark only", "\xEF\xBB\xBF"s, ""}),
    [](const auto& param) { return "case" + std::to_string(param.index); });

TEST(TextFile, UnreadableFileThrowsNamingIt) {
    test::TestFolder dir;
    try {
        ReadLinesWithCrLf(dir.File("missing.txt"));
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.txt"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace vantrel
