// DES and triple DES against libcrypto++ on random keys and blocks, both directions: the
// program's key lengths mapped to the reference's fixed-length keys.
#ifdef VANTREL_HAVE_CRYPTOPP

#include <gtest/gtest.h>

#include <cryptopp/des.h>

#include <functional>
#include <random>
#include <vector>

#include "crypto/ciphers/Des.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

// ourBits: the key length ours is keyed with; refKey: the reference key those bytes stand for.
template <class Ours, class Ref>
void CompareWithReference(std::uint32_t ourBits, const std::function<Bytes(const Bytes&)>& refKey, int keys,
                          std::uint32_t seed) {
    std::mt19937 rng(seed);
    Ours ours;
    typename Ref::Encryption enc;
    typename Ref::Decryption dec;
    for (int k = 0; k < keys; ++k) {
        Bytes key(ourBits / 8);
        for (auto& b : key) b = std::uint8_t(rng());
        const Bytes ref = refKey(key);
        ours.SetKey(key.data(), ourBits);
        enc.SetKey(ref.data(), ref.size());
        dec.SetKey(ref.data(), ref.size());
        for (int i = 0; i < 4; ++i) {
            std::uint8_t block[8], a[8], b[8];
            for (auto& x : block) x = std::uint8_t(rng());
            ours.EncryptBlock(block, a);
            enc.ProcessBlock(block, b);
            ASSERT_EQ(Bytes(a, a + 8), Bytes(b, b + 8)) << "encrypt, key " << k;
            ours.DecryptBlock(block, a);
            dec.ProcessBlock(block, b);
            ASSERT_EQ(Bytes(a, a + 8), Bytes(b, b + 8)) << "decrypt, key " << k;
        }
    }
}

Bytes Same(const Bytes& k) { return k; }

TEST(DesReference, SingleDesMatches) { CompareWithReference<TVC_des, CryptoPP::DES>(64, Same, 3000, 1); }

TEST(DesReference, TripleDesWithTheProgramKeyMatchesThreeKeyWithZeroTail) {
    CompareWithReference<TVC_3des, CryptoPP::DES_EDE3>(
        160,
        [](const Bytes& k) {
            Bytes r = k;
            r.resize(24, 0);
            return r;
        },
        3000, 2);
}

TEST(DesReference, TripleDesWith128BitsMatchesTwoKey) {
    CompareWithReference<TVC_3des, CryptoPP::DES_EDE2>(128, Same, 2000, 3);
}

TEST(DesReference, TripleDesWith192BitsMatchesThreeKey) {
    CompareWithReference<TVC_3des, CryptoPP::DES_EDE3>(192, Same, 2000, 4);
}

}  // namespace
}  // namespace vantrel

#endif  // VANTREL_HAVE_CRYPTOPP
