#include "crypto/ciphers/Idea.h"

#include "base/Bytes.h"

namespace vantrel {

using bytes::LoadBE16;
using bytes::StoreBE16;

namespace {

// Multiplication modulo 65537 with 0 standing for 65536. Both operands are below 2^16, so
// the product fits 32 bits. Modulo 65537, 2^16 is -1, so the product is lo - hi, plus 65537
// when that borrows (which adds 1 modulo 2^16). The product is 0 exactly when an operand
// stands for 65536 = -1; then the result is the other operand negated, 1 - b modulo 2^16 (1
// when both are 0), and 1 - a - b covers all three. Both choices go through masks: whether
// lo - hi borrows is as good as random, and a branch on it would miss half the time.
inline std::uint32_t Mul(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t p = a * b;
    const std::uint32_t lo = p & 0xFFFF, hi = p >> 16;
    // Written so that the borrow is added straight from the carry flag (sub, adc).
    const std::uint32_t r = lo - hi + (lo < hi);
    const std::uint32_t zero = 0u - std::uint32_t(p == 0);
    return (r | ((1 - a - b) & zero)) & 0xFFFF;
}

// x^-1 modulo 65537 by Fermat (x^65535), with 0 standing for 65536, which is its own inverse.
std::uint32_t MulInverse(std::uint32_t x) {
    std::uint64_t base = x == 0 ? 65536 : x, result = 1;
    for (std::uint32_t e = 65535; e != 0; e >>= 1) {
        if (e & 1) result = result * base % 65537;
        base = base * base % 65537;
    }
    return std::uint32_t(result) & 0xFFFF;
}

inline std::uint32_t AddInverse(std::uint32_t x) { return (0x10000 - x) & 0xFFFF; }

}  // namespace

inline void TVC_idea::CryptWords(const Schedule& k, std::uint32_t x[4]) {
    std::uint32_t x1 = x[0], x2 = x[1], x3 = x[2], x4 = x[3];
    const std::uint32_t* z = k.v;
    for (int round = 0; round < 8; ++round, z += 6) {
        x1 = Mul(x1, z[0]);
        x2 = (x2 + z[1]) & 0xFFFF;
        x3 = (x3 + z[2]) & 0xFFFF;
        x4 = Mul(x4, z[3]);
        std::uint32_t e = Mul(x1 ^ x3, z[4]);
        const std::uint32_t f = Mul((e + (x2 ^ x4)) & 0xFFFF, z[5]);
        e = (e + f) & 0xFFFF;
        x1 ^= f;
        x4 ^= e;
        // The middle words change places after every round.
        const std::uint32_t t = x2 ^ e;
        x2 = x3 ^ f;
        x3 = t;
    }
    // The output transformation undoes the last exchange.
    x[0] = Mul(x1, z[0]);
    x[1] = (x3 + z[1]) & 0xFFFF;
    x[2] = (x2 + z[2]) & 0xFFFF;
    x[3] = Mul(x4, z[3]);
}

void TVC_idea::Crypt(const Schedule& k, const std::uint8_t* in, std::uint8_t* out) {
    std::uint32_t x[4] = {LoadBE16(in), LoadBE16(in + 2), LoadBE16(in + 4), LoadBE16(in + 6)};
    CryptWords(k, x);
    for (int i = 0; i < 4; ++i) StoreBE16(out + 2 * i, std::uint16_t(x[i]));
}

// CBC with the block and the chain as words in registers from one block to the next; through
// bytes in memory, the 16-bit stores of one block and the wide reload of the next would wait
// on each other.
void TVC_idea::CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out,
                                std::size_t blocks) const {
    std::uint32_t x[4];
    for (int i = 0; i < 4; ++i) x[i] = LoadBE16(chain + 2 * i);
    for (; blocks > 0; --blocks, in += 8, out += 8) {
        for (int i = 0; i < 4; ++i) x[i] ^= LoadBE16(in + 2 * i);
        CryptWords(EncKey, x);
        for (int i = 0; i < 4; ++i) StoreBE16(out + 2 * i, std::uint16_t(x[i]));
    }
    for (int i = 0; i < 4; ++i) StoreBE16(chain + 2 * i, std::uint16_t(x[i]));
}

void TVC_idea::CbcDecryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out,
                                std::size_t blocks) const {
    std::uint32_t c[4];
    for (int i = 0; i < 4; ++i) c[i] = LoadBE16(chain + 2 * i);
    for (; blocks > 0; --blocks, in += 8, out += 8) {
        std::uint32_t x[4], next[4];
        for (int i = 0; i < 4; ++i) x[i] = next[i] = LoadBE16(in + 2 * i);
        CryptWords(DecKey, x);
        for (int i = 0; i < 4; ++i) {
            StoreBE16(out + 2 * i, std::uint16_t(x[i] ^ c[i]));
            c[i] = next[i];
        }
    }
    for (int i = 0; i < 4; ++i) StoreBE16(chain + 2 * i, std::uint16_t(c[i]));
}

void TVC_idea::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    std::uint8_t k[16] = {};
    const std::uint32_t n = sizeBits / 8;
    std::memcpy(k, key, n < 16 ? n : 16);
    std::uint64_t hi = 0, lo = 0;
    for (int i = 0; i < 8; ++i) {
        hi = (hi << 8) | k[i];
        lo = (lo << 8) | k[i + 8];
    }
    SecureZero(k, sizeof k);
    // Eight subkeys from the 128-bit key, then the key rotated left by 25 bits, and so on.
    for (int i = 0; i < kSubkeys; i += 8) {
        for (int j = 0; j < 8 && i + j < kSubkeys; ++j) {
            const std::uint64_t w = j < 4 ? hi : lo;
            EncKey[std::size_t(i + j)] = std::uint32_t(w >> (48 - 16 * (j & 3))) & 0xFFFF;
        }
        const std::uint64_t h = (hi << 25) | (lo >> 39);
        lo = (lo << 25) | (hi >> 39);
        hi = h;
    }
    hi = lo = 0;

    // Decryption walks the rounds backwards with the inverses of the same subkeys; the
    // additive pair changes places except next to the output transformation.
    const auto& e = EncKey;
    auto& d = DecKey;
    for (int r = 0; r <= 8; ++r) {
        const std::size_t src = std::size_t(6 * (8 - r)), dst = std::size_t(6 * r);
        const bool outer = r == 0 || r == 8;
        d[dst] = MulInverse(e[src]);
        d[dst + 1] = AddInverse(e[src + (outer ? 1 : 2)]);
        d[dst + 2] = AddInverse(e[src + (outer ? 2 : 1)]);
        d[dst + 3] = MulInverse(e[src + 3]);
        if (r < 8) {
            d[dst + 4] = e[src - 2];
            d[dst + 5] = e[src - 1];
        }
    }
}

}  // namespace vantrel
