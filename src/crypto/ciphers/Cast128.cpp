#include "crypto/ciphers/Cast128.h"

#include <utility>

#include "base/Bytes.h"
#include "crypto/ciphers/CbcWords.h"

namespace vantrel {

using bytes::LoadBE32;
using bytes::StoreBE32;
namespace t = tables::cast128;

using castround::F1;
using castround::F2;
using castround::F3;

void TVC_cast128::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    const std::uint32_t n = sizeBits / 8;
    rounds_ = n <= 10 ? 12 : 16;

    // x holds the key and z the scratch half; each half-step rewrites one of them word by word,
    // later words reading the bytes just written.
    std::uint8_t x[16] = {}, z[16];
    std::memcpy(x, key, n);
    const auto* S5 = t::S5;
    const auto* S6 = t::S6;
    const auto* S7 = t::S7;
    const auto* S8 = t::S8;
    auto xToZ = [&] {
        StoreBE32(z + 0, LoadBE32(x + 0) ^ S5[x[13]] ^ S6[x[15]] ^ S7[x[12]] ^ S8[x[14]] ^ S7[x[8]]);
        StoreBE32(z + 4, LoadBE32(x + 8) ^ S5[z[0]] ^ S6[z[2]] ^ S7[z[1]] ^ S8[z[3]] ^ S8[x[10]]);
        StoreBE32(z + 8, LoadBE32(x + 12) ^ S5[z[7]] ^ S6[z[6]] ^ S7[z[5]] ^ S8[z[4]] ^ S5[x[9]]);
        StoreBE32(z + 12, LoadBE32(x + 4) ^ S5[z[10]] ^ S6[z[9]] ^ S7[z[11]] ^ S8[z[8]] ^ S6[x[11]]);
    };
    auto zToX = [&] {
        StoreBE32(x + 0, LoadBE32(z + 8) ^ S5[z[5]] ^ S6[z[7]] ^ S7[z[4]] ^ S8[z[6]] ^ S7[z[0]]);
        StoreBE32(x + 4, LoadBE32(z + 0) ^ S5[x[0]] ^ S6[x[2]] ^ S7[x[1]] ^ S8[x[3]] ^ S8[z[2]]);
        StoreBE32(x + 8, LoadBE32(z + 4) ^ S5[x[7]] ^ S6[x[6]] ^ S7[x[5]] ^ S8[x[4]] ^ S5[z[1]]);
        StoreBE32(x + 12, LoadBE32(z + 12) ^ S5[x[10]] ^ S6[x[9]] ^ S7[x[11]] ^ S8[x[8]] ^ S6[z[3]]);
    };
    // K1..K16 become the masking keys, K17..K32 the rotations.
    std::uint32_t k[32];
    for (int half = 0; half < 2; ++half) {
        std::uint32_t* kk = k + 16 * half;
        xToZ();
        kk[0] = S5[z[8]] ^ S6[z[9]] ^ S7[z[7]] ^ S8[z[6]] ^ S5[z[2]];
        kk[1] = S5[z[10]] ^ S6[z[11]] ^ S7[z[5]] ^ S8[z[4]] ^ S6[z[6]];
        kk[2] = S5[z[12]] ^ S6[z[13]] ^ S7[z[3]] ^ S8[z[2]] ^ S7[z[9]];
        kk[3] = S5[z[14]] ^ S6[z[15]] ^ S7[z[1]] ^ S8[z[0]] ^ S8[z[12]];
        zToX();
        kk[4] = S5[x[3]] ^ S6[x[2]] ^ S7[x[12]] ^ S8[x[13]] ^ S5[x[8]];
        kk[5] = S5[x[1]] ^ S6[x[0]] ^ S7[x[14]] ^ S8[x[15]] ^ S6[x[13]];
        kk[6] = S5[x[7]] ^ S6[x[6]] ^ S7[x[8]] ^ S8[x[9]] ^ S7[x[3]];
        kk[7] = S5[x[5]] ^ S6[x[4]] ^ S7[x[10]] ^ S8[x[11]] ^ S8[x[7]];
        xToZ();
        kk[8] = S5[z[3]] ^ S6[z[2]] ^ S7[z[12]] ^ S8[z[13]] ^ S5[z[9]];
        kk[9] = S5[z[1]] ^ S6[z[0]] ^ S7[z[14]] ^ S8[z[15]] ^ S6[z[12]];
        kk[10] = S5[z[7]] ^ S6[z[6]] ^ S7[z[8]] ^ S8[z[9]] ^ S7[z[2]];
        kk[11] = S5[z[5]] ^ S6[z[4]] ^ S7[z[10]] ^ S8[z[11]] ^ S8[z[6]];
        zToX();
        kk[12] = S5[x[8]] ^ S6[x[9]] ^ S7[x[7]] ^ S8[x[6]] ^ S5[x[3]];
        kk[13] = S5[x[10]] ^ S6[x[11]] ^ S7[x[5]] ^ S8[x[4]] ^ S6[x[7]];
        kk[14] = S5[x[12]] ^ S6[x[13]] ^ S7[x[3]] ^ S8[x[2]] ^ S7[x[8]];
        kk[15] = S5[x[14]] ^ S6[x[15]] ^ S7[x[1]] ^ S8[x[0]] ^ S8[x[13]];
    }
    for (int i = 0; i < 16; ++i) {
        Km[std::size_t(i)] = k[i];
        Kr[std::size_t(i)] = k[16 + i] & 31;
    }
    SecureZero(k, sizeof k);
    SecureZero(x, sizeof x);
    SecureZero(z, sizeof z);
}

void TVC_cast128::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t l = LoadBE32(in), r = LoadBE32(in + 4);
    EncryptWords(l, r);
    StoreBE32(out, l);
    StoreBE32(out + 4, r);
}

void TVC_cast128::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t l = LoadBE32(in), r = LoadBE32(in + 4);
    DecryptWords(l, r);
    StoreBE32(out, l);
    StoreBE32(out + 4, r);
}

[[gnu::flatten]] void TVC_cast128::CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out,
                                                    std::size_t blocks) const {
    cbcwords::Encrypt64<true>(chain, in, out, blocks, [this](std::uint32_t& l, std::uint32_t& r) { EncryptWords(l, r); });
}

[[gnu::flatten]] void TVC_cast128::CbcDecryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out,
                                                    std::size_t blocks) const {
    cbcwords::Decrypt64<true>(chain, in, out, blocks, [this](std::uint32_t& l, std::uint32_t& r) { DecryptWords(l, r); });
}

void TVC_cast128::EncryptWords(std::uint32_t& l, std::uint32_t& r) const {
    F1(l, r, Km[0], Kr[0]);
    F2(r, l, Km[1], Kr[1]);
    F3(l, r, Km[2], Kr[2]);
    F1(r, l, Km[3], Kr[3]);
    F2(l, r, Km[4], Kr[4]);
    F3(r, l, Km[5], Kr[5]);
    F1(l, r, Km[6], Kr[6]);
    F2(r, l, Km[7], Kr[7]);
    F3(l, r, Km[8], Kr[8]);
    F1(r, l, Km[9], Kr[9]);
    F2(l, r, Km[10], Kr[10]);
    F3(r, l, Km[11], Kr[11]);
    if (rounds_ > 12) {
        F1(l, r, Km[12], Kr[12]);
        F2(r, l, Km[13], Kr[13]);
        F3(l, r, Km[14], Kr[14]);
        F1(r, l, Km[15], Kr[15]);
    }
    std::swap(l, r);
}

void TVC_cast128::DecryptWords(std::uint32_t& l, std::uint32_t& r) const {
    if (rounds_ > 12) {
        F1(l, r, Km[15], Kr[15]);
        F3(r, l, Km[14], Kr[14]);
        F2(l, r, Km[13], Kr[13]);
        F1(r, l, Km[12], Kr[12]);
    }
    F3(l, r, Km[11], Kr[11]);
    F2(r, l, Km[10], Kr[10]);
    F1(l, r, Km[9], Kr[9]);
    F3(r, l, Km[8], Kr[8]);
    F2(l, r, Km[7], Kr[7]);
    F1(r, l, Km[6], Kr[6]);
    F3(l, r, Km[5], Kr[5]);
    F2(r, l, Km[4], Kr[4]);
    F1(l, r, Km[3], Kr[3]);
    F3(r, l, Km[2], Kr[2]);
    F2(l, r, Km[1], Kr[1]);
    F1(r, l, Km[0], Kr[0]);
    std::swap(l, r);
}

}  // namespace vantrel
