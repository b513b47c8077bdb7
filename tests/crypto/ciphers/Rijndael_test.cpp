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

// CBC over many blocks runs through whole-buffer loops on the instruction path (the chain
// folded into the last round, eight blocks side by side when decrypting). Both paths must
// give the same bytes for each round count, in place and apart, at sizes around the group of
// eight and with a partial block behind, and carry the chain on into the next call.
TEST(Rijndael, CbcBuffersMatchBetweenThePaths) {
    if (!TVC_rijndael::HasAesInstructions()) GTEST_SKIP() << "no AES instructions on this processor";
    std::mt19937 rng(7);
    for (std::size_t keyBytes : {16u, 20u, 32u}) {
        const Bytes key = RandomBytes(rng, keyBytes);
        TVC_rijndael hw, sw;
        hw.SetKey(key.data(), std::uint32_t(keyBytes * 8));
        {
            TablePathForced forced;
            sw.SetKey(key.data(), std::uint32_t(keyBytes * 8));
        }
        for (std::size_t size : {16u, 16u * 7 + 5, 16u * 8, 16u * 9, 16u * 17 + 3, 16u * 64}) {
            const Bytes plain = RandomBytes(rng, size);
            hw.RestartChain();
            sw.RestartChain();
            Bytes ciphertext[2];
            for (Bytes& c : ciphertext) {  // the second call goes on from the first's chain
                Bytes a = plain;
                c.resize(size);
                hw.EncryptBuffer(a.data(), a.data(), std::uint32_t(size));
                sw.EncryptBuffer(plain.data(), c.data(), std::uint32_t(size));
                ASSERT_EQ(a, c) << "encrypt, key " << keyBytes << ", " << size << " bytes";
            }
            ASSERT_NE(ciphertext[0], ciphertext[1]);
            hw.RestartChain();
            Bytes apart(size);
            hw.DecryptBuffer(ciphertext[0].data(), apart.data(), std::uint32_t(size));
            EXPECT_EQ(apart, plain) << "decrypt apart, key " << keyBytes << ", " << size << " bytes";
            hw.DecryptBuffer(ciphertext[1].data(), ciphertext[1].data(), std::uint32_t(size));
            EXPECT_EQ(ciphertext[1], plain) << "decrypt in place, key " << keyBytes << ", " << size << " bytes";
        }
    }
}

}  // namespace
}  // namespace vantrel
