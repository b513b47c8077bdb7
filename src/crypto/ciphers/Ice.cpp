#include "crypto/ciphers/Ice.h"

#include <algorithm>

#include "base/Bytes.h"
#include "crypto/ciphers/tables/ice_tables.h"

namespace vantrel {

using bytes::LoadBE32;
using bytes::StoreBE32;
namespace t = tables::ice;

namespace {

// Product in GF(2^8) reduced by the degree-8 polynomial m.
unsigned GfMult(unsigned a, unsigned b, unsigned m) {
    unsigned res = 0;
    while (b) {
        if (b & 1) res ^= a;
        a <<= 1;
        b >>= 1;
        if (a >= 256) a ^= m;
    }
    return res;
}

unsigned GfExp7(unsigned b, unsigned m) {
    if (b == 0) return 0;
    unsigned x = GfMult(b, b, m);  // b^2
    x = GfMult(b, x, m);           // b^3
    x = GfMult(x, x, m);           // b^6
    return GfMult(b, x, m);        // b^7
}

std::uint32_t Permute(std::uint32_t x) {
    std::uint32_t res = 0;
    for (int i = 0; x; ++i, x >>= 1)
        if (x & 1) res |= t::PBOX[i];
    return res;
}

// Each entry already carries the P-box permutation, so a round is four look-ups and an or:
// the four S-boxes feed disjoint output bits.
struct IceSBoxes {
    std::uint32_t s[4][1024];
    IceSBoxes() {
        for (int box = 0; box < 4; ++box)
            for (unsigned x = 0; x < 1024; ++x) {
                const unsigned col = (x >> 1) & 0xFF;
                const unsigned row = (x & 1) | ((x & 0x200) >> 8);
                const unsigned v = GfExp7(col ^ t::SXOR[box * 4 + row], t::SMOD[box * 4 + row]);
                s[box][x] = Permute(std::uint32_t(v) << (24 - 8 * box));
            }
    }
};

// Built by the first ICE object of the process; the local static makes that thread-safe.
const IceSBoxes& SharedSBoxes() {
    static const IceSBoxes boxes;
    return boxes;
}

}  // namespace

TIceCore::TIceCore(int level)
    : level_(level), rounds_(level == 0 ? 8 : 16 * level), sbox_(SharedSBoxes().s) {}

inline std::uint32_t TIceCore::F(std::uint32_t r, const std::uint32_t* sk) const {
    // The expansion makes two 20-bit values of two 10-bit groups each, out of overlapping
    // bits of the half. Taken group by group, each S-box index is only a few operations
    // away from r; the key side (off the data path) is split to match, and the 10-bit salt
    // halves do the masking of the swap.
    const std::uint32_t a1 = bytes::Rotl32(r, 8), a0 = r >> 16, b1 = r >> 8, b0 = r;
    // Where a salt bit is set, the two values swap that bit.
    const std::uint32_t swap1 = (sk[2] >> 10) & (a1 ^ b1), swap0 = (sk[2] & 0x3FF) & (a0 ^ b0);
    const std::uint32_t k0 = sk[0], k1 = sk[1];
    return sbox_[0][((a1 & 0x3FF) ^ (k0 >> 10)) ^ swap1] | sbox_[1][((a0 & 0x3FF) ^ (k0 & 0x3FF)) ^ swap0] |
           sbox_[2][((b1 & 0x3FF) ^ (k1 >> 10)) ^ swap1] | sbox_[3][((b0 & 0x3FF) ^ (k1 & 0x3FF)) ^ swap0];
}

void TIceCore::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t l = LoadBE32(in), r = LoadBE32(in + 4);
    const std::uint32_t* k = RoundKeys.v;
    const std::uint32_t* const end = k + 3 * rounds_;
    // Every level has a multiple of 8 rounds.
    for (; k != end; k += 24) {
        l ^= F(r, k);
        r ^= F(l, k + 3);
        l ^= F(r, k + 6);
        r ^= F(l, k + 9);
        l ^= F(r, k + 12);
        r ^= F(l, k + 15);
        l ^= F(r, k + 18);
        r ^= F(l, k + 21);
    }
    StoreBE32(out, r);
    StoreBE32(out + 4, l);
}

void TIceCore::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t l = LoadBE32(in), r = LoadBE32(in + 4);
    const std::uint32_t* const begin = RoundKeys.v;
    for (const std::uint32_t* k = begin + 3 * rounds_; k != begin; k -= 24) {
        l ^= F(r, k - 3);
        r ^= F(l, k - 6);
        l ^= F(r, k - 9);
        r ^= F(l, k - 12);
        l ^= F(r, k - 15);
        r ^= F(l, k - 18);
        l ^= F(r, k - 21);
        r ^= F(l, k - 24);
    }
    StoreBE32(out, r);
    StoreBE32(out + 4, l);
}

// Eight round keys from one group of four 16-bit key words, with the word order of each
// round given by rot. The words are rotated as they are read, so a second call on the same
// group continues where the first one stopped.
void TIceCore::BuildRoundKeys(std::uint16_t kb[4], int first, const std::uint8_t* rot) {
    for (int i = 0; i < 8; ++i) {
        const unsigned kr = rot[i];
        std::uint32_t* sk = &RoundKeys[std::size_t(3 * (first + i))];
        sk[0] = sk[1] = sk[2] = 0;
        for (int j = 0; j < 15; ++j) {
            std::uint32_t& cur = sk[j % 3];
            for (unsigned k = 0; k < 4; ++k) {
                std::uint16_t& w = kb[(kr + k) & 3];
                const unsigned bit = w & 1u;
                cur = (cur << 1) | bit;
                w = std::uint16_t((w >> 1) | ((bit ^ 1u) << 15));
            }
        }
    }
}

void TIceCore::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    // Shorter keys are extended with zero bytes to the level's whole key.
    std::uint8_t k[16] = {};
    std::memcpy(k, key, std::min<std::size_t>(sizeBits / 8, sizeof k));
    std::uint16_t kb[4];
    const int groups = level_ == 0 ? 1 : level_;
    for (int g = 0; g < groups; ++g) {
        // The first 16-bit word of the group is the last of kb.
        for (int j = 0; j < 4; ++j) kb[3 - j] = bytes::LoadBE16(k + 8 * g + 2 * j);
        BuildRoundKeys(kb, 8 * g, t::KEYROT);
        if (level_ != 0) BuildRoundKeys(kb, rounds_ - 8 - 8 * g, t::KEYROT + 8);
    }
    SecureZero(k, sizeof k);
    SecureZero(kb, sizeof kb);
}

VANTREL_ICE_INSTANCES(template)

}  // namespace vantrel
