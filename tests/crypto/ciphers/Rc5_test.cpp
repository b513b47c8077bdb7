// RC5 and RC6 beyond their known answers: the key intake they share, c little-endian key
// words with the last one completed by zero bytes.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "crypto/ciphers/Rc5.h"
#include "crypto/ciphers/Rc6.h"

namespace vantrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

template <class C>
class RcKeyWords : public ::testing::Test {
protected:
    // Encrypts one fixed block under the first `bytes` bytes of `key`.
    Bytes Encrypt(const Bytes& key, std::uint32_t bytes) {
        C c;
        c.SetKey(key.data(), bytes * 8);
        Bytes block(std::size_t(c.ClassBlockSize() / 8), 0x33), out(block.size());
        c.EncryptBlock(block.data(), out.data());
        return out;
    }
};

using RcCiphers = ::testing::Types<TVC_rc5, TVC_rc6>;
TYPED_TEST_SUITE(RcKeyWords, RcCiphers);

// A partial last word is completed with zero bytes, so the key equals itself padded to the
// word; a whole extra zero word is one word more and a different key. The 256-byte rows have
// more key words (64) than either table, so the mixing runs 3 x 64 steps.
TYPED_TEST(RcKeyWords, CountWholeLittleEndianWords) {
    struct Row {
        std::uint32_t shorter, longer;
        bool same;
    };
    const Row rows[] = {
        {1, 4, true}, {17, 20, true}, {19, 20, true}, {253, 256, true},
        {16, 20, false}, {20, 24, false}, {252, 256, false},
    };
    std::mt19937 rng(1995);
    for (const auto& row : rows) {
        Bytes key(256, 0);
        for (std::size_t i = 0; i < row.shorter; ++i) key[i] = std::uint8_t(rng() | 1);
        const Bytes a = this->Encrypt(key, row.shorter), b = this->Encrypt(key, row.longer);
        EXPECT_EQ(a == b, row.same) << row.shorter << " against " << row.longer << " bytes";
    }
}

}  // namespace
}  // namespace vantrel
