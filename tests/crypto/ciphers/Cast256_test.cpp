// CAST-256 key intake: every shorter key is the 256-bit key with zero bytes after it.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "crypto/ciphers/Cast256.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Cast256, ShorterKeysAreZeroPaddedTo256Bits) {
    std::mt19937 rng(41);
    for (std::uint32_t bits : {128u, 160u, 192u, 224u}) {
        Bytes key(32, 0);
        for (std::size_t i = 0; i < bits / 8; ++i) key[i] = std::uint8_t(rng());
        TVC_cast256 shortKey, full;
        shortKey.SetKey(key.data(), bits);
        full.SetKey(key.data(), 256);
        for (int i = 0; i < 4; ++i) {
            Bytes block(16), a(16), b(16);
            for (auto& x : block) x = std::uint8_t(rng());
            shortKey.EncryptBlock(block.data(), a.data());
            full.EncryptBlock(block.data(), b.data());
            ASSERT_EQ(a, b) << bits << " bits";
            shortKey.DecryptBlock(block.data(), a.data());
            full.DecryptBlock(block.data(), b.data());
            ASSERT_EQ(a, b) << bits << " bits";
        }
    }
}

}  // namespace
}  // namespace vantrel
