// Serpent: the S-box logic against the published tables, and the padding of
// short keys.
#include "crypto/ciphers/Serpent.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "crypto/CipherTestUtil.h"
#include "crypto/ciphers/tables/serpent_tables.h"

namespace vantrel {
namespace {

using test::Bytes;
using test::EncryptOnce;
using test::RandomBytes;
namespace t = tables::serpent;

// Bit j of the four words holds input j (0..15), so one call runs the logic over the whole
// table; the upper half of the words repeats it with the inputs reversed.
TEST(Serpent, SBoxLogicReproducesThePublishedTables) {
    const std::uint8_t* forward[8] = {t::S0, t::S1, t::S2, t::S3, t::S4, t::S5, t::S6, t::S7};
    const std::uint8_t* inverse[8] = {t::InvS0, t::InvS1, t::InvS2, t::InvS3, t::InvS4, t::InvS5, t::InvS6, t::InvS7};
    auto input = [](unsigned j) { return j < 16 ? j : 31 - j; };
    for (int box = 0; box < 8; ++box)
        for (bool inv : {false, true}) {
            std::uint32_t w[4] = {};
            for (unsigned j = 0; j < 32; ++j)
                for (unsigned b = 0; b < 4; ++b) w[b] |= ((input(j) >> b) & 1u) << j;
            TVC_serpent::SBox(box, inv, w);
            const std::uint8_t* table = inv ? inverse[box] : forward[box];
            for (unsigned j = 0; j < 32; ++j) {
                unsigned got = 0;
                for (unsigned b = 0; b < 4; ++b) got |= ((w[b] >> j) & 1u) << b;
                ASSERT_EQ(got, table[input(j)]) << (inv ? "InvS" : "S") << box << " of " << input(j);
            }
        }
}

// A key of n bytes below 32 runs as the 256-bit key made of those bytes, a 01 byte at
// position n and zeros; a full 256-bit key gets no padding bit.
TEST(Serpent, ShortKeysArePaddedWithOneBit) {
    std::mt19937 rng(26);
    for (std::size_t n : {8u, 16u, 20u, 24u, 31u}) {
        for (int i = 0; i < 5; ++i) {
            const Bytes key = RandomBytes(rng, n), block = RandomBytes(rng, 16);
            Bytes padded = key;
            padded.resize(32, 0);
            padded[n] = 0x01;
            EXPECT_EQ(EncryptOnce<TVC_serpent>(key, std::uint32_t(n * 8), block),
                      EncryptOnce<TVC_serpent>(padded, 256, block))
                << n;
            padded[n] = 0x00;
            EXPECT_NE(EncryptOnce<TVC_serpent>(key, std::uint32_t(n * 8), block),
                      EncryptOnce<TVC_serpent>(padded, 256, block))
                << n;
        }
    }
}

}  // namespace
}  // namespace vantrel
