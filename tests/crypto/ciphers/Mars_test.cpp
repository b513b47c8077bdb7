// MARS: how the key length becomes the word count, and the mask that the
// multiplication-key fix works with.
#include "crypto/ciphers/Mars.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "crypto/CipherTestUtil.h"

namespace vantrel {
namespace {

using test::Bytes;
using test::RandomBytes;
using Schedule = std::vector<std::uint32_t>;

Schedule ExpandOnce(const Bytes& key, std::uint32_t bits) {
    TVC_mars c;
    c.SetKey(key.data(), bits);
    return Schedule(c.ExpandedKey(), c.ExpandedKey() + 40);
}

// Expected masks worked out by hand from the rule: runs of ten or more equal bits, less each
// run's end bits whose neighbour differs (outside the word counts as 0), less bits 0 and 1.
TEST(Mars, FixMaskMarksTheInsideOfLongRuns) {
    struct Case {
        std::uint32_t w, mask;
    };
    const Case cases[] = {
        {0x00000000, 0xFFFFFFFC},  // one run of zeros; both ends border the outside zeros
        {0xFFFFFFFF, 0x7FFFFFFC},  // bit 31 borders the outside zero
        {0x000FFC03, 0xFFE7F800},  // ten ones at 10..19 keep 11..18; zeros 20..31 keep 21..31;
                                   // the eight zeros at 2..9 are too short
        {0x00001FF3, 0xFFFFC000},  // nine ones at 4..12 are too short; zeros 13..31 keep 14..31
        {0xAAAAAAAB, 0x00000000},  // no runs at all
        {0x0007FE00, 0xFFF3FC00},  // exactly ten ones at 9..18 keep 10..17; zeros 19..31 keep
                                   // 20..31; the nine zeros at 0..8 are too short
    };
    for (const auto& c : cases) EXPECT_EQ(MarsFixMask(c.w), c.mask) << std::hex << c.w;
}

// n counts whole 32-bit words: the 20-byte digest is five words, and up to three bytes more
// change nothing, while a sixth word (even a zero one) gives another schedule.
TEST(Mars, KeyLengthCountsWholeWords) {
    std::mt19937 rng(13);
    for (int i = 0; i < 20; ++i) {
        const Bytes key = RandomBytes(rng, 24);
        const Schedule five = ExpandOnce(key, 160);
        for (std::uint32_t bits : {168u, 176u, 184u, 188u}) EXPECT_EQ(ExpandOnce(key, bits), five) << bits;
        Bytes zeroWord(key.begin(), key.begin() + 20);
        zeroWord.resize(24, 0);
        EXPECT_NE(ExpandOnce(zeroWord, 192), five);
    }
}

// A key of one word W and a key of W repeated feed the same k[i mod n] into every step, so
// only T[39] = n tells them apart.
TEST(Mars, WordCountEntersTheTable) {
    const Bytes w = {0x01, 0x23, 0x45, 0x67};
    Bytes repeated;
    for (int i = 0; i < 10; ++i) repeated.insert(repeated.end(), w.begin(), w.end());
    const Schedule one = ExpandOnce(repeated, 32), five = ExpandOnce(repeated, 160), ten = ExpandOnce(repeated, 320);
    EXPECT_NE(one, five);
    EXPECT_NE(five, ten);
    EXPECT_NE(one, ten);
}

TEST(Mars, KeysShorterThanOneWordAreRefused) {
    const Bytes key(4, 0x11);
    TVC_mars c;
    for (std::uint32_t bits : {8u, 16u, 28u}) {
        EXPECT_THROW(c.SetKey(key.data(), bits), EVC_cipher) << bits;
        EXPECT_FALSE(c.Initialized()) << bits;
    }
    c.SetKey(key.data(), 32);
    EXPECT_TRUE(c.Initialized());
}

}  // namespace
}  // namespace vantrel
