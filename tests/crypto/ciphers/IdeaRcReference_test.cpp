// TVC_idea, TVC_rc2, TVC_rc5 and TVC_rc6 against libcrypto++ on random keys and blocks, in
// both directions: the program's key size, the standard sizes, and every length the
// reference accepts.
#ifdef VANTREL_HAVE_CRYPTOPP

#include <gtest/gtest.h>
#include <cryptopp/idea.h>
#include <cryptopp/rc2.h>
#include <cryptopp/rc5.h>
#include <cryptopp/rc6.h>

#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "crypto/ciphers/Idea.h"
#include "crypto/ciphers/Rc2.h"
#include "crypto/ciphers/Rc5.h"
#include "crypto/ciphers/Rc6.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;
using RefPtr = std::unique_ptr<CryptoPP::BlockCipher>;

struct ReferenceCase {
    const char* name;
    std::function<std::unique_ptr<TVC_blockcipher>()> ours;
    // The reference keyed with the same bytes, one object per direction.
    std::function<RefPtr(const Bytes&)> encryption, decryption;
    // Key lengths in bytes, each with the number of random keys to try.
    std::vector<std::pair<std::size_t, int>> keys;
};

// The reference's RC6 takes only 16, 24 or 32 bytes through its checked keying; its public
// unchecked keying runs the same published schedule for any length, the 20 bytes included.
template <class R>
RefPtr Rc6Keyed(const Bytes& k) {
    auto r = std::make_unique<R>();
    r->UncheckedSetKey(k.data(), unsigned(k.size()), CryptoPP::g_nullNameValuePairs);
    return r;
}

template <class C>
std::function<std::unique_ptr<TVC_blockcipher>()> Ours() {
    return [] { return std::make_unique<C>(); };
}

// Each listed length gets `many` keys; every other length from 1 to `max` a few.
std::vector<std::pair<std::size_t, int>> Lengths(std::initializer_list<std::size_t> main, int many, std::size_t max) {
    std::vector<std::pair<std::size_t, int>> out;
    for (std::size_t n : main) out.emplace_back(n, many);
    for (std::size_t n = 1; n <= max; ++n) out.emplace_back(n, 4);
    return out;
}

std::vector<ReferenceCase> Cases() {
    return {
        {"IDEA", Ours<TVC_idea>(),
         [](const Bytes& k) { return RefPtr(new CryptoPP::IDEA::Encryption(k.data(), k.size())); },
         [](const Bytes& k) { return RefPtr(new CryptoPP::IDEA::Decryption(k.data(), k.size())); },
         {{16, 3000}}},
        {"RC2", Ours<TVC_rc2>(),
         [](const Bytes& k) { return RefPtr(new CryptoPP::RC2::Encryption(k.data(), k.size(), 1024)); },
         [](const Bytes& k) { return RefPtr(new CryptoPP::RC2::Decryption(k.data(), k.size(), 1024)); },
         Lengths({20, 16, 128}, 1000, 128)},
        {"RC5", Ours<TVC_rc5>(),
         [](const Bytes& k) { return RefPtr(new CryptoPP::RC5::Encryption(k.data(), k.size(), 12)); },
         [](const Bytes& k) { return RefPtr(new CryptoPP::RC5::Decryption(k.data(), k.size(), 12)); },
         Lengths({20, 16}, 1000, 255)},
        {"RC6", Ours<TVC_rc6>(),
         Rc6Keyed<CryptoPP::RC6::Encryption>, Rc6Keyed<CryptoPP::RC6::Decryption>,
         Lengths({20, 16, 24, 32}, 1000, 255)},
    };
}

class IdeaRcReference : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(IdeaRcReference, MatchesInBothDirections) {
    const auto& c = GetParam();
    std::mt19937 rng(1996);
    auto ours = c.ours();
    const std::size_t b = std::size_t(ours->ClassBlockSize() / 8);
    for (const auto& [length, count] : c.keys) {
        for (int k = 0; k < count; ++k) {
            Bytes key(length);
            for (auto& x : key) x = std::uint8_t(rng());
            ours->SetKey(key.data(), std::uint32_t(length * 8));
            const auto enc = c.encryption(key), dec = c.decryption(key);
            for (int i = 0; i < 4; ++i) {
                Bytes block(b), mine(b), theirs(b);
                for (auto& x : block) x = std::uint8_t(rng());
                ours->EncryptBlock(block.data(), mine.data());
                enc->ProcessBlock(block.data(), theirs.data());
                ASSERT_EQ(mine, theirs) << "encrypt, key of " << length << " bytes";
                ours->DecryptBlock(block.data(), mine.data());
                dec->ProcessBlock(block.data(), theirs.data());
                ASSERT_EQ(mine, theirs) << "decrypt, key of " << length << " bytes";
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Ciphers, IdeaRcReference, ::testing::ValuesIn(Cases()),
                         [](const auto& p) { return std::string(p.param.name); });

// Subkeys of 0 stand for 65536 in IDEA's multiplication, and their inverses must too: keys
// whose subkeys are mostly 0 or 0xFFFF, on blocks whose words are 0, 1 or 0xFFFF.
TEST(IdeaReference, MatchesOnTheEdgesOfTheMultiplication) {
    const std::vector<Bytes> keys = {Bytes(16, 0x00), Bytes(16, 0xFF),
                                     {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                     {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0}};
    const std::uint16_t words[] = {0x0000, 0x0001, 0xFFFF, 0x8000};
    TVC_idea ours;
    for (const auto& key : keys) {
        ours.SetKey(key.data(), 128);
        CryptoPP::IDEA::Encryption enc(key.data(), key.size());
        CryptoPP::IDEA::Decryption dec(key.data(), key.size());
        for (int n = 0; n < 256; ++n) {
            Bytes block(8), mine(8), theirs(8);
            for (int w = 0; w < 4; ++w) {
                const std::uint16_t v = words[(n >> (2 * w)) & 3];
                block[std::size_t(2 * w)] = std::uint8_t(v >> 8);
                block[std::size_t(2 * w + 1)] = std::uint8_t(v);
            }
            ours.EncryptBlock(block.data(), mine.data());
            enc.ProcessBlock(block.data(), theirs.data());
            ASSERT_EQ(mine, theirs) << "encrypt, block " << n;
            ours.DecryptBlock(block.data(), mine.data());
            dec.ProcessBlock(block.data(), theirs.data());
            ASSERT_EQ(mine, theirs) << "decrypt, block " << n;
        }
    }
}

}  // namespace
}  // namespace vantrel

#endif
