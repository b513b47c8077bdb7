// Twofish: how key lengths round up to the standard ones.
#include "crypto/ciphers/Twofish.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "crypto/CipherTestUtil.h"

namespace vantrel {
namespace {

using test::Bytes;
using test::EncryptOnce;
using test::RandomBytes;

// A key of n bytes runs as the key zero-extended to the next of 16, 24 and 32 bytes, and not
// as the zero-extension to a longer standard length (which has more S-box key words).
TEST(Twofish, KeysRoundUpToTheNextStandardLength) {
    struct Case {
        std::size_t bytes, standard;
    };
    const Case cases[] = {{1, 16}, {8, 16}, {15, 16}, {17, 24}, {20, 24}, {23, 24}, {25, 32}, {31, 32}};
    std::mt19937 rng(6);
    for (const auto& c : cases) {
        const Bytes key = RandomBytes(rng, c.bytes), block = RandomBytes(rng, 16);
        const Bytes ours = EncryptOnce<TVC_twofish>(key, block);
        for (std::size_t standard : {16u, 24u, 32u}) {
            if (standard < c.bytes) continue;
            Bytes extended = key;
            extended.resize(standard, 0);
            if (standard == c.standard)
                EXPECT_EQ(ours, EncryptOnce<TVC_twofish>(extended, block)) << c.bytes << " bytes as " << standard;
            else
                EXPECT_NE(ours, EncryptOnce<TVC_twofish>(extended, block)) << c.bytes << " bytes as " << standard;
        }
    }
}

}  // namespace
}  // namespace vantrel
