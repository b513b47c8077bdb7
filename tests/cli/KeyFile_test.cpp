// vantrel-cli --key-file reads a password file as the window's "..." button does: every line,
// each followed by CR LF, whatever the file's encoding.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "TestFolder.h"

namespace vantrel {
namespace {

int CliStatus(const std::string& args, std::string* output = nullptr) {
    const std::string command = "VANTREL_CODEPAGE=1252 setsid -w " + std::string(VANTREL_BIN_DIR) + "/vantrel-cli " +
                                args + " </dev/null 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, pipe)) out.append(buf, n);
    const int raw = ::pclose(pipe);
    if (output) *output = out;
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(CliKeyFile, SameLinesInAnotherEncodingOpenTheFileAndTheFirstLineAloneDoesNot) {
    using namespace std::string_literals;
    test::TestFolder dir;
    const std::string plain = dir.Write("data/note.txt", "secret contents");
    const std::string utf8 = dir.Write("k-utf8.txt", "\xEF\xBB\xBF" "a\nb"s);
    const std::string utf16 = dir.Write("k-utf16.txt", "\xFF\xFE" "a\0\r\0\n\0b\0\r\0\n\0"s);
    const std::string firstLine = dir.Write("first.txt", "a\n");

    std::string out;
    ASSERT_EQ(CliStatus("encrypt --delete-source --key-file '" + utf8 + "' '" + plain + "'", &out), 0) << out;
    ASSERT_TRUE(std::filesystem::exists(plain + ".enc"));

    EXPECT_NE(CliStatus("decrypt --password-file '" + firstLine + "' '" + plain + ".enc'", &out), 0) << out;
    EXPECT_FALSE(std::filesystem::exists(plain));

    ASSERT_EQ(CliStatus("decrypt --key-file '" + utf16 + "' '" + plain + ".enc'", &out), 0) << out;
    EXPECT_EQ(dir.Read("data/note.txt"), "secret contents");

    EXPECT_EQ(CliStatus("decrypt --key-file '" + utf16 + "' --password-file '" + firstLine + "' x", &out), 2) << out;
}

}  // namespace
}  // namespace vantrel
