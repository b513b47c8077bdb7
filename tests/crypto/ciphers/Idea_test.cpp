// IDEA beyond its known answers: its class values and the zero extension of short keys.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "crypto/ciphers/Idea.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Idea, ReportsItsClassValues) {
    TVC_idea c;
    EXPECT_EQ(c.ClassId(), 12);
    EXPECT_EQ(c.ClassAlgorithm(), "IDEA");
    EXPECT_EQ(c.ClassMaxKeySize(), 128);
    EXPECT_EQ(c.ClassBlockSize(), 64);
}

// A key shorter than 16 bytes encrypts like itself followed by zero bytes; 4 bits hold no
// byte at all and give the all-zero key.
TEST(Idea, ShortKeysAreZeroExtended) {
    std::mt19937 rng(12);
    for (std::uint32_t bits : {4u, 8u, 64u, 120u}) {
        Bytes key(16, 0);
        for (std::size_t i = 0; i < bits / 8; ++i) key[i] = std::uint8_t(rng());
        TVC_idea shortKeyed, fullKeyed;
        shortKeyed.SetKey(key.data(), bits);
        fullKeyed.SetKey(key.data(), 128);
        for (int n = 0; n < 4; ++n) {
            Bytes block(8), a(8), b(8);
            for (auto& x : block) x = std::uint8_t(rng());
            shortKeyed.EncryptBlock(block.data(), a.data());
            fullKeyed.EncryptBlock(block.data(), b.data());
            ASSERT_EQ(a, b) << bits << " bits";
        }
    }
}

}  // namespace
}  // namespace vantrel
