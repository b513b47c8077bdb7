#include <gtest/gtest.h>

#include <filesystem>

#include "TestFolder.h"
#include "encryption/CryptoAlgorithms.h"
#include "i18n/LanguageManager.h"

namespace vantrel {
namespace {

namespace fs = std::filesystem;

const std::uint8_t* Tag(const char* t) { return reinterpret_cast<const std::uint8_t*>(t); }

class AlgorithmRegistry : public ::testing::Test {
protected:
    void SetUp() override { InitCryptoAlgorithms(LanguageSetting()); }
    void TearDown() override { DoneCryptoAlgorithms(); }
    test::TestFolder dir;
};

TEST_F(AlgorithmRegistry, NineteenEntriesInTheirFixedOrder) {
    const char* tags[] = {"BFS", "CS1", "CS2", "DES", "3DE", "ICE", "TIC", "IC2", "IDE", "MAR",
                          "MI1", "RC2", "RC5", "RC6", "RIJ", "SER", "TEA", "TFS", "ALL"};
    ASSERT_EQ(AlgorithmCount(), 19);
    for (int i = 0; i < 19; ++i) {
        EXPECT_EQ(AlgorithmAt(i).Tag().View(), tags[i]);
        if (i < 18) {
            ASSERT_NE(AlgorithmAt(i).Cipher(), nullptr);
            EXPECT_FALSE(AlgorithmAt(i).Cipher()->Initialized());
            EXPECT_EQ(AlgorithmAt(i).Cipher()->CipherMode, cmCBC);
        }
    }
    EXPECT_EQ(AlgorithmAt(18).Cipher(), nullptr);
    EXPECT_EQ(AlgorithmBoxText(0), "Blowfish");
    EXPECT_EQ(AlgorithmBoxText(18), "All at once");
    EXPECT_EQ(ProgressPassCount(), 1);
}

TEST_F(AlgorithmRegistry, FindsEntriesByTheirExactTag) {
    EXPECT_EQ(AlgorithmPosition(*FindAlgorithmByTag(Tag("TFS"))), 17);
    EXPECT_EQ(AlgorithmPosition(*FindAlgorithmByTag(Tag("ALL"))), 18);
    EXPECT_EQ(FindAlgorithmByTag(Tag("tfs")), nullptr);
    EXPECT_EQ(FindAlgorithmByTag(Tag("XYZ")), nullptr);
}

TEST_F(AlgorithmRegistry, DescriptionsComeFromTheFileOfTheLanguage) {
    for (int i = 0; i < AlgorithmCount(); ++i)
        EXPECT_FALSE(GetAlgorithmDescription(AlgorithmAt(i)).empty()) << AlgorithmBoxText(i);
    DoneCryptoAlgorithms();
    dir.Write("Vantrel/options.ini", "[Options]\nLanguageID=9999\n");
    InitCryptoAlgorithms(LanguageSetting());  // cryptos9999.ini does not exist beside the program
    EXPECT_EQ(GetAlgorithmDescription(AlgorithmAt(0)), "");
}

TEST_F(AlgorithmRegistry, EveryEntryRoundTripsAWholeFile) {
    std::string content;
    for (int i = 0; i < 5000; ++i) content += char(i * 31 % 251);
    for (int i = 0; i < AlgorithmCount(); ++i) {
        const std::string src = dir.Write("file.bin", content);
        auto& algorithm = AlgorithmAt(i);
        SetProgressPassCount(i == 18 ? 18 : 1);
        ASSERT_EQ(algorithm.EncryptFile(src, ByteString::FromAscii("pw"), nullptr, nullptr, nullptr),
                  TCryptoResult::Completed);
        SetProgressPassCount(1);
        fs::remove(src);
        const std::string enc = src + ".enc";
        auto* byTag = FindAlgorithmByTag(reinterpret_cast<const std::uint8_t*>(dir.Read(enc).data()));
        ASSERT_NE(byTag, nullptr);
        EXPECT_EQ(AlgorithmPosition(*byTag), i == 18 ? 17 : i) << "all at once leaves the Twofish file";
        ASSERT_EQ(byTag->DecryptFile(enc, ByteString::FromAscii("pw"), nullptr, nullptr, nullptr),
                  TCryptoResult::Completed);
        EXPECT_EQ(dir.Read(src), content) << AlgorithmBoxText(i);
        fs::remove(enc);
    }
}

TEST_F(AlgorithmRegistry, AllAtOnceReportsEighteenPassesAndACancelLeavesNothing) {
    const std::string src = dir.Write("f.bin", std::string(3600, 'z'));
    std::int64_t processed = 0;
    int chunks = 0;
    SetProgressPassCount(18);
    AlgorithmAt(18).EncryptFile(src, ByteString::FromAscii("pw"), nullptr,
                                [&](std::int64_t, std::int64_t, std::int64_t p, double) {
                                    processed += p;
                                    ++chunks;
                                },
                                nullptr);
    EXPECT_EQ(chunks, 18 * 100);
    EXPECT_EQ(processed, 18 * 100 * (36 / 18)) << "each 36-byte chunk counts 2";

    fs::remove(src + ".enc");
    int asked = 0;
    EXPECT_EQ(AlgorithmAt(18).EncryptFile(src, ByteString::FromAscii("pw"), [&] { return ++asked > 250; }, nullptr,
                                          nullptr),
              TCryptoResult::Cancelled);
    SetProgressPassCount(1);
    EXPECT_FALSE(fs::exists(src + ".enc")) << "a cancelled chain leaves no output";
    for (const auto& e : fs::directory_iterator(dir.Path()))
        if (e.is_regular_file()) {
            EXPECT_EQ(e.path().filename(), "f.bin") << "no temporary file left";
        }
}

}  // namespace
}  // namespace vantrel
