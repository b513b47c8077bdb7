#include "crypto/ciphers/Rijndael.h"

#include "base/Bytes.h"
#include "crypto/ciphers/tables/rijndael_tables.h"

namespace vantrel {

using bytes::LoadLE32;
using bytes::Rotl32;
using bytes::Rotr32;
using bytes::StoreLE32;
namespace t = tables::rijndael;

namespace {

constexpr std::uint8_t XTime(std::uint8_t x) { return std::uint8_t((x << 1) ^ ((x & 0x80) ? 0x1B : 0)); }

constexpr std::uint8_t Mul(std::uint8_t a, std::uint8_t b) {
    std::uint8_t r = 0;
    for (; b; b >>= 1, a = XTime(a))
        if (b & 1) r ^= a;
    return r;
}

// A state column is a little-endian word: row 0 in the low byte. Te[0][x] is what an input
// byte x of row 0 adds to its output column after SubBytes and MixColumns (coefficients
// 2, 1, 1, 3 down the column); the other rows' tables are the same word rotated by one byte
// per row. Td likewise for InvSubBytes and InvMixColumns (coefficients E, 9, D, B).
struct RoundTables {
    std::uint32_t e[4][256];
    std::uint32_t d[4][256];
};

constexpr RoundTables MakeRoundTables() {
    RoundTables rt{};
    for (int x = 0; x < 256; ++x) {
        const std::uint8_t s = t::SBOX[x], i = t::INV_SBOX[x];
        const std::uint32_t e = std::uint32_t(Mul(s, 2)) | std::uint32_t(s) << 8 | std::uint32_t(s) << 16 |
                                std::uint32_t(Mul(s, 3)) << 24;
        const std::uint32_t d = std::uint32_t(Mul(i, 14)) | std::uint32_t(Mul(i, 9)) << 8 |
                                std::uint32_t(Mul(i, 13)) << 16 | std::uint32_t(Mul(i, 11)) << 24;
        for (unsigned r = 0; r < 4; ++r) {
            rt.e[r][x] = Rotl32(e, 8 * r);
            rt.d[r][x] = Rotl32(d, 8 * r);
        }
    }
    return rt;
}

alignas(64) constexpr RoundTables kTables = MakeRoundTables();
constexpr const auto& Te0 = kTables.e[0];
constexpr const auto& Te1 = kTables.e[1];
constexpr const auto& Te2 = kTables.e[2];
constexpr const auto& Te3 = kTables.e[3];
constexpr const auto& Td0 = kTables.d[0];
constexpr const auto& Td1 = kTables.d[1];
constexpr const auto& Td2 = kTables.d[2];
constexpr const auto& Td3 = kTables.d[3];

static_assert(Te0[0] == 0xA56363C6u && Td0[0] == 0x50A7F451u, "round tables");

inline std::uint32_t B0(std::uint32_t w) { return w & 255; }
inline std::uint32_t B1(std::uint32_t w) { return (w >> 8) & 255; }
inline std::uint32_t B2(std::uint32_t w) { return (w >> 16) & 255; }
inline std::uint32_t B3(std::uint32_t w) { return w >> 24; }

std::uint32_t SubWord(std::uint32_t w) {
    return std::uint32_t(t::SBOX[B0(w)]) | std::uint32_t(t::SBOX[B1(w)]) << 8 |
           std::uint32_t(t::SBOX[B2(w)]) << 16 | std::uint32_t(t::SBOX[B3(w)]) << 24;
}

// InvMixColumns of one column: the Td tables undo the S-box, so feed them S-box outputs.
std::uint32_t InvMixColumn(std::uint32_t w) {
    return Td0[t::SBOX[B0(w)]] ^ Td1[t::SBOX[B1(w)]] ^ Td2[t::SBOX[B2(w)]] ^ Td3[t::SBOX[B3(w)]];
}

}  // namespace

bool TVC_rijndael::HasAesInstructions() {
#if VANTREL_RIJNDAEL_AESNI
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("aes") && __builtin_cpu_supports("sse4.1");
    }();
    return has;
#else
    return false;
#endif
}

void TVC_rijndael::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    const std::uint32_t n = sizeBits / 8;
    const int nk = n <= 16 ? 4 : n <= 24 ? 6 : 8;
    rounds_ = nk + 6;
    const int words = 4 * (rounds_ + 1);

    KeyTable<std::uint8_t, 32> padded;
    std::memcpy(padded.v, key, n);
    std::uint32_t* w = EncKey.v;
    for (int i = 0; i < nk; ++i) w[i] = LoadLE32(padded.v + 4 * i);
    // With row 0 in the low byte, RotWord is a right rotation and Rcon goes into the low byte.
    for (int i = nk; i < words; ++i) {
        std::uint32_t x = w[i - 1];
        if (i % nk == 0) x = SubWord(Rotr32(x, 8)) ^ t::RCON[i / nk - 1];
        else if (nk == 8 && i % nk == 4) x = SubWord(x);
        w[i] = w[i - nk] ^ x;
    }

    // Equivalent inverse cipher: the round keys in reverse order, the inner ones passed
    // through InvMixColumns.
    std::uint32_t* d = DecKey.v;
    for (int r = 0; r <= rounds_; ++r)
        for (int j = 0; j < 4; ++j) {
            const std::uint32_t k = w[4 * (rounds_ - r) + j];
            d[4 * r + j] = (r == 0 || r == rounds_) ? k : InvMixColumn(k);
        }

    aesni_ = HasAesInstructions() && !forceTables_.load(std::memory_order_relaxed);
}

void TVC_rijndael::CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out,
                                    std::size_t blocks) const {
#if VANTREL_RIJNDAEL_AESNI
    if (aesni_) return CbcEncryptAesni(chain, in, out, blocks);
#endif
    std::uint8_t x[16];
    std::memcpy(x, chain, 16);
    for (; blocks > 0; --blocks, in += 16, out += 16) {
        for (int i = 0; i < 16; ++i) x[i] ^= in[i];
        EncryptTables(x, x);
        std::memcpy(out, x, 16);
    }
    std::memcpy(chain, x, 16);
}

void TVC_rijndael::CbcDecryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out,
                                    std::size_t blocks) const {
#if VANTREL_RIJNDAEL_AESNI
    if (aesni_) return CbcDecryptAesni(chain, in, out, blocks);
#endif
    std::uint8_t c[16], p[16];
    for (; blocks > 0; --blocks, in += 16, out += 16) {
        std::memcpy(c, in, 16);
        DecryptTables(c, p);
        for (int i = 0; i < 16; ++i) out[i] = p[i] ^ chain[i];
        std::memcpy(chain, c, 16);
    }
}

void TVC_rijndael::EncryptTables(const std::uint8_t* in, std::uint8_t* out) const {
    const std::uint32_t* rk = EncKey.v;
    std::uint32_t s0 = LoadLE32(in) ^ rk[0], s1 = LoadLE32(in + 4) ^ rk[1];
    std::uint32_t s2 = LoadLE32(in + 8) ^ rk[2], s3 = LoadLE32(in + 12) ^ rk[3];
    std::uint32_t t0, t1, t2, t3;
    // Output column j takes row r from input column j + r (ShiftRows).
#define VANTREL_ENC_ROUND(a0, a1, a2, a3, b0, b1, b2, b3, k)            \
    b0 = Te0[B0(a0)] ^ Te1[B1(a1)] ^ Te2[B2(a2)] ^ Te3[B3(a3)] ^ (k)[0]; \
    b1 = Te0[B0(a1)] ^ Te1[B1(a2)] ^ Te2[B2(a3)] ^ Te3[B3(a0)] ^ (k)[1]; \
    b2 = Te0[B0(a2)] ^ Te1[B1(a3)] ^ Te2[B2(a0)] ^ Te3[B3(a1)] ^ (k)[2]; \
    b3 = Te0[B0(a3)] ^ Te1[B1(a0)] ^ Te2[B2(a1)] ^ Te3[B3(a2)] ^ (k)[3]
    // Rounds come in pairs (10, 12 or 14 in all): the loop does pairs, the last pair ends
    // with the S-box-only round.
    const std::uint32_t* const last = rk + 4 * rounds_;
    for (rk += 4; rk + 4 < last; rk += 8) {
        VANTREL_ENC_ROUND(s0, s1, s2, s3, t0, t1, t2, t3, rk);
        VANTREL_ENC_ROUND(t0, t1, t2, t3, s0, s1, s2, s3, rk + 4);
    }
    VANTREL_ENC_ROUND(s0, s1, s2, s3, t0, t1, t2, t3, rk);
#undef VANTREL_ENC_ROUND
    const auto sb = [](std::uint32_t a0, std::uint32_t a1, std::uint32_t a2, std::uint32_t a3) {
        return std::uint32_t(t::SBOX[B0(a0)]) | std::uint32_t(t::SBOX[B1(a1)]) << 8 |
               std::uint32_t(t::SBOX[B2(a2)]) << 16 | std::uint32_t(t::SBOX[B3(a3)]) << 24;
    };
    StoreLE32(out, sb(t0, t1, t2, t3) ^ last[0]);
    StoreLE32(out + 4, sb(t1, t2, t3, t0) ^ last[1]);
    StoreLE32(out + 8, sb(t2, t3, t0, t1) ^ last[2]);
    StoreLE32(out + 12, sb(t3, t0, t1, t2) ^ last[3]);
}

void TVC_rijndael::DecryptTables(const std::uint8_t* in, std::uint8_t* out) const {
    const std::uint32_t* rk = DecKey.v;
    std::uint32_t s0 = LoadLE32(in) ^ rk[0], s1 = LoadLE32(in + 4) ^ rk[1];
    std::uint32_t s2 = LoadLE32(in + 8) ^ rk[2], s3 = LoadLE32(in + 12) ^ rk[3];
    std::uint32_t t0, t1, t2, t3;
    // Output column j takes row r from input column j - r (InvShiftRows).
#define VANTREL_DEC_ROUND(a0, a1, a2, a3, b0, b1, b2, b3, k)            \
    b0 = Td0[B0(a0)] ^ Td1[B1(a3)] ^ Td2[B2(a2)] ^ Td3[B3(a1)] ^ (k)[0]; \
    b1 = Td0[B0(a1)] ^ Td1[B1(a0)] ^ Td2[B2(a3)] ^ Td3[B3(a2)] ^ (k)[1]; \
    b2 = Td0[B0(a2)] ^ Td1[B1(a1)] ^ Td2[B2(a0)] ^ Td3[B3(a3)] ^ (k)[2]; \
    b3 = Td0[B0(a3)] ^ Td1[B1(a2)] ^ Td2[B2(a1)] ^ Td3[B3(a0)] ^ (k)[3]
    const std::uint32_t* const last = rk + 4 * rounds_;
    for (rk += 4; rk + 4 < last; rk += 8) {
        VANTREL_DEC_ROUND(s0, s1, s2, s3, t0, t1, t2, t3, rk);
        VANTREL_DEC_ROUND(t0, t1, t2, t3, s0, s1, s2, s3, rk + 4);
    }
    VANTREL_DEC_ROUND(s0, s1, s2, s3, t0, t1, t2, t3, rk);
#undef VANTREL_DEC_ROUND
    const auto isb = [](std::uint32_t a0, std::uint32_t a1, std::uint32_t a2, std::uint32_t a3) {
        return std::uint32_t(t::INV_SBOX[B0(a0)]) | std::uint32_t(t::INV_SBOX[B1(a1)]) << 8 |
               std::uint32_t(t::INV_SBOX[B2(a2)]) << 16 | std::uint32_t(t::INV_SBOX[B3(a3)]) << 24;
    };
    StoreLE32(out, isb(t0, t3, t2, t1) ^ last[0]);
    StoreLE32(out + 4, isb(t1, t0, t3, t2) ^ last[1]);
    StoreLE32(out + 8, isb(t2, t1, t0, t3) ^ last[2]);
    StoreLE32(out + 12, isb(t3, t2, t1, t0) ^ last[3]);
}

}  // namespace vantrel
