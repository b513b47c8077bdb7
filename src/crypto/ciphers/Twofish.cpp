#include "crypto/ciphers/Twofish.h"

#include <array>
#include <memory>

#include "base/Bytes.h"
#include "crypto/ciphers/SelfTest.h"
#include "crypto/ciphers/tables/twofish_tables.h"

namespace vantrel {

using bytes::LoadLE32;
using bytes::Rotl32;
using bytes::Rotr32;
using bytes::StoreLE32;
namespace t = tables::twofish;

namespace {

constexpr std::uint8_t GfMul(std::uint8_t a, std::uint8_t b, std::uint16_t poly) {
    std::uint16_t x = a, r = 0;
    for (; b; b >>= 1) {
        if (b & 1) r ^= x;
        x <<= 1;
        if (x & 0x100) x ^= poly;
    }
    return std::uint8_t(r);
}

// Column j of the MDS matrix times each byte value, as a little-endian word (row i in byte i).
constexpr std::array<std::array<std::uint32_t, 256>, 4> MakeMdsColumns() {
    std::array<std::array<std::uint32_t, 256>, 4> m{};
    for (std::size_t j = 0; j < 4; ++j)
        for (unsigned y = 0; y < 256; ++y) {
            std::uint32_t w = 0;
            for (unsigned i = 0; i < 4; ++i)
                w |= std::uint32_t(GfMul(t::MDS[4 * i + j], std::uint8_t(y), t::MDS_POLY[0])) << (8 * i);
            m[j][y] = w;
        }
    return m;
}
constexpr auto kMdsCol = MakeMdsColumns();

// Which permutation each byte position passes through at each stage of h: the stage keyed by
// L[3] (256-bit keys only), by L[2] (192 and 256), by L[1], by L[0], and the last one.
constexpr const std::uint8_t* kQ[5][4] = {
    {t::Q1, t::Q0, t::Q0, t::Q1},
    {t::Q1, t::Q1, t::Q0, t::Q0},
    {t::Q0, t::Q1, t::Q0, t::Q1},
    {t::Q0, t::Q0, t::Q1, t::Q1},
    {t::Q1, t::Q0, t::Q1, t::Q0},
};

inline std::uint8_t Byte(std::uint32_t w, unsigned j) { return std::uint8_t(w >> (8 * j)); }

// Byte j of h before the MDS multiplication; L holds k words.
std::uint8_t HByte(unsigned j, std::uint8_t y, const std::uint32_t* L, unsigned k) {
    if (k == 4) y = kQ[0][j][y] ^ Byte(L[3], j);
    if (k >= 3) y = kQ[1][j][y] ^ Byte(L[2], j);
    y = kQ[2][j][y] ^ Byte(L[1], j);
    y = kQ[3][j][y] ^ Byte(L[0], j);
    return kQ[4][j][y];
}

std::uint32_t H(std::uint32_t x, const std::uint32_t* L, unsigned k) {
    std::uint32_t z = 0;
    for (unsigned j = 0; j < 4; ++j) z ^= kMdsCol[j][HByte(j, Byte(x, j), L, k)];
    return z;
}

// One S-box key word from eight key bytes through the Reed-Solomon matrix.
std::uint32_t RsWord(const std::uint8_t* m) {
    std::uint32_t s = 0;
    for (unsigned i = 0; i < 4; ++i) {
        std::uint8_t v = 0;
        for (unsigned c = 0; c < 8; ++c) v ^= GfMul(t::RS[8 * i + c], m[c], t::RS_POLY[0]);
        s |= std::uint32_t(v) << (8 * i);
    }
    return s;
}

}  // namespace

void TVC_twofish::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    const std::uint32_t n = sizeBits / 8;
    const unsigned k = n <= 16 ? 2 : n <= 24 ? 3 : 4;
    KeyTable<std::uint8_t, 32> m;
    std::memcpy(m.v, key, n);

    KeyTable<std::uint32_t, 4> me, mo, s;
    for (unsigned i = 0; i < k; ++i) {
        me[i] = LoadLE32(m.v + 8 * i);
        mo[i] = LoadLE32(m.v + 8 * i + 4);
        s[k - 1 - i] = RsWord(m.v + 8 * i);
    }

    constexpr std::uint32_t rho = 0x01010101;
    for (std::uint32_t i = 0; i < 20; ++i) {
        const std::uint32_t a = H(2 * i * rho, me.v, k);
        const std::uint32_t b = Rotl32(H((2 * i + 1) * rho, mo.v, k), 8);
        K[2 * i] = a + b;
        K[2 * i + 1] = Rotl32(a + 2 * b, 9);
    }

    for (unsigned j = 0; j < 4; ++j)
        for (unsigned x = 0; x < 256; ++x) SBox[j][x] = kMdsCol[j][HByte(j, std::uint8_t(x), s.v, k)];
}

// Two rounds per step: the first feeds (a, b) into (c, d), the second (c, d) into (a, b), so
// the halves never swap places.
#define TWOFISH_ENC(r, a, b, c, d)                           \
    {                                                        \
        const std::uint32_t t0 = G0(a), t1 = G1(b);          \
        c = Rotr32(c ^ (t0 + t1 + K[2 * (r) + 8]), 1);       \
        d = Rotl32(d, 1) ^ (t0 + 2 * t1 + K[2 * (r) + 9]);   \
    }

#define TWOFISH_DEC(r, a, b, c, d)                           \
    {                                                        \
        const std::uint32_t t0 = G0(a), t1 = G1(b);          \
        c = Rotl32(c, 1) ^ (t0 + t1 + K[2 * (r) + 8]);       \
        d = Rotr32(d ^ (t0 + 2 * t1 + K[2 * (r) + 9]), 1);   \
    }

void TVC_twofish::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t a = LoadLE32(in) ^ K[0], b = LoadLE32(in + 4) ^ K[1], c = LoadLE32(in + 8) ^ K[2],
                  d = LoadLE32(in + 12) ^ K[3];
    TWOFISH_ENC(0, a, b, c, d)
    TWOFISH_ENC(1, c, d, a, b)
    TWOFISH_ENC(2, a, b, c, d)
    TWOFISH_ENC(3, c, d, a, b)
    TWOFISH_ENC(4, a, b, c, d)
    TWOFISH_ENC(5, c, d, a, b)
    TWOFISH_ENC(6, a, b, c, d)
    TWOFISH_ENC(7, c, d, a, b)
    TWOFISH_ENC(8, a, b, c, d)
    TWOFISH_ENC(9, c, d, a, b)
    TWOFISH_ENC(10, a, b, c, d)
    TWOFISH_ENC(11, c, d, a, b)
    TWOFISH_ENC(12, a, b, c, d)
    TWOFISH_ENC(13, c, d, a, b)
    TWOFISH_ENC(14, a, b, c, d)
    TWOFISH_ENC(15, c, d, a, b)
    StoreLE32(out, c ^ K[4]);
    StoreLE32(out + 4, d ^ K[5]);
    StoreLE32(out + 8, a ^ K[6]);
    StoreLE32(out + 12, b ^ K[7]);
}

void TVC_twofish::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t c = LoadLE32(in) ^ K[4], d = LoadLE32(in + 4) ^ K[5], a = LoadLE32(in + 8) ^ K[6],
                  b = LoadLE32(in + 12) ^ K[7];
    TWOFISH_DEC(15, c, d, a, b)
    TWOFISH_DEC(14, a, b, c, d)
    TWOFISH_DEC(13, c, d, a, b)
    TWOFISH_DEC(12, a, b, c, d)
    TWOFISH_DEC(11, c, d, a, b)
    TWOFISH_DEC(10, a, b, c, d)
    TWOFISH_DEC(9, c, d, a, b)
    TWOFISH_DEC(8, a, b, c, d)
    TWOFISH_DEC(7, c, d, a, b)
    TWOFISH_DEC(6, a, b, c, d)
    TWOFISH_DEC(5, c, d, a, b)
    TWOFISH_DEC(4, a, b, c, d)
    TWOFISH_DEC(3, c, d, a, b)
    TWOFISH_DEC(2, a, b, c, d)
    TWOFISH_DEC(1, c, d, a, b)
    TWOFISH_DEC(0, a, b, c, d)
    StoreLE32(out, a ^ K[0]);
    StoreLE32(out + 4, b ^ K[1]);
    StoreLE32(out + 8, c ^ K[2]);
    StoreLE32(out + 12, d ^ K[3]);
}

#undef TWOFISH_ENC
#undef TWOFISH_DEC

void TVC_twofish::IteratedTest(std::uint32_t keyBits, std::uint8_t result[16]) {
    const std::size_t n = keyBits / 8;
    std::uint8_t key[32] = {}, next[32], block[16] = {};
    auto c = std::make_unique<TVC_twofish>();
    for (int step = 0; step < 49; ++step) {
        c->SetKey(key, keyBits);
        std::memcpy(next, block, 16);
        std::memcpy(next + 16, key, n - 16);
        c->EncryptBlock(block, block);
        c->Wipe();
        std::memcpy(key, next, n);
    }
    std::memcpy(result, block, 16);
}

bool TVC_twofish::RunSelfTest() const {
    static constexpr struct {
        std::uint32_t bits;
        const char* result;
    } kExpected[] = {
        {128, "5D9D4EEFFA9151575524F115815A12E0"},
        {192, "E75449212BEEF9F4A390BD860A640941"},
        {256, "37FE26FF1CF66175F5DDF4C33B97A205"},
    };
    try {
        for (const auto& e : kExpected) {
            std::uint8_t got[16];
            IteratedTest(e.bits, got);
            if (HexBytes(e.result) != std::vector<std::uint8_t>(got, got + 16)) return false;
        }
    } catch (const EVC_cipher&) {
        return false;
    }
    return true;
}

}  // namespace vantrel
