#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "TestFolder.h"
#include "platform/Files.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

std::string Pattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = char(i * 131 + (i >> 11));
    return s;
}

// Files larger than the read-ahead and write blocks, in request sizes that straddle them.
TEST(Files, ReadsAndWritesCrossTheirBlocksExactly) {
    test::TestFolder dir;
    const std::string content = Pattern(3 * 1024 * 1024 + 12345);
    const std::string src = dir.Write("src.bin", content);
    TFileStream in(src, TFileMode::Read);
    {
        TAtomicOutput out(dir.File("dst.bin"));
        std::vector<std::uint8_t> buf(8192 + 7);
        while (std::size_t got = in.Read(buf.data(), buf.size())) {
            if (in.Position() < std::int64_t(content.size())) {
                ASSERT_EQ(got, buf.size()) << "only the end is short";
            }
            out.Write(buf.data(), got);
        }
        EXPECT_EQ(out.Position(), std::int64_t(content.size()));
        EXPECT_FALSE(fs::exists(dir.File("dst.bin"))) << "nothing under the target's name before Commit";
        out.Commit();
    }
    EXPECT_EQ(dir.Read("dst.bin"), content);
    in.Seek(1024 * 1024 - 3);
    char six[6];
    in.ReadBuffer(six, 6);
    EXPECT_EQ(std::string(six, 6), content.substr(1024 * 1024 - 3, 6)) << "a seek drops what was read ahead";
}

TEST(Files, AnUncommittedOutputLeavesNothingAndKeepsTheOldFile) {
    test::TestFolder dir;
    dir.Write("t", "old");
    {
        TAtomicOutput out(dir.File("t"));
        out.Write("new", 3);
    }
    EXPECT_EQ(dir.Read("t"), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);
}

TEST(Files, AWriterKilledMidFileLeavesNothingBehind) {
    test::TestFolder dir;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TAtomicOutput out(dir.File("plain.txt"));
        const std::string block(1 << 20, 'p');
        for (int i = 0; i < 3; ++i) out.Write(block.data(), block.size());
        (void)!::write(ready[1], "w", 1);
        for (;;) ::pause();
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 0) << "no name while it is written";
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 0);
}

TEST(Files, PipesAndOtherNonFilesAreRefusedWithoutWaiting) {
    test::TestFolder dir;
    ASSERT_EQ(::mkfifo(dir.File("p").c_str(), 0600), 0);
    for (const auto mode : {TFileMode::Read, TFileMode::ReadWriteExclusive}) {
        try {
            TFileStream f(dir.File("p"), mode);
            ADD_FAILURE() << "opened a pipe";
        } catch (const EFileError& e) {
            EXPECT_NE(std::string(e.what()).find("not a regular file"), std::string::npos) << e.what();
        }
    }
    EXPECT_THROW(TFileStream(dir.Path(), TFileMode::Read), EFileError) << "a folder";
}

TEST(Files, KeepExistingNeverReplacesAFile) {
    test::TestFolder dir;
    dir.Write("t", "theirs");
    TAtomicOutput out(dir.File("t"));
    out.Write("ours", 4);
    EXPECT_FALSE(out.Commit(TReplaceMode::KeepExisting));
    EXPECT_EQ(dir.Read("t"), "theirs");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), {}), 1);
}

TEST(Files, PathsJoinWithoutDoubledSeparators) {
    EXPECT_EQ(JoinPath("/", "home"), "/home");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(FolderOf("/a/b.enc"), "/a/");
    EXPECT_EQ(BareName("/a/b.enc"), "b.enc");
}

}  // namespace
}  // namespace vantrel
