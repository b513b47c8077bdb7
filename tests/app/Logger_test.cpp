#include "app/Logger.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <sstream>
#include <thread>

#include "TestFolder.h"
#include "app/AppFolders.h"
#include "app/OptionsUnit.h"
#include "platform/Files.h"
#include "platform/Folders.h"

namespace vantrel {
namespace {

// Length of the "d.m.yy hh:nn:ss:zzz" stamp at the start of text, or 0 when there is none.
std::size_t StampLength(std::string_view text) {
    // Digit counts and the separator after each field.
    const std::pair<int, char> fields[] = {{-2, '.'}, {-2, '.'}, {2, ' '}, {2, ':'}, {2, ':'}, {2, ':'}, {3, 0}};
    std::size_t i = 0;
    for (const auto& [digits, separator] : fields) {
        const std::size_t start = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        const std::size_t n = i - start;
        if (digits < 0 ? (n < 1 || n > 2) : n != std::size_t(digits)) return 0;
        if (separator) {
            if (i >= text.size() || text[i] != separator) return 0;
            ++i;
        }
    }
    return i;
}

bool IsHex(std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override { ResetAppFolders(); }
    void TearDown() override {
        SetExceptionSink(nullptr);
        InitLogger("-debug", {});  // off again for whatever runs next
        ResetAppFolders();
    }
    std::string LogText() const { return dir.Read(LogFileName()); }

    test::TestFolder dir;
};

TEST_F(LoggerTest, OnlyTheExactSwitchTurnsLoggingOn) {
    const std::pair<std::vector<std::string>, bool> cases[] = {
        {{"-debug"}, true},   {{"/encrypt", "-debug", "x"}, true}, {{}, false},
        {{"-Debug"}, false},  {{"/debug"}, false},                 {{"--debug"}, false},
        {{"-debugx"}, false}, {{" -debug"}, false},
    };
    for (const auto& [args, on] : cases) {
        InitLogger("-debug", args);
        EXPECT_EQ(DebugEnabled(), on) << (args.empty() ? "" : args[0]);
    }
}

TEST_F(LoggerTest, LogFileIsNamedAfterTheExecutable) {
    InitLogger("-debug", {"-debug"});
    const std::string exe = std::filesystem::path(ExecutablePath()).filename().string();
    EXPECT_EQ(LogFileName(), dir.DataFolder() + exe + ".log");
}

TEST_F(LoggerTest, WithoutTheSwitchNoFileIsEverCreated) {
    InitLogger("-debug", {"/encrypt"});
    InstallExceptionReport();
    Log("message", "Here");
    LogLine("line");
    try {
        throw std::runtime_error("ignored");
    } catch (const std::exception&) {
    }
    EXPECT_FALSE(std::filesystem::exists(LogFileName()));
}

TEST_F(LoggerTest, LineFormats) {
    InitLogger("-debug", {"-debug"});
    Log("SetFileAttributes failed " + FormatSysError(5), "CoreHide");
    LogLine("plain");
    LogLine("two\nlines");
    const std::string text = LogText();
    const std::size_t stamp = StampLength(text);
    ASSERT_GT(stamp, 0u) << text;
    EXPECT_EQ(text.substr(stamp),
              " CoreHide: SetFileAttributes failed Error #5 Input/output error\r\nplain\r\ntwo\r\nlines\r\n");
    // The file grows across runs.
    InitLogger("-debug", {"-debug"});
    LogLine("next run");
    EXPECT_TRUE(LogText().ends_with("lines\r\nnext run\r\n"));
}

TEST_F(LoggerTest, TimeStampFormat) {
    EXPECT_EQ(FormatLogTimeStamp({2026, 3, 5, 7, 8, 9, 45}), "5.3.26 07:08:09:045");
    EXPECT_EQ(FormatLogTimeStamp({2009, 12, 31, 23, 59, 59, 999}), "31.12.09 23:59:59:999");
}

TEST_F(LoggerTest, TextGoesOutInTheAnsiCodePage) {
    const char* old = std::getenv("VANTREL_CODEPAGE");
    const std::string saved = old ? old : "";
    ::setenv("VANTREL_CODEPAGE", "1252", 1);
    InitLogger("-debug", {"-debug"});
    LogLine("M\xC3\xBCller \xC5\x82");  // ü has a byte in 1252, ł has not
    if (old) ::setenv("VANTREL_CODEPAGE", saved.c_str(), 1);
    else ::unsetenv("VANTREL_CODEPAGE");
    EXPECT_EQ(LogText(), "M\xFCller ?\r\n");
}

// A settings read that meets "abc" raises and catches a conversion error; the report of
// that raise reaches the log in full even though nobody sees the exception.
TEST_F(LoggerTest, CaughtExceptionInsideASettingsReadIsReported) {
    InitLogger("-debug", {"-debug"});
    InstallExceptionReport();
    const std::string ini = dir.Write("options.ini", "[Options]\nLanguageID=abc\n");
    EXPECT_EQ(TOptions(ini).ReadInteger("LanguageID", 1033), 1033);
    SetExceptionSink(nullptr);

    std::vector<std::string> lines;
    std::istringstream in(LogText());
    for (std::string line; std::getline(in, line);) {
        ASSERT_TRUE(line.ends_with("\r")) << line;
        line.pop_back();
        lines.push_back(line);
    }
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[0], "");
    ASSERT_TRUE(lines[1].starts_with("Time: ")) << lines[1];
    EXPECT_EQ(StampLength(lines[1].substr(6)), lines[1].size() - 6) << lines[1];
    const std::string head = "Exception vantrel::EConvertError in module ";
    ASSERT_TRUE(lines[2].starts_with(head) && lines[2].ends_with(".")) << lines[2];
    const auto at = lines[2].find(" at ", head.size());
    ASSERT_NE(at, std::string::npos) << lines[2];
    EXPECT_GT(at, head.size());  // a module name
    const std::string offset = lines[2].substr(at + 4, lines[2].size() - at - 5);
    EXPECT_TRUE(IsHex(offset) && offset.size() >= 8) << lines[2];
    EXPECT_EQ(lines[3], "'abc' is not a valid integer value");
    EXPECT_EQ(lines[4], "STACK TOP-----------------------------------------------");
    EXPECT_EQ(lines[4].size(), 56u);
    EXPECT_EQ(lines.back(), "STACK BOTTOM--------------------------------------------");
    EXPECT_EQ(lines.back().size(), 56u);
    bool namedReader = false;
    for (std::size_t i = 5; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].size() > 19 && lines[i].starts_with("0x") && IsHex(lines[i].substr(2, 16)) &&
                    lines[i][18] == ' ')
            << lines[i];
        namedReader = namedReader || lines[i].find("vantrel::TOptions::ReadInteger") != std::string::npos;
    }
    EXPECT_TRUE(namedReader);
}

TEST_F(LoggerTest, ReportTextIsCutTo1024Characters) {
    TRaisedException e;
    e.typeName = "vantrel::EBig";
    e.message = std::string(3000, 'm');
    const std::string text = ExceptionReportText(e);
    EXPECT_EQ(text.size(), 1024u);
    EXPECT_TRUE(text.starts_with("Exception vantrel::EBig in module ? at 00000000.\nmmm"));
}

TEST_F(LoggerTest, LinesOfTwoThreadsNeverInterleave) {
    InitLogger("-debug", {"-debug"});
    const std::string a(300, 'a'), b(300, 'b');
    auto writer = [](const std::string& text) {
        for (int i = 0; i < 200; ++i) LogLine(text);
    };
    std::thread t1(writer, a), t2(writer, b);
    t1.join();
    t2.join();
    std::istringstream in(LogText());
    int count = 0;
    for (std::string line; std::getline(in, line); ++count) EXPECT_TRUE(line == a + "\r" || line == b + "\r");
    EXPECT_EQ(count, 400);
}

// The write error is raised to the caller, and its own report (which writes to the same
// broken log) neither deadlocks nor replaces it.
TEST_F(LoggerTest, UnwritableLogRaisesTheFileError) {
    dir.Write("blocker", "x");
    SetDataFolder(dir.File("blocker/Vantrel"));
    InitLogger("-debug", {"-debug"});
    InstallExceptionReport();
    EXPECT_THROW(LogLine("lost"), EFileError);
    EXPECT_THROW(Log("lost", "Here"), EFileError);
}

}  // namespace
}  // namespace vantrel
