// One contract for every cipher class, and the known answers of tests/data/vectors/*.vec
// (one file per cipher: "Cipher = <ClassAlgorithm>", then Key/In/Out triples). Adding a
// cipher adds a vector file and a line in the catalogue, not a test.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "CipherCatalogue.h"
#include "crypto/ciphers/SelfTest.h"

namespace vantrel {
namespace {

using test::CipherNames;
using test::MakeCipher;
using Bytes = std::vector<std::uint8_t>;

struct VectorRow {
    std::string file, cipher, key, in, out;
};

std::vector<VectorRow> LoadVectors() {
    std::vector<VectorRow> rows;
    const auto dir = std::filesystem::path(VANTREL_TEST_DATA) / "vectors";
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().extension() == ".vec") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        std::ifstream f(path);
        std::string line, cipher;
        VectorRow row;
        while (std::getline(f, line)) {
            if (line.empty() || line[0] == '#') continue;
            auto eq = line.find('=');
            if (eq == std::string::npos) continue;
            std::string name = line.substr(0, eq), value = line.substr(eq + 1);
            auto trim = [](std::string s) {
                s.erase(0, s.find_first_not_of(" \t"));
                s.erase(s.find_last_not_of(" \t\r") + 1);
                return s;
            };
            name = trim(name);
            value = trim(value);
            if (name == "Cipher") cipher = value;
            else if (name == "Key") row.key = value;
            else if (name == "In") row.in = value;
            else if (name == "Out") {
                row.out = value;
                row.cipher = cipher;
                row.file = path.filename().string();
                rows.push_back(row);
            }
        }
    }
    return rows;
}

std::string TestName(std::string s) {
    for (auto& c : s)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return s;
}

class KnownAnswer : public ::testing::TestWithParam<VectorRow> {};

TEST_P(KnownAnswer, EncryptsAndDecryptsTheBlock) {
    const auto& row = GetParam();
    auto cipher = MakeCipher(row.cipher);
    ASSERT_NE(cipher, nullptr) << row.file << " names no cipher class: " << row.cipher;
    const Bytes key = HexBytes(row.key), plain = HexBytes(row.in), expected = HexBytes(row.out);
    cipher->SetKey(key.data(), std::uint32_t(key.size() * 8));
    Bytes out(plain.size());
    cipher->EncryptBlock(plain.data(), out.data());
    EXPECT_EQ(out, expected) << row.file << ": key " << row.key;
    cipher->DecryptBlock(out.data(), out.data());
    EXPECT_EQ(out, plain) << row.file << ": key " << row.key;
}

INSTANTIATE_TEST_SUITE_P(Vectors, KnownAnswer, ::testing::ValuesIn(LoadVectors()), [](const auto& p) {
    return TestName(p.param.file.substr(0, p.param.file.size() - 4)) + "_" + std::to_string(p.index);
});

class Contract : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override { cipher = MakeCipher(GetParam()); }
    std::size_t B() const { return std::size_t(cipher->ClassBlockSize() / 8); }
    // The key size this program uses: the smaller of the maximum and SHA-1's 160 bits.
    std::uint32_t ProgramKeyBits() const { return std::uint32_t(std::min(cipher->ClassMaxKeySize(), 160)); }
    void KeyRandomly(std::mt19937& rng, std::uint32_t bits) {
        Bytes key(bits / 8);
        for (auto& b : key) b = std::uint8_t(rng());
        cipher->SetKey(key.data(), bits);
    }
    std::unique_ptr<TVC_blockcipher> cipher;
};

TEST_P(Contract, PassesItsSelfTest) { EXPECT_TRUE(cipher->RunSelfTest()); }

TEST_P(Contract, RefusesUseWithoutAKey) {
    std::uint8_t block[16] = {};
    EXPECT_THROW(cipher->EncryptBlock(block, block), EVC_blockcipher);
    EXPECT_THROW(cipher->DecryptBlock(block, block), EVC_blockcipher);
    EXPECT_THROW(cipher->EncryptBuffer(block, block, 0), EVC_blockcipher);
    std::mt19937 rng(1);
    KeyRandomly(rng, ProgramKeyBits());
    cipher->Wipe();
    EXPECT_FALSE(cipher->Initialized());
    EXPECT_THROW(cipher->EncryptBlock(block, block), EVC_blockcipher);
    EXPECT_THROW(cipher->GetChainValue(block), EVC_blockcipher);
}

TEST_P(Contract, RefusesKeySizesOutsideItsRange) {
    std::vector<std::uint8_t> key(400, 0x5A);
    const auto max = std::uint32_t(cipher->ClassMaxKeySize());
    for (std::uint32_t bits : {0u, 6u, max + 4})
        EXPECT_THROW(cipher->SetKey(key.data(), bits), EVC_cipher) << bits;
    EXPECT_FALSE(cipher->Initialized());
    cipher->SetKey(key.data(), max);
    EXPECT_TRUE(cipher->Initialized());
}

TEST_P(Contract, DecryptInvertsEncryptInPlaceAndApart) {
    std::mt19937 rng(7);
    for (int round = 0; round < 200; ++round) {
        KeyRandomly(rng, round % 2 ? ProgramKeyBits() : std::uint32_t(cipher->ClassMaxKeySize()));
        Bytes plain(B()), apart(B()), inPlace(B());
        for (auto& b : plain) b = std::uint8_t(rng());
        cipher->EncryptBlock(plain.data(), apart.data());
        inPlace = plain;
        cipher->EncryptBlock(inPlace.data(), inPlace.data());
        ASSERT_EQ(apart, inPlace);
        ASSERT_NE(apart, plain);
        cipher->DecryptBlock(inPlace.data(), inPlace.data());
        ASSERT_EQ(inPlace, plain);
    }
}

TEST_P(Contract, DefaultInitVectorIsTheEncryptedZeroBlock) {
    std::mt19937 rng(3);
    KeyRandomly(rng, ProgramKeyBits());
    Bytes zero(B(), 0), e0(B()), cv(B());
    cipher->EncryptBlock(zero.data(), e0.data());
    cipher->GetChainValue(cv.data());
    EXPECT_EQ(cv, e0);
}

TEST_P(Contract, EveryModeRoundTripsAcrossOddSizes) {
    std::mt19937 rng(11);
    KeyRandomly(rng, ProgramKeyBits());
    Bytes plain(1000);
    for (auto& b : plain) b = std::uint8_t(rng());
    for (auto mode : {cmCBC, cmCFB8bit, cmCFBblock, cmOFB, cmCTR}) {
        cipher->CipherMode = mode;
        Bytes enc(plain.size()), dec(plain.size());
        cipher->RestartChain();
        std::size_t pos = 0;
        for (std::uint32_t part : {3u, 16u, 37u, 8u, 936u}) {
            cipher->EncryptBuffer(plain.data() + pos, enc.data() + pos, part);
            pos += part;
        }
        cipher->RestartChain();
        pos = 0;
        for (std::uint32_t part : {3u, 16u, 37u, 8u, 936u}) {
            cipher->DecryptBuffer(enc.data() + pos, dec.data() + pos, part);
            pos += part;
        }
        EXPECT_EQ(dec, plain) << "mode " << mode;
        EXPECT_NE(enc, plain) << "mode " << mode;
    }
}

TEST_P(Contract, KeyingAgainForgetsTheOldKey) {
    std::mt19937 rng(5);
    Bytes block(B(), 0x42), first(B()), again(B());
    Bytes key(ProgramKeyBits() / 8);
    for (auto& b : key) b = std::uint8_t(rng());
    cipher->SetKey(key.data(), ProgramKeyBits());
    cipher->EncryptBlock(block.data(), first.data());
    KeyRandomly(rng, ProgramKeyBits());
    cipher->SetKey(key.data(), ProgramKeyBits());
    cipher->EncryptBlock(block.data(), again.data());
    EXPECT_EQ(first, again);
}

INSTANTIATE_TEST_SUITE_P(Ciphers, Contract, ::testing::ValuesIn(CipherNames()),
                         [](const auto& p) { return TestName(p.param); });

}  // namespace
}  // namespace vantrel
