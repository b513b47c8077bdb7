#include "crypto/ciphers/Des.h"

#include <array>

#include "base/Bytes.h"
#include "crypto/ciphers/tables/des_tables.h"

namespace vantrel {

using bytes::LoadBE32;
using bytes::StoreBE32;
namespace t = tables::des;

namespace descore {
namespace {

constexpr std::uint32_t Rotl(std::uint32_t x, unsigned r) { return (x << r) | (x >> ((32 - r) & 31)); }
constexpr std::uint32_t Rotr(std::uint32_t x, unsigned r) { return (x >> r) | (x << ((32 - r) & 31)); }

// Bit permutation as the DES tables print it: output bit j (1-based, most significant first)
// is input bit table[j] of an inBits-wide value.
constexpr std::uint64_t Permute(std::uint64_t x, const std::uint8_t* table, int outBits, int inBits) {
    std::uint64_t out = 0;
    for (int j = 0; j < outBits; ++j) out = (out << 1) | ((x >> (inBits - table[j])) & 1);
    return out;
}

// Both halves travel through the rounds rotated left by one bit. Then the six-bit groups of
// the expansion E lie at fixed byte positions of r (groups 2, 4, 6, 8) and of r rotated right
// by four (groups 1, 3, 5, 7), so E costs one rotation and the round is eight look-ups into
// tables that each merge one S-box with the permutation P (and that rotation).
using SpTables = std::array<std::array<std::uint32_t, 64>, 8>;

constexpr SpTables MakeSpTables() {
    constexpr const std::uint8_t* boxes[8] = {t::S1, t::S2, t::S3, t::S4, t::S5, t::S6, t::S7, t::S8};
    SpTables sp{};
    for (int s = 0; s < 8; ++s)
        for (std::uint32_t v = 0; v < 64; ++v) {
            const std::uint32_t row = ((v >> 4) & 2) | (v & 1), col = (v >> 1) & 15;
            const std::uint32_t nibble = boxes[s][row * 16 + col];
            const auto p = std::uint32_t(Permute(std::uint64_t(nibble) << (28 - 4 * s), t::P, 32, 32));
            sp[std::size_t(s)][v] = Rotl(p, 1);
        }
    return sp;
}

constexpr SpTables SP = MakeSpTables();

// The eight look-ups join as a tree of three levels; as one chain of xors, which the compiler
// makes of them otherwise, the last would wait seven steps for the first.
inline std::uint32_t F(std::uint32_t r, std::uint32_t ka, std::uint32_t kb) {
    using bytes::Grouped;
    const std::uint32_t y = Rotr(r, 4) ^ ka, z = r ^ kb;
    const std::uint32_t a = Grouped(SP[0][(y >> 24) & 63] ^ SP[2][(y >> 16) & 63]);
    const std::uint32_t b = Grouped(SP[4][(y >> 8) & 63] ^ SP[6][y & 63]);
    const std::uint32_t c = Grouped(SP[1][(z >> 24) & 63] ^ SP[3][(z >> 16) & 63]);
    const std::uint32_t d = Grouped(SP[5][(z >> 8) & 63] ^ SP[7][z & 63]);
    return Grouped(a ^ b) ^ Grouped(c ^ d);
}

// The initial permutation as five exchanges of masked bit groups between the halves, leaving
// both rotated left by one; the final permutation undoes the same steps in reverse order.
constexpr void DeltaSwap(std::uint32_t& a, std::uint32_t& b, unsigned shift, std::uint32_t mask) {
    const std::uint32_t w = ((a >> shift) ^ b) & mask;
    b ^= w;
    a ^= w << shift;
}

constexpr void InitialPermutation(std::uint32_t& l, std::uint32_t& r) {
    DeltaSwap(l, r, 4, 0x0F0F0F0F);
    DeltaSwap(l, r, 16, 0x0000FFFF);
    DeltaSwap(r, l, 2, 0x33333333);
    DeltaSwap(r, l, 8, 0x00FF00FF);
    r = Rotl(r, 1);
    const std::uint32_t w = (l ^ r) & 0xAAAAAAAA;
    l ^= w;
    r ^= w;
    l = Rotl(l, 1);
}

constexpr void FinalPermutation(std::uint32_t& l, std::uint32_t& r) {
    l = Rotr(l, 1);
    const std::uint32_t w = (l ^ r) & 0xAAAAAAAA;
    l ^= w;
    r ^= w;
    r = Rotr(r, 1);
    DeltaSwap(r, l, 8, 0x00FF00FF);
    DeltaSwap(r, l, 2, 0x33333333);
    DeltaSwap(l, r, 16, 0x0000FFFF);
    DeltaSwap(l, r, 4, 0x0F0F0F0F);
}

// Both permutations are linear in the bits, so agreeing with the tables on every single-bit
// input proves them equal.
constexpr bool SwapsMatchTables() {
    for (int b = 0; b < 64; ++b) {
        const std::uint64_t x = std::uint64_t(1) << b;
        std::uint32_t l = std::uint32_t(x >> 32), r = std::uint32_t(x);
        InitialPermutation(l, r);
        const std::uint64_t ip = Permute(x, t::IP, 64, 64);
        if (l != Rotl(std::uint32_t(ip >> 32), 1) || r != Rotl(std::uint32_t(ip), 1)) return false;
        l = Rotl(std::uint32_t(x >> 32), 1);
        r = Rotl(std::uint32_t(x), 1);
        FinalPermutation(l, r);
        if (((std::uint64_t(l) << 32) | r) != Permute(x, t::FP, 64, 64)) return false;
    }
    return true;
}
static_assert(SwapsMatchTables());

// 16 rounds on halves that hold L0 and R0 and end holding L16 and R16; the output block is
// R16 then L16, so the caller swaps them into the final permutation (or into the next pass).
template <bool Forward>
inline void Rounds(const Schedule& ks, std::uint32_t& l, std::uint32_t& r) {
    const std::uint32_t* k = ks.v;
    if constexpr (Forward) {
        l ^= F(r, k[0], k[1]);
        r ^= F(l, k[2], k[3]);
        l ^= F(r, k[4], k[5]);
        r ^= F(l, k[6], k[7]);
        l ^= F(r, k[8], k[9]);
        r ^= F(l, k[10], k[11]);
        l ^= F(r, k[12], k[13]);
        r ^= F(l, k[14], k[15]);
        l ^= F(r, k[16], k[17]);
        r ^= F(l, k[18], k[19]);
        l ^= F(r, k[20], k[21]);
        r ^= F(l, k[22], k[23]);
        l ^= F(r, k[24], k[25]);
        r ^= F(l, k[26], k[27]);
        l ^= F(r, k[28], k[29]);
        r ^= F(l, k[30], k[31]);
    } else {
        l ^= F(r, k[30], k[31]);
        r ^= F(l, k[28], k[29]);
        l ^= F(r, k[26], k[27]);
        r ^= F(l, k[24], k[25]);
        l ^= F(r, k[22], k[23]);
        r ^= F(l, k[20], k[21]);
        l ^= F(r, k[18], k[19]);
        r ^= F(l, k[16], k[17]);
        l ^= F(r, k[14], k[15]);
        r ^= F(l, k[12], k[13]);
        l ^= F(r, k[10], k[11]);
        r ^= F(l, k[8], k[9]);
        l ^= F(r, k[6], k[7]);
        r ^= F(l, k[4], k[5]);
        l ^= F(r, k[2], k[3]);
        r ^= F(l, k[0], k[1]);
    }
}

}  // namespace

void ExpandKey(const std::uint8_t* key, Schedule& ks) {
    const std::uint64_t k64 = (std::uint64_t(LoadBE32(key)) << 32) | LoadBE32(key + 4);
    const std::uint64_t cd = Permute(k64, t::PC_1, 56, 64);
    std::uint32_t c = std::uint32_t(cd >> 28), d = std::uint32_t(cd & 0x0FFFFFFF);
    for (int i = 0; i < 16; ++i) {
        const unsigned s = t::SHIFTS[i];
        c = ((c << s) | (c >> (28 - s))) & 0x0FFFFFFF;
        d = ((d << s) | (d >> (28 - s))) & 0x0FFFFFFF;
        const std::uint64_t sub = Permute((std::uint64_t(c) << 28) | d, t::PC_2, 48, 56);
        auto group = [sub](int g) { return std::uint32_t(sub >> (48 - 6 * g)) & 63; };
        ks[std::size_t(2 * i)] = (group(1) << 24) | (group(3) << 16) | (group(5) << 8) | group(7);
        ks[std::size_t(2 * i + 1)] = (group(2) << 24) | (group(4) << 16) | (group(6) << 8) | group(8);
    }
}

template <bool Forward>
void Single(const Schedule& ks, const std::uint8_t* in, std::uint8_t* out) {
    std::uint32_t l = LoadBE32(in), r = LoadBE32(in + 4);
    InitialPermutation(l, r);
    Rounds<Forward>(ks, l, r);
    FinalPermutation(r, l);
    StoreBE32(out, r);
    StoreBE32(out + 4, l);
}

// Between passes the final permutation of one and the initial permutation of the next cancel,
// leaving only the exchange of the halves, which the alternating argument order does.
template <bool Forward>
void Triple(const Schedule& a, const Schedule& b, const Schedule& c, const std::uint8_t* in, std::uint8_t* out) {
    std::uint32_t l = LoadBE32(in), r = LoadBE32(in + 4);
    InitialPermutation(l, r);
    Rounds<Forward>(a, l, r);
    Rounds<!Forward>(b, r, l);
    Rounds<Forward>(c, l, r);
    FinalPermutation(r, l);
    StoreBE32(out, r);
    StoreBE32(out + 4, l);
}

template void Single<true>(const Schedule&, const std::uint8_t*, std::uint8_t*);
template void Single<false>(const Schedule&, const std::uint8_t*, std::uint8_t*);
template void Triple<true>(const Schedule&, const Schedule&, const Schedule&, const std::uint8_t*, std::uint8_t*);
template void Triple<false>(const Schedule&, const Schedule&, const Schedule&, const std::uint8_t*, std::uint8_t*);

}  // namespace descore

void TVC_des::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    std::uint8_t k[8] = {};
    std::memcpy(k, key, sizeBits / 8);
    BuildSchedule(k, K);
    SecureZero(k, sizeof k);
}

void TVC_des::Encrypt(const std::uint8_t* in, std::uint8_t* out) const { descore::Single<true>(K, in, out); }
void TVC_des::Decrypt(const std::uint8_t* in, std::uint8_t* out) const { descore::Single<false>(K, in, out); }

void TVC_3des::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    std::uint8_t k[24] = {};
    std::memcpy(k, key, sizeBits / 8);
    BuildSchedule(k, K1);
    BuildSchedule(k + 8, K2);
    if (sizeBits > 128)
        BuildSchedule(k + 16, K3);
    else
        std::memcpy(K3.v, K1.v, sizeof K3.v);
    SecureZero(k, sizeof k);
}

void TVC_3des::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    descore::Triple<true>(K1, K2, K3, in, out);
}
void TVC_3des::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    descore::Triple<false>(K3, K2, K1, in, out);
}

}  // namespace vantrel
