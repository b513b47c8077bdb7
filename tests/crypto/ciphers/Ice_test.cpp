// What the ICE classes add beyond their known answers: their identities, which differ only
// in a few values, and how a key shorter than the level's whole key is taken.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "crypto/ciphers/Ice.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct IceClass {
    std::function<std::unique_ptr<TVC_blockcipher>()> make;
    int id;
    const char* algorithm;
    int maxKeyBits;
};

const IceClass kClasses[] = {
    {[] { return std::make_unique<TVC_thinice>(); }, 21, "Thin Ice", 64},
    {[] { return std::make_unique<TVC_ice>(); }, 20, "Ice", 64},
    {[] { return std::make_unique<TVC_ice2>(); }, 22, "Ice2", 128},
};

TEST(IceFamily, ReportsItsClassValues) {
    for (const auto& c : kClasses) {
        auto cipher = c.make();
        EXPECT_EQ(cipher->ClassId(), c.id) << c.algorithm;
        EXPECT_EQ(cipher->ClassAlgorithm(), c.algorithm);
        EXPECT_EQ(cipher->ClassMaxKeySize(), c.maxKeyBits) << c.algorithm;
        EXPECT_EQ(cipher->ClassBlockSize(), 64) << c.algorithm;
    }
}

// A short key runs as the whole key with zero bytes behind it; for ICE-2 a 64-bit key thus
// leaves the second key group all zero rather than repeating the first. Four bits hold no
// byte and give the all-zero key.
TEST(IceFamily, ShortKeysAreZeroExtended) {
    std::mt19937 rng(40);
    for (const auto& c : kClasses) {
        for (std::uint32_t bits = 4; bits < std::uint32_t(c.maxKeyBits); bits += bits < 8 ? 4 : 8) {
            Bytes key(std::size_t(c.maxKeyBits / 8), 0);
            for (std::size_t i = 0; i < bits / 8; ++i) key[i] = std::uint8_t(rng());
            auto shortKeyed = c.make(), fullKeyed = c.make();
            shortKeyed->SetKey(key.data(), bits);
            fullKeyed->SetKey(key.data(), std::uint32_t(c.maxKeyBits));
            for (int n = 0; n < 4; ++n) {
                Bytes block(8), a(8), b(8);
                for (auto& x : block) x = std::uint8_t(rng());
                shortKeyed->EncryptBlock(block.data(), a.data());
                fullKeyed->EncryptBlock(block.data(), b.data());
                ASSERT_EQ(a, b) << c.algorithm << " keyed with " << bits << " bits";
            }
        }
    }
}

}  // namespace
}  // namespace vantrel
