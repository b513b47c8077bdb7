// How DES and triple DES take their keys: parity bits, zero extension, and which bytes become
// K1, K2 and K3 at each key length.
#include "crypto/ciphers/Des.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "crypto/CipherTestUtil.h"

namespace vantrel {
namespace {

using test::Bytes;
using test::RandomBytes;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Slice(const Bytes& b, std::size_t from, std::size_t n) {
    return Bytes(b.begin() + long(from), b.begin() + long(from + n));
}

// Both ciphers, keyed as given, agree on random blocks in both directions.
void ExpectSameCipher(TVC_blockcipher& a, const Bytes& keyA, TVC_blockcipher& b, const Bytes& keyB, std::uint32_t bitsA,
                      std::mt19937& rng) {
    a.SetKey(keyA.data(), bitsA);
    b.SetKey(keyB.data(), std::uint32_t(keyB.size() * 8));
    for (int i = 0; i < 8; ++i) {
        const Bytes block = RandomBytes(rng, 8);
        Bytes x(8), y(8);
        a.EncryptBlock(block.data(), x.data());
        b.EncryptBlock(block.data(), y.data());
        ASSERT_EQ(x, y) << "encrypt, " << bitsA << " bits";
        a.DecryptBlock(block.data(), x.data());
        b.DecryptBlock(block.data(), y.data());
        ASSERT_EQ(x, y) << "decrypt, " << bitsA << " bits";
    }
}

TEST(Des, IgnoresTheParityBitsOfTheKey) {
    std::mt19937 rng(21);
    for (int round = 0; round < 20; ++round) {
        const Bytes key = RandomBytes(rng, 8);
        Bytes flipped = key;
        for (auto& b : flipped) b ^= 0x01;
        TVC_des a, b;
        ExpectSameCipher(a, key, b, flipped, 64, rng);
    }
}

TEST(Des, ExtendsAShortKeyWithZeroBytes) {
    std::mt19937 rng(22);
    const Bytes key = RandomBytes(rng, 4);
    TVC_des a, b;
    ExpectSameCipher(a, key, b, Concat({key, Bytes(4, 0)}), 32, rng);
}

TEST(TripleDes, WithOneKeyThreeTimesIsSingleDes) {
    std::mt19937 rng(23);
    const Bytes k = RandomBytes(rng, 8);
    TVC_3des triple;
    TVC_des single;
    ExpectSameCipher(triple, Concat({k, k, k}), single, k, 192, rng);
}

// Each key length against the 192-bit key K1 K2 K3 it stands for. Up to 128 bits the third
// pass reuses K1; above, K3 is bytes 16 to 23 of the zero-padded key, even when only one of
// them was given.
TEST(TripleDes, MapsEachKeyLengthToThreeKeys) {
    std::mt19937 rng(24);
    const Bytes r = RandomBytes(rng, 24);
    const Bytes zeros(24, 0);
    struct Case {
        std::uint32_t bits;
        Bytes equivalent;
    };
    const Case cases[] = {
        {64, Concat({Slice(r, 0, 8), Slice(zeros, 0, 8), Slice(r, 0, 8)})},
        {128, Concat({Slice(r, 0, 16), Slice(r, 0, 8)})},
        {136, Concat({Slice(r, 0, 17), Slice(zeros, 0, 7)})},
        {160, Concat({Slice(r, 0, 20), Slice(zeros, 0, 4)})},
        {192, r},
    };
    for (const auto& c : cases) {
        TVC_3des a, b;
        ExpectSameCipher(a, r, b, c.equivalent, c.bits, rng);
    }
}

}  // namespace
}  // namespace vantrel
