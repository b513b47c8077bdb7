#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "TestFolder.h"
#include "crypto/ciphers/Blowfish.h"
#include "crypto/ciphers/SelfTest.h"
#include "encryption/CRC32Calc.h"
#include "encryption/CryptoAlgorithms.h"
#include "i18n/LanguageManager.h"
#include "platform/Stream.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

TCryptoAlgorithm MakeBlowfish() { return TCryptoAlgorithm(std::make_unique<TVC_blowfish>(), ByteString::FromAscii("BFS")); }

const ByteString kPassword = ByteString::FromAscii("Vantrel");

struct Chunk {
    std::int64_t done, total, processed;
};

std::vector<Chunk> EncryptRecording(std::size_t size, int passCount = 1) {
    auto algo = MakeBlowfish();
    TMemoryStream in(Bytes(size, 0x61)), out;
    std::vector<Chunk> chunks;
    SetProgressPassCount(passCount);
    algo.EncryptStream(in, out, "a.txt", kPassword, [] { return false; },
                       [&](std::int64_t d, std::int64_t t, std::int64_t p, double s) {
                           EXPECT_GE(s, 0.0);
                           chunks.push_back({d, t, p});
                       });
    SetProgressPassCount(1);
    return chunks;
}

TEST(StringCrc32, ChecksumOfTheUtf16Form) {
    std::uint32_t crc = 0;
    ASSERT_TRUE(StringCrc32("abc", crc));
    EXPECT_EQ(crc, 0xAD957AB0u);
    std::uint32_t kept = 1234;
    EXPECT_FALSE(StringCrc32("", kept));
    EXPECT_EQ(kept, 1234u);
    // Non-ASCII names hash their UTF-16 code units, not their UTF-8 bytes.
    std::uint32_t utf8 = 0, umlaut = 0;
    const std::uint8_t ue[] = {0xFC, 0x00};
    StringCrc32("\xC3\xBC", umlaut);
    EXPECT_EQ(umlaut, Crc32Update(0, ue, 2));
    EXPECT_NE(umlaut, Crc32Update(utf8, reinterpret_cast<const std::uint8_t*>("\xC3\xBC"), 2));
}

TEST(ProcessInChunks, CutsTheBodyIntoAboutAHundredChunks) {
    struct Case {
        std::size_t size, count, first, last;
    };
    const Case cases[] = {
        {0, 0, 0, 0},     {1, 1, 1, 1},       {99, 99, 1, 1},      {100, 100, 1, 1},
        {199, 199, 1, 1}, {200, 100, 2, 2},   {299, 150, 2, 1},    {1000000, 100, 10000, 10000},
    };
    for (const auto& c : cases) {
        const auto chunks = EncryptRecording(c.size);
        ASSERT_EQ(chunks.size(), c.count) << c.size;
        if (c.count == 0) continue;
        EXPECT_EQ(chunks.front().processed, std::int64_t(c.first)) << c.size;
        EXPECT_EQ(chunks.back().processed, std::int64_t(c.last)) << c.size;
        EXPECT_EQ(chunks.back().done, std::int64_t(c.size));
        EXPECT_EQ(chunks.back().total, std::int64_t(c.size));
    }
}

TEST(ProcessInChunks, ProcessedAmountsAreDividedByThePassCount) {
    for (const auto& c : EncryptRecording(1000, 18)) EXPECT_EQ(c.processed, 0) << "chunks of 10 bytes";
    for (const auto& c : EncryptRecording(3600, 18)) EXPECT_EQ(c.processed, 2);
}

TEST(ProcessInChunks, CancelIsAskedBeforeEveryChunk) {
    auto algo = MakeBlowfish();
    TMemoryStream in(Bytes(500, 1)), out;
    int asked = 0;
    EXPECT_FALSE(algo.EncryptStream(in, out, "a", kPassword, [&] { return ++asked == 3; }, nullptr));
    EXPECT_EQ(asked, 3);
    TMemoryStream in2(Bytes(500, 1)), out2;
    EXPECT_FALSE(algo.EncryptStream(in2, out2, "a", kPassword, [] { return true; }, nullptr)) << "the first too";
}

TEST(EncFormat, HeaderLayout) {
    auto algo = MakeBlowfish();
    TMemoryStream in(Bytes(10, 0x41)), out;
    ASSERT_TRUE(algo.EncryptStream(in, out, "hello.txt", kPassword, nullptr, nullptr));
    const Bytes& d = out.Data();
    ASSERT_GE(d.size(), 11u);
    EXPECT_EQ(std::string(d.begin(), d.begin() + 3), "BFS");
    std::uint32_t crc = 0;
    StringCrc32("hello.txt", crc);
    EXPECT_EQ(d[3] | d[4] << 8 | d[5] << 16 | std::uint32_t(d[6]) << 24, crc);
    const std::uint32_t n = d[7] | d[8] << 8 | d[9] << 16 | std::uint32_t(d[10]) << 24;
    EXPECT_EQ(n, 12u) << "Base64 of 9 bytes";
    EXPECT_EQ(d.size(), 11 + n + 10);
}

TEST(EncFormat, AFullOutputIsAnErrorNotASuccess) {
    auto algo = MakeBlowfish();
    TMemoryStream in(Bytes(5000, 1)), out;
    out.SetWriteLimit(2000);
    EXPECT_THROW(algo.EncryptStream(in, out, "a", kPassword, nullptr, nullptr), EStreamError);
}

class EncFiles : public ::testing::Test {
protected:
    std::string Make(const std::string& name, const std::string& content) { return dir.Write(name, content); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir.Path())) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    test::TestFolder dir;
    TCryptoAlgorithm algo = MakeBlowfish();
};

TEST_F(EncFiles, RoundTripsUnderTheStoredNameInTheEncFilesFolder) {
    const std::string content(12345, 'x');
    const std::string src = Make("Grüße 1.txt", content);
    ASSERT_EQ(algo.EncryptFile(src, kPassword, nullptr, nullptr, nullptr), TCryptoResult::Completed);
    const std::string first = dir.Read(src + ".enc");
    ASSERT_EQ(algo.EncryptFile(src, kPassword, nullptr, nullptr, nullptr), TCryptoResult::Completed);
    EXPECT_EQ(dir.Read(src + ".enc"), first) << "no random element";

    fs::create_directories(dir.File("sub"));
    fs::rename(src + ".enc", dir.File("sub/renamed.enc"));
    ASSERT_EQ(algo.DecryptFile(dir.File("sub/renamed.enc"), kPassword, nullptr, nullptr, nullptr),
              TCryptoResult::Completed);
    EXPECT_EQ(dir.Read("sub/Grüße 1.txt"), content);
}

TEST_F(EncFiles, AWrongPasswordIsAskedAgainAndGivingUpLeavesNothing) {
    const std::string src = Make("a.txt", "secret");
    algo.EncryptFile(src, kPassword, nullptr, nullptr, nullptr);
    fs::remove(src);
    std::vector<std::string> asked;
    auto giveUp = [&](const std::string& f, ByteString&) {
        asked.push_back(f);
        return false;
    };
    EXPECT_EQ(algo.DecryptFile(src + ".enc", ByteString::FromAscii("wrong"), nullptr, nullptr, giveUp),
              TCryptoResult::GivenUp);
    EXPECT_EQ(asked, std::vector<std::string>{src + ".enc"});
    EXPECT_EQ(Names(), std::vector<std::string>{"a.txt.enc"});

    int tries = 0;
    auto answer = [&](const std::string&, ByteString& pw) {
        pw = ++tries < 2 ? ByteString::FromAscii("still wrong") : kPassword;
        return true;
    };
    EXPECT_EQ(algo.DecryptFile(src + ".enc", ByteString::FromAscii("wrong"), nullptr, nullptr, answer),
              TCryptoResult::Completed);
    EXPECT_EQ(tries, 2);
    EXPECT_EQ(dir.Read(src), "secret");
}

TEST_F(EncFiles, CancelLeavesNoOutputAndAnExistingFileUntouched) {
    const std::string src = Make("big.bin", std::string(100000, 'b'));
    Make("big.bin.enc", "an older file of that name");
    int chunks = 0;
    EXPECT_EQ(algo.EncryptFile(src, kPassword, [&] { return ++chunks > 50; }, nullptr, nullptr),
              TCryptoResult::Cancelled);
    EXPECT_EQ(dir.Read("big.bin.enc"), "an older file of that name");
    EXPECT_EQ(Names(), (std::vector<std::string>{"big.bin", "big.bin.enc"})) << "no temporary file left";

    algo.EncryptFile(src, kPassword, nullptr, nullptr, nullptr);
    fs::remove(src);
    Make("big.bin", "kept");
    chunks = 0;
    EXPECT_EQ(algo.DecryptFile(src + ".enc", kPassword, [&] { return ++chunks > 50; }, nullptr, nullptr),
              TCryptoResult::Cancelled);
    EXPECT_EQ(dir.Read("big.bin"), "kept");
}

TEST_F(EncFiles, StoredNamesThatAreNotBareFileNamesAreRefused) {
    const std::string names[] = {
        "../evil.txt", "sub/x", "..", ".", "line\nbreak", "back\\slash",
        "next\xC2\x85line",          // U+0085, a C1 control
        "photo\xE2\x80\xAEgpj.exe",   // U+202E shows it as "photoexe.jpg"
        "iso\xE2\x81\xA6late",        // U+2066
        "bad\xFF\xFEutf8",             // not UTF-8 at all
        "over\xC0\xAFlong",           // "/" in an overlong form
        "sur\xED\xA0\x80rogate",      // a UTF-16 surrogate
    };
    for (const std::string& name : names) {
        TMemoryStream in(Bytes(10, 1)), out;
        algo.EncryptStream(in, out, name, kPassword, nullptr, nullptr);
        const std::string enc = Make("crafted.enc", std::string(out.Data().begin(), out.Data().end()));
        try {
            algo.DecryptFile(enc, kPassword, nullptr, nullptr, nullptr);
            ADD_FAILURE() << name;
        } catch (const EUnsafeStoredName& e) {
            EXPECT_NE(std::string(e.what()).find(enc), std::string::npos);
        }
        EXPECT_FALSE(fs::exists(dir.File("../evil.txt")));
        EXPECT_EQ(Names(), std::vector<std::string>{"crafted.enc"}) << name;
    }
}

TEST(StoredNames, OrdinaryNamesInAnyScriptAreSafe) {
    for (const char* name : {"a.txt", ".bashrc", "Grüße.txt", "отчёт 2026.doc", "写真.jpg", "emoji 😀.png", "a..b"})
        EXPECT_TRUE(IsSafeStoredName(name)) << name;
}

// An .enc file holding `stored` as its name, written as `encName` in the test folder.
std::string CraftEnc(TCryptoAlgorithm& algo, test::TestFolder& dir, const std::string& encName,
                     const std::string& stored, const std::string& body) {
    TMemoryStream in(Bytes(body.begin(), body.end())), out;
    algo.EncryptStream(in, out, stored, kPassword, nullptr, nullptr);
    return dir.Write(encName, std::string(out.Data().begin(), out.Data().end()));
}

TEST_F(EncFiles, DecryptingNeverReplacesTheEncFileItselfNorAnUnrelatedFile) {
    // "x.enc" encrypted, then renamed over its own name: its stored name is its own.
    const std::string self = Make("x.enc", "data");
    algo.EncryptFile(self, kPassword, nullptr, nullptr, nullptr);
    fs::rename(self + ".enc", self);
    const std::string encrypted = dir.Read(self);
    try {
        algo.DecryptFile(self, kPassword, nullptr, nullptr, nullptr);
        ADD_FAILURE() << "decrypted over itself";
    } catch (const ETargetExists& e) {
        EXPECT_NE(std::string(e.what()).find(self), std::string::npos) << e.what();
    }
    EXPECT_EQ(dir.Read(self), encrypted);

    // A crafted "photo.jpg.enc" storing the name of another file of the folder.
    const std::string precious = Make("precious.txt", "precious");
    const std::string photo = CraftEnc(algo, dir, "photo.jpg.enc", "precious.txt", "attack");
    try {
        algo.DecryptFile(photo, kPassword, nullptr, nullptr, nullptr);
        ADD_FAILURE() << "replaced an unrelated file";
    } catch (const ETargetExists& e) {
        EXPECT_NE(std::string(e.what()).find(photo), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(precious), std::string::npos) << e.what();
    }
    EXPECT_EQ(dir.Read(precious), "precious");
    EXPECT_EQ(Names(), (std::vector<std::string>{"photo.jpg.enc", "precious.txt", "x.enc"})) << "nothing left over";

    // The ordinary round trip still replaces an older file of its own name.
    Make("a.txt", "new");
    algo.EncryptFile(dir.File("a.txt"), kPassword, nullptr, nullptr, nullptr);
    Make("a.txt", "old");
    EXPECT_EQ(algo.DecryptFile(dir.File("a.txt.enc"), kPassword, nullptr, nullptr, nullptr), TCryptoResult::Completed);
    EXPECT_EQ(dir.Read("a.txt"), "new");
}

TEST_F(EncFiles, DecryptedFilesAreNeverMoreOpenThanTheEncFile) {
    struct Case {
        fs::perms enc;
        mode_t umask;
        fs::perms expected;
    };
    using P = fs::perms;
    const Case cases[] = {
        {P(0600), 022, P(0600)},
        {P(0640), 022, P(0640)},
        {P(0666), 022, P(0644)},
        {P(0644), 077, P(0600)},
    };
    const std::string enc = CraftEnc(algo, dir, "s.enc", "s.txt", "secret");
    for (const auto& c : cases) {
        fs::permissions(enc, c.enc);
        const mode_t old = ::umask(c.umask);
        EXPECT_EQ(algo.DecryptFile(enc, kPassword, nullptr, nullptr, nullptr), TCryptoResult::Completed);
        ::umask(old);
        EXPECT_EQ(fs::status(dir.File("s.txt")).permissions(), c.expected) << std::oct << int(c.enc);
        fs::remove(dir.File("s.txt"));
    }
}

TEST_F(EncFiles, AFileTaggedAllIsDecryptedOnceByTheEntryItsKeyOpens) {
    InitCryptoAlgorithms(LanguageSetting());
    const std::string src = Make("t.txt", "twofish");
    const int twofish = AlgorithmCount() - 2, blowfish = 0;
    for (int position : {twofish, blowfish}) {
        ASSERT_EQ(AlgorithmAt(position).EncryptFile(src, kPassword, nullptr, nullptr, nullptr), TCryptoResult::Completed);
        std::string enc = dir.Read(src + ".enc");
        enc.replace(0, 3, "ALL");
        Make("t.txt.enc", enc);
        fs::remove(src);
        int asked = 0;
        const auto query = [&](const std::string&, ByteString&) { return ++asked, false; };
        EXPECT_EQ(AlgorithmAt(AlgorithmCount() - 1).DecryptFile(dir.File("t.txt.enc"), kPassword, nullptr, nullptr, query),
                  TCryptoResult::Completed);
        EXPECT_EQ(asked, 0) << "the given password opens it";
        EXPECT_EQ(dir.Read(src), "twofish");
        EXPECT_EQ(AlgorithmAt(AlgorithmCount() - 1)
                      .DecryptFile(dir.File("t.txt.enc"), ByteString::FromAscii("wrong"), nullptr, nullptr, query),
                  TCryptoResult::GivenUp);
        EXPECT_EQ(asked, 1) << "asked once, not once per entry";
    }
    DoneCryptoAlgorithms();
}

TEST_F(EncFiles, DamagedHeadersAreReadErrors) {
    auto decrypt = [&](const std::string& content) {
        const std::string enc = Make("d.enc", content);
        try {
            algo.DecryptFile(enc, kPassword, nullptr, nullptr, nullptr);
            return std::string("no error");
        } catch (const EStreamError& e) {
            return std::string(e.what());
        }
    };
    EXPECT_EQ(decrypt("BF"), "Stream read error") << "ends inside the tag";
    EXPECT_EQ(decrypt(std::string("BFS\0\0\0\0\xff\xff\xff\x7f", 11) + "AAAA"), "Stream read error")
        << "a name length beyond the file is not an allocation";
    EXPECT_EQ(decrypt(std::string("BFS\0\0\0\0\x08\0\0\0", 11) + "AAAA"), "Stream read error")
        << "ends inside the name";
}

TEST_F(EncFiles, AnEmptyFileGivesAHeaderOnlyAndDecryptsToAnEmptyFile) {
    const std::string src = Make("empty", "");
    int calls = 0;
    algo.EncryptFile(src, kPassword, nullptr, [&](auto...) { ++calls; }, nullptr);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(fs::file_size(src + ".enc"), 11u + 8u);
    fs::remove(src);
    ASSERT_EQ(algo.DecryptFile(src + ".enc", kPassword, nullptr, nullptr, nullptr), TCryptoResult::Completed);
    EXPECT_TRUE(fs::exists(src));
    EXPECT_EQ(fs::file_size(src), 0u);
}

}  // namespace
}  // namespace vantrel
