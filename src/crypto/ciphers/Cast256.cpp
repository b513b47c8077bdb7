#include "crypto/ciphers/Cast256.h"

#include <array>

#include "base/Bytes.h"
#include "crypto/ciphers/Cast128.h"
#include "crypto/ciphers/CbcWords.h"

namespace vantrel {

using bytes::LoadBE32;
using bytes::StoreBE32;
using castround::F1;
using castround::F2;
using castround::F3;

namespace {

// The masking and rotation constants of the 24 key-schedule octaves: arithmetic progressions
// from the published start values, modulo 2^32 and modulo 32.
struct OctaveKeys {
    std::array<std::uint32_t, 24 * 8> tm{}, tr{};
};

constexpr OctaveKeys MakeOctaveKeys() {
    namespace t = tables::cast128;
    OctaveKeys o;
    std::uint32_t cm = t::CAST256_INIT[0], cr = t::CAST256_INIT[2];
    const std::uint32_t mm = t::CAST256_INIT[1], mr = t::CAST256_INIT[3];
    for (std::size_t i = 0; i < o.tm.size(); ++i) {
        o.tm[i] = cm;
        cm += mm;
        o.tr[i] = cr;
        cr = (cr + mr) & 31;
    }
    return o;
}

constexpr OctaveKeys kOctave = MakeOctaveKeys();

}  // namespace

void TVC_cast256::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    std::uint8_t padded[32] = {};
    std::memcpy(padded, key, sizeBits / 8);
    std::uint32_t k[8];  // the words A to H of the published schedule
    for (int i = 0; i < 8; ++i) k[i] = LoadBE32(padded + 4 * i);
    auto& [wa, wb, wc, wd, we, wf, wg, wh] = k;
    for (std::size_t q = 0; q < 12; ++q) {
        for (std::size_t w = 2 * q; w < 2 * q + 2; ++w) {
            const std::uint32_t* tm = &kOctave.tm[8 * w];
            const std::uint32_t* tr = &kOctave.tr[8 * w];
            F1(wg, wh, tm[0], tr[0]);
            F2(wf, wg, tm[1], tr[1]);
            F3(we, wf, tm[2], tr[2]);
            F1(wd, we, tm[3], tr[3]);
            F2(wc, wd, tm[4], tr[4]);
            F3(wb, wc, tm[5], tr[5]);
            F1(wa, wb, tm[6], tr[6]);
            F2(wh, wa, tm[7], tr[7]);
        }
        Kr[4 * q + 0] = wa & 31;
        Kr[4 * q + 1] = wc & 31;
        Kr[4 * q + 2] = we & 31;
        Kr[4 * q + 3] = wg & 31;
        Km[4 * q + 0] = wh;
        Km[4 * q + 1] = wf;
        Km[4 * q + 2] = wd;
        Km[4 * q + 3] = wb;
    }
    SecureZero(k, sizeof k);
    SecureZero(padded, sizeof padded);
}

void TVC_cast256::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t w[4] = {LoadBE32(in), LoadBE32(in + 4), LoadBE32(in + 8), LoadBE32(in + 12)};
    EncryptWords(w);
    for (int i = 0; i < 4; ++i) StoreBE32(out + 4 * i, w[i]);
}

[[gnu::flatten]] void TVC_cast256::CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out,
                                                std::size_t blocks) const {
    cbcwords::Encrypt128<true>(chain, in, out, blocks, [this](std::uint32_t* w) { EncryptWords(w); });
}

void TVC_cast256::EncryptWords(std::uint32_t w[4]) const {
    std::uint32_t a = w[0], b = w[1], c = w[2], d = w[3];
    const std::uint32_t* km = Km.v;
    const std::uint32_t* kr = Kr.v;
    for (int q = 0; q < 6; ++q, km += 4, kr += 4) {
        F1(c, d, km[0], kr[0]);
        F2(b, c, km[1], kr[1]);
        F3(a, b, km[2], kr[2]);
        F1(d, a, km[3], kr[3]);
    }
    for (int q = 6; q < 12; ++q, km += 4, kr += 4) {
        F1(d, a, km[3], kr[3]);
        F3(a, b, km[2], kr[2]);
        F2(b, c, km[1], kr[1]);
        F1(c, d, km[0], kr[0]);
    }
    w[0] = a;
    w[1] = b;
    w[2] = c;
    w[3] = d;
}

// Each reverse quad-round is undone by the forward one with the same keys and vice versa,
// taken from the last quad-round back to the first.
void TVC_cast256::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t a = LoadBE32(in), b = LoadBE32(in + 4), c = LoadBE32(in + 8), d = LoadBE32(in + 12);
    const std::uint32_t* km = Km.v + 44;
    const std::uint32_t* kr = Kr.v + 44;
    for (int q = 11; q >= 6; --q, km -= 4, kr -= 4) {
        F1(c, d, km[0], kr[0]);
        F2(b, c, km[1], kr[1]);
        F3(a, b, km[2], kr[2]);
        F1(d, a, km[3], kr[3]);
    }
    for (int q = 5; q >= 0; --q, km -= 4, kr -= 4) {
        F1(d, a, km[3], kr[3]);
        F3(a, b, km[2], kr[2]);
        F2(b, c, km[1], kr[1]);
        F1(c, d, km[0], kr[0]);
    }
    StoreBE32(out, a);
    StoreBE32(out + 4, b);
    StoreBE32(out + 8, c);
    StoreBE32(out + 12, d);
}

}  // namespace vantrel
