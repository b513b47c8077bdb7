#include "crypto/ciphers/Mars.h"

#include <array>

#include "base/Bytes.h"
#include "crypto/ciphers/tables/mars_tables.h"

namespace vantrel {

using bytes::LoadLE32;
using bytes::Rotl32;
using bytes::Rotr32;
using bytes::StoreLE32;

namespace {

// The E-function indexes all 512 words with 9 bits; the mixing rounds use the two halves.
// One contiguous copy keeps both on the same cache lines.
constexpr std::array<std::uint32_t, 512> MakeS() {
    std::array<std::uint32_t, 512> s{};
    for (int i = 0; i < 256; ++i) {
        s[std::size_t(i)] = tables::mars::S0[i];
        s[std::size_t(i + 256)] = tables::mars::S1[i];
    }
    return s;
}
alignas(64) constexpr std::array<std::uint32_t, 512> kS = MakeS();
static_assert(kS[265] == tables::mars::B[0] && kS[268] == tables::mars::B[3]);
constexpr const std::uint32_t* kS0 = kS.data();
constexpr const std::uint32_t* kS1 = kS.data() + 256;

inline std::uint32_t B0(std::uint32_t x) { return x & 255; }
inline std::uint32_t B1(std::uint32_t x) { return (x >> 8) & 255; }
inline std::uint32_t B2(std::uint32_t x) { return (x >> 16) & 255; }
inline std::uint32_t B3(std::uint32_t x) { return x >> 24; }

// E-function on the (already rotated by 13) core word; gives L, M and R.
inline void EFunc(std::uint32_t in, std::uint32_t k1, std::uint32_t k2, std::uint32_t& l, std::uint32_t& m,
                  std::uint32_t& r) {
    m = in + k1;
    r = Rotl32(Rotl32(in, 13) * k2, 5);
    l = kS[m & 511] ^ r;
    m = Rotl32(m, r & 31);
    r = Rotl32(r, 5);
    l = Rotl32(l ^ r, r & 31);
}

}  // namespace

std::uint32_t MarsFixMask(std::uint32_t w) {
    auto runs10 = [](std::uint32_t v) {
        std::uint32_t a = v & (v >> 1);
        a &= a >> 2;
        a &= a >> 4;
        return (a >> 1) & a & (a >> 2);
    };
    const std::uint32_t c = runs10(w) | runs10(~w);
    std::uint32_t m = c;
    for (unsigned s = 1; s <= 9; ++s) m |= c << s;
    return m & (~w ^ (w << 1)) & (~w ^ (w >> 1)) & ~std::uint32_t(3);
}

// Rounds rotate the four words by one name each; the macros take the names in round order so
// that nothing is moved. After 8 + 16 + 8 rounds the names are back where they started.
#define MARS_FWD_MIX(i, a, b, c, d)  \
    b = (b ^ kS0[B0(a)]) + kS1[B1(a)]; \
    c += kS0[B2(a)];                 \
    d ^= kS1[B3(a)];                 \
    a = Rotr32(a, 24);               \
    if ((i) == 0 || (i) == 4) a += d; \
    if ((i) == 1 || (i) == 5) a += b;

#define MARS_FWD_UNMIX(i, a, b, c, d) \
    if ((i) == 1 || (i) == 5) a -= b;  \
    if ((i) == 0 || (i) == 4) a -= d;  \
    a = Rotl32(a, 24);                \
    d ^= kS1[B3(a)];                  \
    c -= kS0[B2(a)];                  \
    b = (b - kS1[B1(a)]) ^ kS0[B0(a)];

#define MARS_CORE(i, a, b, c, d)                           \
    {                                                      \
        std::uint32_t l, m, r;                             \
        EFunc(a, k[2 * (i) + 4], k[2 * (i) + 5], l, m, r); \
        a = Rotl32(a, 13);                                 \
        c += m;                                            \
        if ((i) < 8) {                                     \
            b += l;                                        \
            d ^= r;                                        \
        } else {                                           \
            d += l;                                        \
            b ^= r;                                        \
        }                                                  \
    }

#define MARS_CORE_INV(i, a, b, c, d)                       \
    {                                                      \
        std::uint32_t l, m, r;                             \
        a = Rotr32(a, 13);                                 \
        EFunc(a, k[2 * (i) + 4], k[2 * (i) + 5], l, m, r); \
        c -= m;                                            \
        if ((i) < 8) {                                     \
            b -= l;                                        \
            d ^= r;                                        \
        } else {                                           \
            d -= l;                                        \
            b ^= r;                                        \
        }                                                  \
    }

#define MARS_BWD_MIX(i, a, b, c, d)   \
    if ((i) == 2 || (i) == 6) a -= d; \
    if ((i) == 3 || (i) == 7) a -= b; \
    b ^= kS1[B0(a)];                  \
    c -= kS0[B3(a)];                  \
    d = (d - kS1[B2(a)]) ^ kS0[B1(a)]; \
    a = Rotl32(a, 24);

#define MARS_BWD_UNMIX(i, a, b, c, d)  \
    a = Rotr32(a, 24);                 \
    d = (d ^ kS0[B1(a)]) + kS1[B2(a)]; \
    c += kS0[B3(a)];                   \
    b ^= kS1[B0(a)];                   \
    if ((i) == 3 || (i) == 7) a += b;  \
    if ((i) == 2 || (i) == 6) a += d;

void TVC_mars::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    const std::uint32_t* k = K.v;
    std::uint32_t a = LoadLE32(in) + k[0], b = LoadLE32(in + 4) + k[1], c = LoadLE32(in + 8) + k[2],
                  d = LoadLE32(in + 12) + k[3];

    MARS_FWD_MIX(0, a, b, c, d)
    MARS_FWD_MIX(1, b, c, d, a)
    MARS_FWD_MIX(2, c, d, a, b)
    MARS_FWD_MIX(3, d, a, b, c)
    MARS_FWD_MIX(4, a, b, c, d)
    MARS_FWD_MIX(5, b, c, d, a)
    MARS_FWD_MIX(6, c, d, a, b)
    MARS_FWD_MIX(7, d, a, b, c)

    MARS_CORE(0, a, b, c, d)
    MARS_CORE(1, b, c, d, a)
    MARS_CORE(2, c, d, a, b)
    MARS_CORE(3, d, a, b, c)
    MARS_CORE(4, a, b, c, d)
    MARS_CORE(5, b, c, d, a)
    MARS_CORE(6, c, d, a, b)
    MARS_CORE(7, d, a, b, c)
    MARS_CORE(8, a, b, c, d)
    MARS_CORE(9, b, c, d, a)
    MARS_CORE(10, c, d, a, b)
    MARS_CORE(11, d, a, b, c)
    MARS_CORE(12, a, b, c, d)
    MARS_CORE(13, b, c, d, a)
    MARS_CORE(14, c, d, a, b)
    MARS_CORE(15, d, a, b, c)

    MARS_BWD_MIX(0, a, b, c, d)
    MARS_BWD_MIX(1, b, c, d, a)
    MARS_BWD_MIX(2, c, d, a, b)
    MARS_BWD_MIX(3, d, a, b, c)
    MARS_BWD_MIX(4, a, b, c, d)
    MARS_BWD_MIX(5, b, c, d, a)
    MARS_BWD_MIX(6, c, d, a, b)
    MARS_BWD_MIX(7, d, a, b, c)

    StoreLE32(out, a - k[36]);
    StoreLE32(out + 4, b - k[37]);
    StoreLE32(out + 8, c - k[38]);
    StoreLE32(out + 12, d - k[39]);
}

void TVC_mars::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    const std::uint32_t* k = K.v;
    std::uint32_t a = LoadLE32(in) + k[36], b = LoadLE32(in + 4) + k[37], c = LoadLE32(in + 8) + k[38],
                  d = LoadLE32(in + 12) + k[39];

    MARS_BWD_UNMIX(7, d, a, b, c)
    MARS_BWD_UNMIX(6, c, d, a, b)
    MARS_BWD_UNMIX(5, b, c, d, a)
    MARS_BWD_UNMIX(4, a, b, c, d)
    MARS_BWD_UNMIX(3, d, a, b, c)
    MARS_BWD_UNMIX(2, c, d, a, b)
    MARS_BWD_UNMIX(1, b, c, d, a)
    MARS_BWD_UNMIX(0, a, b, c, d)

    MARS_CORE_INV(15, d, a, b, c)
    MARS_CORE_INV(14, c, d, a, b)
    MARS_CORE_INV(13, b, c, d, a)
    MARS_CORE_INV(12, a, b, c, d)
    MARS_CORE_INV(11, d, a, b, c)
    MARS_CORE_INV(10, c, d, a, b)
    MARS_CORE_INV(9, b, c, d, a)
    MARS_CORE_INV(8, a, b, c, d)
    MARS_CORE_INV(7, d, a, b, c)
    MARS_CORE_INV(6, c, d, a, b)
    MARS_CORE_INV(5, b, c, d, a)
    MARS_CORE_INV(4, a, b, c, d)
    MARS_CORE_INV(3, d, a, b, c)
    MARS_CORE_INV(2, c, d, a, b)
    MARS_CORE_INV(1, b, c, d, a)
    MARS_CORE_INV(0, a, b, c, d)

    MARS_FWD_UNMIX(7, d, a, b, c)
    MARS_FWD_UNMIX(6, c, d, a, b)
    MARS_FWD_UNMIX(5, b, c, d, a)
    MARS_FWD_UNMIX(4, a, b, c, d)
    MARS_FWD_UNMIX(3, d, a, b, c)
    MARS_FWD_UNMIX(2, c, d, a, b)
    MARS_FWD_UNMIX(1, b, c, d, a)
    MARS_FWD_UNMIX(0, a, b, c, d)

    StoreLE32(out, a - k[0]);
    StoreLE32(out + 4, b - k[1]);
    StoreLE32(out + 8, c - k[2]);
    StoreLE32(out + 12, d - k[3]);
}

#undef MARS_FWD_MIX
#undef MARS_FWD_UNMIX
#undef MARS_CORE
#undef MARS_CORE_INV
#undef MARS_BWD_MIX
#undef MARS_BWD_UNMIX

void TVC_mars::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    const std::uint32_t n = (sizeBits / 8) / 4;
    // Less than one whole key word leaves nothing to expand; the base's size check allows it.
    if (n == 0) throw EVC_cipher("Invalid key size");

    // T[-7..39] kept as t[0..46]: the seven S-box words in front feed the first recurrence steps.
    KeyTable<std::uint32_t, 47> t;
    std::uint32_t* T = t.v + 7;
    for (int i = 0; i < 7; ++i) t[std::size_t(i)] = kS[std::size_t(i)];
    for (std::uint32_t i = 0; i < 39; ++i)
        T[i] = Rotl32(T[int(i) - 7] ^ T[int(i) - 2], 3) ^ LoadLE32(key + 4 * (i % n)) ^ i;
    T[39] = n;

    for (int pass = 0; pass < 7; ++pass) {
        for (int i = 1; i < 40; ++i) T[i] = Rotl32(T[i] + kS[T[i - 1] & 511], 9);
        T[0] = Rotl32(T[0] + kS[T[39] & 511], 9);
    }
    for (int i = 0; i < 40; ++i) K[std::size_t((7 * i) % 40)] = T[i];

    for (std::size_t i = 5; i <= 35; i += 2) {
        const std::uint32_t j = K[i] & 3;
        const std::uint32_t w = K[i] | 3;
        const std::uint32_t r = K[i + 3] & 31;
        K[i] = w ^ (Rotl32(tables::mars::B[j], r) & MarsFixMask(w));
    }
}

}  // namespace vantrel
