#include "shred/ShredAlgorithms.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>
#include <vector>

#include "TestFolder.h"
#include "i18n/LanguageManager.h"
#include "platform/Files.h"
#include "platform/ProfileFile.h"
#include "shred/KISSRandomGenerator.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Call = std::tuple<std::int64_t, std::int64_t, std::int64_t>;  // done, total, processed

Bytes ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::string WriteBytes(const test::TestFolder& dir, const std::string& name, const Bytes& content) {
    return dir.Write(name, std::string(content.begin(), content.end()));
}

Bytes Counting(std::size_t n) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = std::uint8_t(i * 7 + 3);
    return b;
}

// Shreds a file and keeps every progress call and what the file held after each pass (read
// back from inside the progress event that reports the pass's last chunk).
struct Recording {
    bool wiped = false;
    std::vector<Call> calls;
    std::vector<Bytes> afterPass;
};

Recording Shred(const TShredAlgorithm& scheme, const std::string& path, TCryptoCancelQuery cancel = nullptr) {
    Recording r;
    const std::int64_t size = FileSizeOf(path);
    auto progress = [&](std::int64_t done, std::int64_t total, std::int64_t processed, double seconds) {
        EXPECT_GE(seconds, 0.0);
        r.calls.emplace_back(done, total, processed);
        const std::int64_t p = done % size;
        if (p + std::min(kWipeChunkSize, size - p) == size) r.afterPass.push_back(ReadAll(path));
    };
    r.wiped = scheme.ShredFile(path, cancel, progress);
    return r;
}

// What a pass list is, written the way the scheme table writes it: hex bytes for a fixed
// pattern, R for fresh random bytes, C for one random byte, I for the complement.
std::string Describe(const TPassList& passes) {
    std::ostringstream out;
    for (std::size_t i = 0; i < passes.size(); ++i) {
        if (i) out << "; ";
        const TCharGenerator* g = passes[i].get();
        if (auto* hex = dynamic_cast<const THexGenerator*>(g)) {
            for (std::size_t j = 0; j < hex->Pattern().size(); ++j) {
                char b[4];
                std::snprintf(b, sizeof b, j ? " %02X" : "%02X", unsigned(hex->Pattern()[j]));
                out << b;
            }
        } else if (auto* r = dynamic_cast<const TRandomGenerator*>(g)) {
            out << (r->Range() == 255 ? "R" : "R?");
        } else if (auto* c = dynamic_cast<const TRandomCharGenerator*>(g)) {
            out << (c->Range() == 255 ? "C" : "C?");
        } else if (dynamic_cast<const TInvertGenerator*>(g)) {
            out << "I";
        }
    }
    return out.str();
}

class ShredTest : public ::testing::Test {
protected:
    void SetUp() override { InitShredAlgorithms(std::string(VANTREL_BIN_DIR) + "/shreds1033.ini"); }
    void TearDown() override { DoneShredAlgorithms(); }
    test::TestFolder dir;
};

TEST_F(ShredTest, RegistryHoldsTheSchemesInOrderWithTheirPasses) {
    const std::vector<std::pair<std::string, std::string>> table = {
        {"TZeroPass", "00"},
        {"TRandPass", "R"},
        {"TAntiSoftRecover", "C; 00"},
        {"TNAVSOMF", "FF; FF FF FF FD; R"},
        {"TNAVSORL", "R; FF FF FF E4; R"},
        {"TVSITR", "00; FF; 00; FF; 00; FF; AA"},
        {"TGOST", "R; R; R; 00; 00; 00"},
        {"TSchneier", "R; 00; R; R; R; R; R"},
        {"TDOD", "C; I; R; C; C; I; R"},
        {"TBEYNDDOD", "C; C; C; C; I; R; C; C; I; R; C; C; C"},
        {"TGUTMANN",
         "92 49 24; R; R; R; 55; AA; 92 49 24; 49 24 92; 24 92 49; 00; 11; 22; 33; 44; 55; 66; 77; 88; 99; AA; BB; CC; "
         "DD; EE; FF; 92 49 24; 49 24 92; 24 92 49; 6D B6 DB; B6 DB 6D; DB 6D B6; R; R; R; R"},
    };
    ASSERT_EQ(ShredAlgorithmList.size(), table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const TShredAlgorithm& scheme = *ShredAlgorithmList[i];
        EXPECT_EQ(scheme.ClassName(), table[i].first) << i;
        EXPECT_EQ(Describe(scheme.CreatePasses()), table[i].second) << table[i].first;
        EXPECT_FALSE(GetShredDescription(scheme).empty()) << table[i].first;
    }
    EXPECT_EQ(GetShredDescription(*ShredAlgorithmList[10]),
              GetPrivateProfileString(std::string(VANTREL_BIN_DIR) + "/shreds1033.ini", "Algos", "TGUTMANN", "?"));

    InitShredAlgorithms(dir.File("shreds9999.ini"));  // no such file: empty texts
    EXPECT_EQ(GetShredDescription(*ShredAlgorithmList[0]), "");
}

TEST_F(ShredTest, DescriptionsFileFollowsTheLanguageSetting) {
    InitShredAlgorithms(LanguageSetting());  // no options.ini: shreds1033.ini beside the program
    EXPECT_FALSE(GetShredDescription(*ShredAlgorithmList[10]).empty());
    dir.Write("Vantrel/options.ini", "[Options]\nLanguageID=9999\n");
    InitShredAlgorithms(LanguageSetting());
    EXPECT_EQ(ShredAlgorithmList.size(), 11u);
    EXPECT_EQ(GetShredDescription(*ShredAlgorithmList[10]), "");
}

TEST_F(ShredTest, TenBytesUnderNavsoShowEveryPassAndAreDeleted) {
    const std::string path = WriteBytes(dir, "ten.bin", Counting(10));
    TKISSState predicted = KISSSnapshot();
    const Recording r = Shred(*ShredAlgorithmList[3], path);

    EXPECT_TRUE(r.wiped);
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(r.calls, (std::vector<Call>{{0, 30, 3}, {10, 30, 3}, {20, 30, 3}}));
    ASSERT_EQ(r.afterPass.size(), 3u);
    EXPECT_EQ(r.afterPass[0], Bytes(10, 0xFF));
    EXPECT_EQ(r.afterPass[1], (Bytes{0xFF, 0xFF, 0xFF, 0xFD, 0xFF, 0xFF, 0xFF, 0xFD, 0xFF, 0xFF}));
    Bytes random(10);
    for (auto& b : random) b = std::uint8_t(predicted.Next() % 255);
    EXPECT_EQ(r.afterPass[2], random);
}

TEST_F(ShredTest, ChunksAre64KiBInEveryPass) {
    const std::int64_t K = 65536;
    struct Case {
        std::int64_t size;
        std::vector<Call> calls;  // under TAntiSoftRecover, two passes
    };
    const std::vector<Case> cases = {
        {K, {{0, 2 * K, K / 2}, {K, 2 * K, K / 2}}},
        {K + 1, {{0, 2 * K + 2, K / 2}, {K, 2 * K + 2, 0}, {K + 1, 2 * K + 2, K / 2}, {2 * K + 1, 2 * K + 2, 0}}},
        {1, {{0, 2, 0}, {1, 2, 0}}},
    };
    for (const auto& c : cases) {
        const std::string path = WriteBytes(dir, "chunks.bin", Counting(std::size_t(c.size)));
        const Recording r = Shred(*ShredAlgorithmList[2], path);
        EXPECT_TRUE(r.wiped);
        EXPECT_EQ(r.calls, c.calls) << c.size;
        ASSERT_EQ(r.afterPass.size(), 2u);
        EXPECT_EQ(r.afterPass[1], Bytes(std::size_t(c.size), 0x00)) << c.size;
    }
}

TEST_F(ShredTest, GutmannPatternContinuesAcrossChunks) {
    const std::size_t size = 2 * 65536 + 5;
    const std::string path = WriteBytes(dir, "gutmann.bin", Counting(size));
    const Recording r = Shred(*ShredAlgorithmList[10], path);
    ASSERT_EQ(r.afterPass.size(), 35u);
    const Bytes pattern = {0x92, 0x49, 0x24};
    Bytes expected(size);
    for (std::size_t i = 0; i < size; ++i) expected[i] = pattern[i % 3];
    EXPECT_EQ(r.afterPass[0], expected);
    EXPECT_EQ(r.afterPass[9], Bytes(size, 0x00));  // the first single-byte pass
}

TEST_F(ShredTest, DodComplementsTheRandomCharacterOfThePassBefore) {
    const std::size_t size = 65536 + 100;  // the complement is read back over two chunks
    const std::string path = WriteBytes(dir, "dod.bin", Counting(size));
    TKISSState predicted = KISSSnapshot();
    const std::uint8_t c1 = std::uint8_t(predicted.Next() % 255);
    predicted.Next();
    const std::uint8_t c3 = std::uint8_t(predicted.Next() % 255);

    const Recording r = Shred(*ShredAlgorithmList[8], path);
    ASSERT_EQ(r.afterPass.size(), 7u);
    EXPECT_EQ(r.afterPass[0], Bytes(size, c1));
    EXPECT_EQ(r.afterPass[1], Bytes(size, std::uint8_t(255 - c1)));
    EXPECT_EQ(r.afterPass[4], Bytes(size, c3));
    EXPECT_EQ(r.afterPass[5], Bytes(size, std::uint8_t(255 - c3)));
    EXPECT_TRUE(r.wiped);
}

TEST_F(ShredTest, CancelStopsAtOnceAndKeepsTheFile) {
    const Bytes original = Counting(65537);
    struct Case {
        int stopAtQuery;  // 1: before the first chunk
        Bytes expected;
    };
    Bytes firstChunkZeroed = original;
    std::fill(firstChunkZeroed.begin(), firstChunkZeroed.begin() + 65536, 0x00);
    for (const Case& c : {Case{1, original}, Case{2, firstChunkZeroed}}) {
        const std::string path = WriteBytes(dir, "cancel.bin", original);
        int queries = 0;
        const Recording r = Shred(*ShredAlgorithmList[0], path, [&] { return ++queries == c.stopAtQuery; });
        EXPECT_FALSE(r.wiped);
        EXPECT_EQ(r.calls.size(), std::size_t(c.stopAtQuery - 1));
        EXPECT_EQ(ReadAll(path), c.expected) << c.stopAtQuery;
    }
}

TEST_F(ShredTest, EmptyFileIsDeletedWithoutProgress) {
    const std::string path = dir.Write("empty.txt", "");
    const Recording r = Shred(*ShredAlgorithmList[10], path);
    EXPECT_TRUE(r.wiped);
    EXPECT_TRUE(r.calls.empty());
    EXPECT_FALSE(FileExists(path));
}

TEST_F(ShredTest, FileLockedElsewhereIsNotTouched) {
    const std::string path = dir.Write("locked.txt", "keep me");
    const int fd = ::open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_THROW(ShredAlgorithmList[0]->ShredFile(path, nullptr, nullptr), EFileError);
    ::close(fd);
    EXPECT_EQ(dir.Read(path), "keep me");
}

TEST_F(ShredTest, MissingFileAndFolderRaiseTheOpenError) {
    EXPECT_THROW(ShredAlgorithmList[0]->ShredFile(dir.File("none"), nullptr, nullptr), EFileError);
    std::filesystem::create_directory(dir.File("folder"));
    EXPECT_THROW(ShredAlgorithmList[0]->ShredFile(dir.File("folder"), nullptr, nullptr), EFileError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder")));
}

TEST_F(ShredTest, LinkIsRemovedAndItsTargetLeftAlone) {
    const std::string target = dir.Write("target.txt", "the real content");
    const std::string link = dir.File("link.txt");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    const Recording r = Shred(*ShredAlgorithmList[1], link);
    EXPECT_TRUE(r.wiped);
    EXPECT_FALSE(FileExists(link));
    EXPECT_EQ(dir.Read(target), "the real content");
}

}  // namespace
}  // namespace vantrel
