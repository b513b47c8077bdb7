// RC2 beyond its known answers: a key expansion that starts from the
// given bytes only (a zero byte more is a different key).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "crypto/ciphers/Rc2.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// The 20 digest bytes are 20 bytes: padding them with zeros to any longer length, up to the
// full 128, gives another cipher.
TEST(Rc2, UsesExactlyTheGivenKeyBytes) {
    std::mt19937 rng(2268);
    Bytes key(128, 0);
    for (std::size_t i = 0; i < 20; ++i) key[i] = std::uint8_t(rng());
    const Bytes block = {1, 2, 3, 4, 5, 6, 7, 8};
    TVC_rc2 given, padded;
    Bytes expected(8), other(8);
    given.SetKey(key.data(), 160);
    given.EncryptBlock(block.data(), expected.data());
    for (std::uint32_t bytes : {21u, 24u, 32u, 128u}) {
        padded.SetKey(key.data(), bytes * 8);
        padded.EncryptBlock(block.data(), other.data());
        EXPECT_NE(other, expected) << bytes << " bytes";
    }
}

TEST(Rc2, RefusesAKeyWithoutAWholeByte) {
    const std::uint8_t key[1] = {0x5A};
    TVC_rc2 c;
    EXPECT_THROW(c.SetKey(key, 4), EVC_cipher);
    EXPECT_FALSE(c.Initialized());
}

}  // namespace
}  // namespace vantrel
