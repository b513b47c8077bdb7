// How key lengths map onto AES, and the table path against the AES-instruction path.
#include "crypto/ciphers/Rijndael.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "crypto/CipherTestUtil.h"

namespace vantrel {
namespace {

using test::Bytes;
using test::EncryptOnce;
using test::RandomBytes;

// Restores the default path choice however the test ends.
struct TablePathForced {
    TablePathForced() { TVC_rijndael::ForceTablePath(true); }
    ~TablePathForced() { TVC_rijndael::ForceTablePath(false); }
};

// A key of n bytes runs as AES keyed with the n bytes zero-extended to the standard length
// of its band, and as nothing else: the other standard lengths it could be mistaken for
// (a different round count, or the key cut short) give another ciphertext.
TEST(Rijndael, ShortKeysAreZeroExtendedToTheNextStandardLength) {
    struct Case {
        std::size_t bytes, standard;
    };
    const Case cases[] = {{1, 16}, {8, 16}, {15, 16}, {17, 24}, {20, 24}, {23, 24}, {25, 32}, {28, 32}, {31, 32}};
    std::mt19937 rng(20);
    for (const auto& c : cases) {
        const Bytes key = RandomBytes(rng, c.bytes), block = RandomBytes(rng, 16);
        const Bytes ours = EncryptOnce<TVC_rijndael>(key, block);
        for (std::size_t standard : {16u, 24u, 32u}) {
            if (standard < c.bytes) continue;
            Bytes extended = key;
            extended.resize(standard, 0);
            if (standard == c.standard)
                EXPECT_EQ(ours, EncryptOnce<TVC_rijndael>(extended, block)) << c.bytes << " bytes as " << standard;
            else
                EXPECT_NE(ours, EncryptOnce<TVC_rijndael>(extended, block)) << c.bytes << " bytes as " << standard;
        }
        if (c.standard > 16) {
            const Bytes cut(key.begin(), key.begin() + std::ptrdiff_t(c.standard - 8));
            EXPECT_NE(ours, EncryptOnce<TVC_rijndael>(cut, block)) << c.bytes << " bytes cut to " << cut.size();
        }
    }
}

// The table path and the instruction path must be bit-identical in both directions, for every
// round count and in place.
TEST(Rijndael, TablePathMatchesInstructionPath) {
    if (!TVC_rijndael::HasAesInstructions()) GTEST_SKIP() << "no AES instructions on this processor";
    std::mt19937 rng(99);
    TVC_rijndael hw, sw;
    for (int i = 0; i < 600; ++i) {
        const std::size_t n = std::size_t(4 * (1 + i % 8));  // 4 to 32 bytes
        const Bytes key = RandomBytes(rng, n);
        hw.SetKey(key.data(), std::uint32_t(n * 8));
        {
            TablePathForced forced;
            sw.SetKey(key.data(), std::uint32_t(n * 8));
        }
        ASSERT_TRUE(hw.UsesAesInstructions());
        ASSERT_FALSE(sw.UsesAesInstructions());
        Bytes block = RandomBytes(rng, 16), a(16), b(16);
        hw.EncryptBlock(block.data(), a.data());
        sw.EncryptBlock(block.data(), b.data());
        ASSERT_EQ(a, b) << "encrypt, key " << n << " bytes";
        hw.DecryptBlock(block.data(), a.data());
        sw.DecryptBlock(block.data(), block.data());
        ASSERT_EQ(a, block) << "decrypt, key " << n << " bytes";
    }
}

}  // namespace
}  // namespace vantrel
