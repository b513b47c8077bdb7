// vantrel-cli as a user runs it: the built program on real files, without a terminal
// (setsid), so nothing waits for a typed password.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "TestFolder.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

struct Run {
    int status;
    std::string output;  // stdout and stderr together
};

// limitKiB > 0 caps the size of any file the program writes, standing for a full disk.
Run Cli(const std::string& args, int limitKiB = 0) {
    const std::string cli = std::string(VANTREL_BIN_DIR) + "/vantrel-cli " + args;
    // A run that hangs is killed, so the test fails instead of waiting for ever.
    const std::string command =
        "VANTREL_CODEPAGE=1252 timeout -s KILL 300 setsid -w " +
        (limitKiB ? "sh -c \"trap '' XFSZ; ulimit -f " + std::to_string(limitKiB) + "; exec " + cli + "\"" : cli) +
        " </dev/null 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, pipe)) out.append(buf, n);
    const int raw = ::pclose(pipe);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, out};
}

std::string Quote(const std::string& s) { return "'" + s + "'"; }

class CliTest : public ::testing::Test {
protected:
    std::string Password(const std::string& text) { return dir.Write("pw.txt", text + "\n"); }
    test::TestFolder dir;
};

TEST_F(CliTest, EncryptThenDecryptGivesBackEveryFileByteForByte) {
    const std::string pw = Password("Schlüssel");
    std::vector<std::pair<std::string, std::string>> files;
    for (std::size_t size : {0, 1, 99, 100, 199, 200, 299, 1000000}) {
        std::string content(size, '\0');
        for (std::size_t i = 0; i < size; ++i) content[i] = char((i * 7919) >> 3);
        const std::string name = "data/Grüße " + std::to_string(size) + ".bin";
        dir.Write(name, content);
        files.emplace_back(name, content);
    }
    for (const char* algorithm : {"BFS", "14", "ALL"}) {
        auto r = Cli(std::string("encrypt -a ") + algorithm + " --delete-source --password-file " + Quote(pw) + " " +
                     Quote(dir.File("data")));
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_NE(r.output.find("8 files were encrypted"), std::string::npos) << r.output;
        for (const auto& [name, content] : files) EXPECT_FALSE(fs::exists(dir.File(name))) << name;
        r = Cli("decrypt --delete-source --password-file " + Quote(pw) + " " + Quote(dir.File("data")));
        ASSERT_EQ(r.status, 0) << r.output;
        for (const auto& [name, content] : files) {
            EXPECT_EQ(dir.Read(name), content) << algorithm << " " << name;
            EXPECT_FALSE(fs::exists(dir.File(name + ".enc")));
        }
    }
}

TEST_F(CliTest, AWrongPasswordSkipsTheFileAndLeavesNoOutput) {
    dir.Write("a.txt", "secret");
    ASSERT_EQ(Cli("encrypt --password-file " + Quote(Password("right")) + " " + Quote(dir.File("a.txt"))).status, 0);
    fs::remove(dir.File("a.txt"));
    const auto r = Cli("decrypt --delete-source --password-file " + Quote(Password("wrong")) + " " +
                       Quote(dir.File("a.txt.enc")));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("a.txt.enc"), std::string::npos) << r.output;
    EXPECT_FALSE(fs::exists(dir.File("a.txt")));
    EXPECT_TRUE(fs::exists(dir.File("a.txt.enc"))) << "the source stays when nothing was decrypted";
}

TEST_F(CliTest, FilesWithoutAKnownTagAreNamedAndTheRunGoesOn) {
    dir.Write("d/plain.txt", "not encrypted");
    dir.Write("d/x.txt", "hello");
    const std::string pw = Password("pw");
    ASSERT_EQ(Cli("encrypt --password-file " + Quote(pw) + " " + Quote(dir.File("d/x.txt"))).status, 0);
    fs::remove(dir.File("d/x.txt"));
    const auto r = Cli("decrypt --password-file " + Quote(pw) + " " + Quote(dir.File("d")));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("Encryption algorithm for " + dir.File("d/plain.txt") + " not found"), std::string::npos)
        << r.output;
    EXPECT_NE(r.output.find("1 file was decrypted"), std::string::npos) << "only the files that were done: " << r.output;
    EXPECT_EQ(dir.Read("d/x.txt"), "hello");
}

TEST_F(CliTest, DecryptingIntoItsOwnNameIsRefusedAndTheEncFileStays) {
    const std::string pw = Password("pw");
    const std::string x = dir.Write("x.enc", "data\n");
    ASSERT_EQ(Cli("encrypt --password-file " + Quote(pw) + " " + Quote(x)).status, 0);
    fs::rename(x + ".enc", x);
    const std::string encrypted = dir.Read(x);
    const auto r = Cli("decrypt --delete-source --password-file " + Quote(pw) + " " + Quote(x));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find(x), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("0 file was decrypted"), std::string::npos) << r.output;
    EXPECT_EQ(dir.Read(x), encrypted);
}

TEST_F(CliTest, APipeInAFolderNeitherHangsTheRunNorStopsIt) {
    dir.Write("d/a", "a");
    ASSERT_EQ(::mkfifo(dir.File("d/p").c_str(), 0600), 0);
    const auto r = Cli("encrypt --password-file " + Quote(Password("pw")) + " " + Quote(dir.File("d")) + " " +
                       Quote(dir.File("d/p")));
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find(dir.File("d/p") + " is not a regular file"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("1 file was encrypted"), std::string::npos) << r.output;
    EXPECT_TRUE(fs::exists(dir.File("d/a.enc")));
}

TEST_F(CliTest, UsageErrorsAndListings) {
    EXPECT_EQ(Cli("").status, 2);
    EXPECT_EQ(Cli("frobnicate").status, 2);
    EXPECT_EQ(Cli("encrypt -a XYZ x").status, 2);
    EXPECT_EQ(Cli("encrypt --bogus x").status, 2);
    EXPECT_EQ(Cli("--help").status, 0);
    const auto list = Cli("algorithms");
    EXPECT_EQ(list.status, 0);
    EXPECT_NE(list.output.find("17\tTFS\tTWOFISH\t"), std::string::npos) << list.output;
    EXPECT_NE(list.output.find("18\tALL\tAll at once\t"), std::string::npos);
    const auto self = Cli("selftest");
    EXPECT_EQ(self.status, 0) << self.output;
    EXPECT_EQ(std::count(self.output.begin(), self.output.end(), '\n'), 19) << "eighteen ciphers and SHA-1";
    EXPECT_EQ(self.output.find("FAILED"), std::string::npos);
}

TEST_F(CliTest, ShredOverwritesAndRemovesEveryFileUnderAFolder) {
    dir.Write("s/a", std::string(70000, 'a'));
    dir.Write("s/deep/b", "b");
    const auto r = Cli("shred -s TDOD " + Quote(dir.File("s")));
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_FALSE(fs::exists(dir.File("s/a")));
    EXPECT_FALSE(fs::exists(dir.File("s/deep/b")));
    EXPECT_EQ(Cli("shred -s 11 x").status, 2);
    const auto list = Cli("schemes");
    EXPECT_NE(list.output.find("10\tTGUTMANN\tGuttman algorithm\t"), std::string::npos) << list.output;
}

TEST_F(CliTest, HideAndShowBehindTheMainPassword) {
    dir.Write("h/f", "x");
    fs::create_directories(dir.File("h/folder"));
    const std::string main = Password("main");
    auto r = Cli("hide --password-file " + Quote(main) + " " + Quote(dir.File("h/f")) + " " + Quote(dir.File("h/folder/")));
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(dir.Read("h/.hidden"), "f\nfolder\n");
    r = Cli("hidden");
    EXPECT_EQ(r.output, "0\tfile\t" + dir.File("h/f") + "\n1\tfolder\t" + dir.File("h/folder/") + "\n");

    const std::string before = dir.Read("Vantrel/base.dat");
    EXPECT_EQ(before.find("main"), std::string::npos) << "only a hash of the main password is stored";
    r = Cli("show --password-file " + Quote(dir.Write("bad.txt", "Main\n")) + " --all");
    EXPECT_EQ(r.status, 1) << "letter case counts";
    EXPECT_EQ(dir.Read("Vantrel/base.dat"), before) << "a wrong password changes nothing";

    r = Cli("show --password-file " + Quote(main) + " 1");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(dir.Read("h/.hidden"), "f\n");
    EXPECT_EQ(Cli("show --password-file " + Quote(main) + " 5").status, 2) << "no such item";
    r = Cli("show --password-file " + Quote(main) + " --all");
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_FALSE(fs::exists(dir.File("h/.hidden")));
    EXPECT_EQ(Cli("hidden").output, "");
}

TEST_F(CliTest, AFullDiskIsAnErrorAndLeavesNoPartialOutput) {
    const std::string src = dir.Write("big.bin", std::string(3000000, 'q'));
    dir.Write("big.bin.enc", "an older file");
    const auto r = Cli("encrypt --delete-source --password-file " + Quote(Password("pw")) + " " + Quote(src), 1000);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("Cannot write file " + src + ".enc"), std::string::npos) << r.output;
    EXPECT_EQ(dir.Read(src).size(), 3000000u) << "the source stays";
    EXPECT_EQ(dir.Read("big.bin.enc"), "an older file");
    for (const auto& e : fs::directory_iterator(dir.Path()))
        EXPECT_EQ(e.path().filename().string().find(".part"), std::string::npos) << "no temporary file left";
}

TEST_F(CliTest, NoPasswordWithoutATerminalIsAFailureNotAGuess) {
    dir.Write("a.txt", "x");
    const auto r = Cli("encrypt " + Quote(dir.File("a.txt")));
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(fs::exists(dir.File("a.txt.enc")));
}

}  // namespace
}  // namespace vantrel
