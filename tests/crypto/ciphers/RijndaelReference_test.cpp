// TVC_rijndael against libcrypto++'s AES on random keys and blocks, on each block path.
#ifdef VANTREL_HAVE_CRYPTOPP

#include <gtest/gtest.h>
#include <cryptopp/aes.h>

#include <random>
#include <vector>

#include "crypto/ciphers/Rijndael.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct PathCase {
    const char* name;
    bool forceTables;
};

class RijndaelReference : public ::testing::TestWithParam<PathCase> {
protected:
    void SetUp() override {
        if (!GetParam().forceTables && !TVC_rijndael::HasAesInstructions())
            GTEST_SKIP() << "no AES instructions on this processor";
        TVC_rijndael::ForceTablePath(GetParam().forceTables);
    }
    void TearDown() override { TVC_rijndael::ForceTablePath(false); }
};

// Our key sizes: the 160-bit digest (AES-192 with four zero bytes behind it) and the three
// standard lengths.
TEST_P(RijndaelReference, MatchesAesInBothDirections) {
    std::mt19937 rng(2024);
    TVC_rijndael ours;
    for (std::size_t keyBytes : {20u, 16u, 24u, 32u}) {
        const std::size_t refBytes = keyBytes == 20 ? 24 : keyBytes;
        for (int k = 0; k < 1000; ++k) {
            Bytes key(keyBytes);
            for (auto& b : key) b = std::uint8_t(rng());
            ours.SetKey(key.data(), std::uint32_t(keyBytes * 8));
            ASSERT_EQ(ours.UsesAesInstructions(), !GetParam().forceTables);
            Bytes refKey = key;
            refKey.resize(refBytes, 0);
            CryptoPP::AES::Encryption enc(refKey.data(), refKey.size());
            CryptoPP::AES::Decryption dec(refKey.data(), refKey.size());
            for (int i = 0; i < 4; ++i) {
                Bytes block(16), a(16), b(16);
                for (auto& x : block) x = std::uint8_t(rng());
                ours.EncryptBlock(block.data(), a.data());
                enc.ProcessBlock(block.data(), b.data());
                ASSERT_EQ(a, b) << "encrypt, key " << keyBytes << " bytes";
                ours.DecryptBlock(block.data(), a.data());
                dec.ProcessBlock(block.data(), b.data());
                ASSERT_EQ(a, b) << "decrypt, key " << keyBytes << " bytes";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, RijndaelReference,
                         ::testing::Values(PathCase{"Instructions", false}, PathCase{"Tables", true}),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace vantrel

#endif
