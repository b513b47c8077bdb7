#include "shred/KISSRandomGenerator.h"

#include <array>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace vantrel {

namespace {

TKISSState gState;  // constant-initialised: ready before any code runs

__extension__ typedef unsigned __int128 TUInt128;

// Jumping the state ahead by k steps without taking them, so that a long fill can run as
// several runs of the same sequence side by side in vector lanes (one byte per step makes
// a single run far slower than the disk it feeds).
//
// x: x -> a x + c composes as an affine map.
// y: the xorshift step is linear over GF(2); the maps of 2^i steps are kept as 32 columns.
// z, c: multiply-with-carry is a multiplicative congruential generator in disguise: with
//   w = c * 2^32 + z, one step gives w -> a w mod (a * 2^32 - 1).
constexpr std::uint32_t kLcgMul = 69069u, kLcgAdd = 12345u;
constexpr std::uint64_t kMwcMul = 698769069ull;
constexpr std::uint64_t kMwcModulus = (kMwcMul << 32) - 1;

using TBitMatrix = std::array<std::uint32_t, 32>;  // column j: the image of bit j

std::uint32_t XorshiftStep(std::uint32_t y) {
    y ^= y << 13;
    y ^= y >> 17;
    y ^= y << 5;
    return y;
}

std::uint32_t Apply(const TBitMatrix& m, std::uint32_t v) {
    std::uint32_t r = 0;
    for (int j = 0; j < 32; ++j)
        if ((v >> j) & 1u) r ^= m[std::size_t(j)];
    return r;
}

// Element i maps y to y after 2^i steps.
const std::array<TBitMatrix, 64>& XorshiftPowers() {
    static const std::array<TBitMatrix, 64> powers = [] {
        std::array<TBitMatrix, 64> p{};
        for (int j = 0; j < 32; ++j) p[0][std::size_t(j)] = XorshiftStep(1u << j);
        for (std::size_t i = 1; i < p.size(); ++i)
            for (std::size_t j = 0; j < 32; ++j) p[i][j] = Apply(p[i - 1], p[i - 1][j]);
        return p;
    }();
    return powers;
}

std::uint64_t MulMod(std::uint64_t a, std::uint64_t b, std::uint64_t m) { return std::uint64_t(TUInt128(a) * b % m); }

TKISSState JumpAhead(const TKISSState& s, std::uint64_t k) {
    // x: compose the affine maps of the set bits of k.
    std::uint32_t mulK = 1, addK = 0, mulP = kLcgMul, addP = kLcgAdd;
    std::uint32_t y = s.y;
    std::uint64_t mwcK = 1, mwcP = kMwcMul;
    const auto& powers = XorshiftPowers();
    for (std::size_t bit = 0; k >> bit; ++bit) {
        if ((k >> bit) & 1u) {
            mulK = mulP * mulK;
            addK = mulP * addK + addP;
            y = Apply(powers[bit], y);
            mwcK = MulMod(mwcK, mwcP, kMwcModulus);
        }
        addP = mulP * addP + addP;
        mulP = mulP * mulP;
        mwcP = MulMod(mwcP, mwcP, kMwcModulus);
    }
    TKISSState r;
    r.x = mulK * s.x + addK;
    r.y = y;
    const std::uint64_t w = MulMod((std::uint64_t(s.c) << 32) | s.z, mwcK, kMwcModulus);
    r.z = std::uint32_t(w);
    r.c = std::uint32_t(w >> 32);
    return r;
}

template <std::uint32_t Range>
void FillSerial(TKISSState& s, std::uint8_t* buffer, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) buffer[i] = static_cast<std::uint8_t>(s.Next() % Range);
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define VANTREL_KISS_AVX2 1

// Eight runs side by side, one per 32-bit lane of an AVX2 register: lane j writes the j-th
// of eight equal blocks (a multiple of 4 bytes each), and the last lane then writes the
// remainder, ending where one run over the whole buffer would, so its state is the new one.
constexpr std::size_t kLanes = 8;
constexpr std::size_t kMinLaneFill = 4096;

#define VANTREL_AVX2 __attribute__((target("avx2"), always_inline)) inline

VANTREL_AVX2 __m256i Mod255(__m256i v) {
    // 256 = 1 (mod 255): summing the bytes keeps the remainder; two folds leave 0..258.
    const __m256i bytes = _mm256_set1_epi32(0x00FF00FF);
    __m256i s = _mm256_add_epi32(_mm256_and_si256(v, bytes), _mm256_and_si256(_mm256_srli_epi32(v, 8), bytes));
    s = _mm256_add_epi32(_mm256_and_si256(s, _mm256_set1_epi32(0xFFFF)), _mm256_srli_epi32(s, 16));
    s = _mm256_add_epi32(_mm256_and_si256(s, _mm256_set1_epi32(0xFF)), _mm256_srli_epi32(s, 8));
    const __m256i over = _mm256_cmpgt_epi32(s, _mm256_set1_epi32(254));
    return _mm256_sub_epi32(s, _mm256_and_si256(over, _mm256_set1_epi32(255)));
}

struct TLanes {
    __m256i x, y;
    __m256i even, odd;  // multiply-with-carry as c:z in 64 bits, even lanes and odd lanes
};

// One step of all eight lanes; the eight results, each below 255.
VANTREL_AVX2 __m256i Step(TLanes& l) {
    l.x = _mm256_add_epi32(_mm256_mullo_epi32(l.x, _mm256_set1_epi32(int(kLcgMul))), _mm256_set1_epi32(int(kLcgAdd)));
    l.y = _mm256_xor_si256(l.y, _mm256_slli_epi32(l.y, 13));
    l.y = _mm256_xor_si256(l.y, _mm256_srli_epi32(l.y, 17));
    l.y = _mm256_xor_si256(l.y, _mm256_slli_epi32(l.y, 5));
    const __m256i mwcMul = _mm256_set1_epi64x(std::int64_t(kMwcMul));
    l.even = _mm256_add_epi64(_mm256_mul_epu32(l.even, mwcMul), _mm256_srli_epi64(l.even, 32));
    l.odd = _mm256_add_epi64(_mm256_mul_epu32(l.odd, mwcMul), _mm256_srli_epi64(l.odd, 32));
    const __m256i z = _mm256_blend_epi32(l.even, _mm256_slli_epi64(l.odd, 32), 0xAA);
    return Mod255(_mm256_add_epi32(_mm256_add_epi32(l.x, l.y), z));
}

__attribute__((target("avx2"))) void FillLanes255(TKISSState& s, std::uint8_t* buffer, std::size_t count) {
    const std::size_t block = count / (kLanes * 4) * 4;
    std::array<TKISSState, kLanes> start;
    for (std::size_t j = 0; j < kLanes; ++j) start[j] = j == 0 ? s : JumpAhead(s, std::uint64_t(j) * block);
    const auto mwc = [&](std::size_t j) { return std::int64_t((std::uint64_t(start[j].c) << 32) | start[j].z); };
    TLanes l;
    l.x = _mm256_setr_epi32(int(start[0].x), int(start[1].x), int(start[2].x), int(start[3].x), int(start[4].x),
                            int(start[5].x), int(start[6].x), int(start[7].x));
    l.y = _mm256_setr_epi32(int(start[0].y), int(start[1].y), int(start[2].y), int(start[3].y), int(start[4].y),
                            int(start[5].y), int(start[6].y), int(start[7].y));
    l.even = _mm256_setr_epi64x(mwc(0), mwc(2), mwc(4), mwc(6));
    l.odd = _mm256_setr_epi64x(mwc(1), mwc(3), mwc(5), mwc(7));

    alignas(32) std::uint32_t words[kLanes];
    for (std::size_t i = 0; i < block; i += 4) {
        // Four steps of a lane give four consecutive bytes of its block.
        __m256i w = Step(l);
        w = _mm256_or_si256(w, _mm256_slli_epi32(Step(l), 8));
        w = _mm256_or_si256(w, _mm256_slli_epi32(Step(l), 16));
        w = _mm256_or_si256(w, _mm256_slli_epi32(Step(l), 24));
        _mm256_store_si256(reinterpret_cast<__m256i*>(words), w);
        for (std::size_t j = 0; j < kLanes; ++j) std::memcpy(buffer + j * block + i, &words[j], 4);
    }
    const std::uint64_t last = std::uint64_t(_mm256_extract_epi64(l.odd, 3));
    TKISSState end{std::uint32_t(_mm256_extract_epi32(l.x, 7)), std::uint32_t(_mm256_extract_epi32(l.y, 7)),
                   std::uint32_t(last), std::uint32_t(last >> 32)};
    FillSerial<255>(end, buffer + kLanes * block, count - kLanes * block);
    s = end;
}

bool HaveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}
#endif

void FillAny(TKISSState& s, std::uint8_t* buffer, std::size_t count, std::uint32_t range) {
    for (std::size_t i = 0; i < count; ++i) buffer[i] = static_cast<std::uint8_t>(s.Next() % range);
}

}  // namespace

std::uint32_t KISSNext() { return gState.Next(); }

std::uint32_t KISSRandom(std::uint32_t n) { return gState.Next() % n; }

void KISSFill(std::uint8_t* buffer, std::size_t count, std::uint32_t range) {
    // Work on a local copy so that the loops keep the words in registers. Every use in the
    // program draws below 255, the one range worth a path of its own.
    TKISSState s = gState;
    if (range != 255) FillAny(s, buffer, count, range);
#ifdef VANTREL_KISS_AVX2
    else if (count >= kMinLaneFill && HaveAvx2())
        FillLanes255(s, buffer, count);
#endif
    else
        FillSerial<255>(s, buffer, count);
    gState = s;
}

TKISSState KISSSnapshot() { return gState; }

}  // namespace vantrel
