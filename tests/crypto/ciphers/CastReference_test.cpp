// CAST-128 and CAST-256 against libcrypto++ on random keys and blocks, both directions.
#ifdef VANTREL_HAVE_CRYPTOPP

#include <gtest/gtest.h>

#include <cryptopp/cast.h>

#include <random>
#include <vector>

#include "crypto/ciphers/Cast128.h"
#include "crypto/ciphers/Cast256.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Ours keyed with ourBytes random bytes, the reference with the same bytes zero-padded to
// refBytes.
template <class Ours, class Ref>
void CompareWithReference(std::size_t ourBytes, std::size_t refBytes, int keys, std::uint32_t seed) {
    constexpr std::size_t B = Ref::BLOCKSIZE;
    std::mt19937 rng(seed);
    Ours ours;
    typename Ref::Encryption enc;
    typename Ref::Decryption dec;
    for (int k = 0; k < keys; ++k) {
        Bytes key(ourBytes);
        for (auto& b : key) b = std::uint8_t(rng());
        Bytes ref = key;
        ref.resize(refBytes, 0);
        ours.SetKey(key.data(), std::uint32_t(ourBytes * 8));
        enc.SetKey(ref.data(), ref.size());
        dec.SetKey(ref.data(), ref.size());
        for (int i = 0; i < 4; ++i) {
            std::uint8_t block[B], a[B], b[B];
            for (auto& x : block) x = std::uint8_t(rng());
            ours.EncryptBlock(block, a);
            enc.ProcessBlock(block, b);
            ASSERT_EQ(Bytes(a, a + B), Bytes(b, b + B)) << "encrypt, " << ourBytes << "-byte key " << k;
            ours.DecryptBlock(block, a);
            dec.ProcessBlock(block, b);
            ASSERT_EQ(Bytes(a, a + B), Bytes(b, b + B)) << "decrypt, " << ourBytes << "-byte key " << k;
        }
    }
}

TEST(CastReference, Cast128WithTheProgramKeyMatches) {
    CompareWithReference<TVC_cast128, CryptoPP::CAST128>(16, 16, 3000, 1);
}

// The reference pads short keys itself and picks 12 rounds up to 10 bytes, as ours must.
TEST(CastReference, Cast128WithEveryShorterKeyLengthMatches) {
    for (std::size_t n = 5; n < 16; ++n) CompareWithReference<TVC_cast128, CryptoPP::CAST128>(n, n, 200, std::uint32_t(n));
}

TEST(CastReference, Cast256WithTheProgramKeyMatchesTheZeroPadded256BitKey) {
    CompareWithReference<TVC_cast256, CryptoPP::CAST256>(20, 32, 3000, 2);
}

TEST(CastReference, Cast256WithTheStandardKeyLengthsMatches) {
    for (std::size_t n : {16u, 24u, 32u}) CompareWithReference<TVC_cast256, CryptoPP::CAST256>(n, n, 1000, std::uint32_t(n));
}

}  // namespace
}  // namespace vantrel

#endif  // VANTREL_HAVE_CRYPTOPP
