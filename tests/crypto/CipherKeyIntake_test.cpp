// Every cipher class's identity, and the ciphers that take a short key as their whole key
// with zero bytes behind it. The other intakes (rounding up to a standard length, Serpent's
// padding bit, RC2's exact bytes, RC5/RC6 and MARS key words, triple DES's two-key rule,
// CAST-128's round count) have tests of their own beside each cipher.
#include <gtest/gtest.h>

#include <random>

#include "CipherCatalogue.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct ClassValues {
    const char* algorithm;
    int id, maxKeyBits, blockBits;
};

const ClassValues kClasses[] = {
    {"Blowfish", 5, 448, 64},   {"Cast128", 7, 128, 64},   {"Cast256", 15, 256, 128}, {"DES", 23, 64, 64},
    {"3DES", 24, 192, 64},      {"Ice", 20, 64, 64},       {"Thin Ice", 21, 64, 64},  {"Ice2", 22, 128, 64},
    {"IDEA", 12, 128, 64},      {"Mars", 13, 1248, 128},   {"Misty1", 11, 128, 64},   {"RC2", 1, 1024, 64},
    {"RC5", 3, 2048, 64},       {"RC6", 4, 2048, 128},     {"Rijndael", 9, 256, 128}, {"Serpent", 26, 256, 128},
    {"Tea", 25, 128, 64},       {"Twofish", 6, 256, 128},
};

TEST(CipherClasses, ReportTheirIdentities) {
    ASSERT_EQ(test::CipherNames().size(), std::size(kClasses));
    for (const auto& c : kClasses) {
        auto cipher = test::MakeCipher(c.algorithm);
        ASSERT_NE(cipher, nullptr) << c.algorithm;
        EXPECT_EQ(cipher->ClassId(), c.id) << c.algorithm;
        EXPECT_EQ(cipher->Id(), c.id) << c.algorithm;
        EXPECT_EQ(cipher->ClassMaxKeySize(), c.maxKeyBits) << c.algorithm;
        EXPECT_EQ(cipher->ClassBlockSize(), c.blockBits) << c.algorithm;
    }
}

class ZeroExtendedKeys : public ::testing::TestWithParam<const char*> {};

// Every whole-byte length below the maximum (and 4 bits, which hold no byte and so give the
// all-zero key) encrypts like the maximum-length key ending in zero bytes. For ICE-2 a
// 64-bit key thus leaves the second key group zero rather than repeating the first.
TEST_P(ZeroExtendedKeys, EncryptLikeTheWholeKeyEndingInZeros) {
    std::mt19937 rng(40);
    const auto maxBits = std::uint32_t(test::MakeCipher(GetParam())->ClassMaxKeySize());
    for (std::uint32_t bits = 4; bits < maxBits; bits += bits < 8 ? 4 : 8) {
        Bytes key(maxBits / 8, 0);
        for (std::size_t i = 0; i < bits / 8; ++i) key[i] = std::uint8_t(rng());
        auto shortKeyed = test::MakeCipher(GetParam()), fullKeyed = test::MakeCipher(GetParam());
        shortKeyed->SetKey(key.data(), bits);
        fullKeyed->SetKey(key.data(), maxBits);
        const std::size_t b = std::size_t(shortKeyed->ClassBlockSize() / 8);
        for (int n = 0; n < 4; ++n) {
            Bytes block(b), x(b), y(b);
            for (auto& v : block) v = std::uint8_t(rng());
            shortKeyed->EncryptBlock(block.data(), x.data());
            fullKeyed->EncryptBlock(block.data(), y.data());
            ASSERT_EQ(x, y) << GetParam() << " keyed with " << bits << " bits";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ciphers, ZeroExtendedKeys,
                         ::testing::Values("Thin Ice", "Ice", "Ice2", "IDEA", "Misty1", "Tea"),
                         [](const auto& p) {
                             std::string name = p.param;
                             for (auto& ch : name)
                                 if (ch == ' ') ch = '_';
                             return name;
                         });

}  // namespace
}  // namespace vantrel
