#include "app/Logger.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <thread>

#include "TestFolder.h"
#include "app/AppFolders.h"
#include "app/OptionsUnit.h"
#include "platform/Files.h"
#include "platform/Folders.h"

namespace vantrel {
namespace {

const std::string kStamp = R"(\d{1,2}\.\d{1,2}\.\d{2} \d{2}:\d{2}:\d{2}:\d{3})";

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
    EXPECT_TRUE(std::regex_match(LogText(), std::regex("^" + kStamp +
                                                        " CoreHide: SetFileAttributes failed Error #5 Input/output "
                                                        "error\r\nplain\r\ntwo\r\nlines\r\n$")))
        << LogText();
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
    EXPECT_TRUE(std::regex_match(lines[1], std::regex("Time: " + kStamp))) << lines[1];
    EXPECT_TRUE(std::regex_match(lines[2], std::regex(R"(Exception vantrel::EConvertError in module \S+ at [0-9a-f]{8,}\.)")))
        << lines[2];
    EXPECT_EQ(lines[3], "'abc' is not a valid integer value");
    EXPECT_EQ(lines[4], "STACK TOP-----------------------------------------------");
    EXPECT_EQ(lines[4].size(), 56u);
    EXPECT_EQ(lines.back(), "STACK BOTTOM--------------------------------------------");
    EXPECT_EQ(lines.back().size(), 56u);
    bool namedReader = false;
    for (std::size_t i = 5; i + 1 < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], std::regex("0x[0-9a-f]{16} .+"))) << lines[i];
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
