// CAST-128 key intake: a short key is zero-padded to 16 bytes, and keys of 10 bytes or fewer
// run 12 rounds instead of 16, so only the longer ones agree with their padded form.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "crypto/ciphers/Cast128.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Cast128, ShortKeysAgreeWithTheirPaddedFormOnlyWhenTheyRunSixteenRounds) {
    std::mt19937 rng(31);
    struct Case {
        std::uint32_t bits;
        bool sixteenRounds;
    };
    for (const Case c : {Case{40, false}, Case{80, false}, Case{88, true}, Case{120, true}}) {
        Bytes key(16, 0);
        for (std::size_t i = 0; i < c.bits / 8; ++i) key[i] = std::uint8_t(rng());
        TVC_cast128 shortKey, padded;
        shortKey.SetKey(key.data(), c.bits);
        padded.SetKey(key.data(), 128);
        Bytes block(8), a(8), b(8);
        for (auto& x : block) x = std::uint8_t(rng());
        shortKey.EncryptBlock(block.data(), a.data());
        padded.EncryptBlock(block.data(), b.data());
        EXPECT_EQ(a == b, c.sixteenRounds) << c.bits << " bits";
        shortKey.DecryptBlock(a.data(), a.data());
        EXPECT_EQ(a, block) << c.bits << " bits";
    }
}

}  // namespace
}  // namespace vantrel
