#include "crypto/ciphers/Misty1.h"

#include <algorithm>

#include "base/Bytes.h"
#include "crypto/ciphers/tables/misty1_tables.h"

namespace vantrel {

using bytes::LoadBE32;
using bytes::StoreBE32;
namespace t = tables::misty1;

namespace {

inline std::uint32_t FI(std::uint32_t in, std::uint32_t key) {
    std::uint32_t d9 = in >> 7, d7 = in & 0x7F;
    d9 = t::S9[d9] ^ d7;
    d7 = (t::S7[d7] ^ d9) & 0x7F;
    d7 ^= key >> 9;
    d9 ^= key & 0x1FF;
    d9 = t::S9[d9] ^ d7;
    return (d7 << 9) | d9;
}

}  // namespace

// k is a constant at every call site, so the key indices fold away once inlined.
inline std::uint32_t TVC_misty1::FO(std::uint32_t x, int k) const {
    std::uint32_t t0 = x >> 16, t1 = x & 0xFFFF;
    t0 = FI(t0 ^ EK[std::size_t(k)], EK[std::size_t((k + 5) % 8 + 8)]) ^ t1;
    t1 = FI(t1 ^ EK[std::size_t((k + 2) % 8)], EK[std::size_t((k + 1) % 8 + 8)]) ^ t0;
    t0 = FI(t0 ^ EK[std::size_t((k + 7) % 8)], EK[std::size_t((k + 3) % 8 + 8)]) ^ t1;
    t1 ^= EK[std::size_t((k + 4) % 8)];
    return (t1 << 16) | t0;
}

inline std::uint32_t TVC_misty1::FL(std::uint32_t x, int k) const {
    std::uint32_t d0 = x >> 16, d1 = x & 0xFFFF;
    if (k % 2 == 0) {
        d1 ^= d0 & EK[std::size_t(k / 2)];
        d0 ^= d1 | EK[std::size_t((k / 2 + 6) % 8 + 8)];
    } else {
        d1 ^= d0 & EK[std::size_t(((k - 1) / 2 + 2) % 8 + 8)];
        d0 ^= d1 | EK[std::size_t(((k - 1) / 2 + 4) % 8)];
    }
    return (d0 << 16) | d1;
}

inline std::uint32_t TVC_misty1::FLInv(std::uint32_t x, int k) const {
    std::uint32_t d0 = x >> 16, d1 = x & 0xFFFF;
    if (k % 2 == 0) {
        d0 ^= d1 | EK[std::size_t((k / 2 + 6) % 8 + 8)];
        d1 ^= d0 & EK[std::size_t(k / 2)];
    } else {
        d0 ^= d1 | EK[std::size_t(((k - 1) / 2 + 4) % 8)];
        d1 ^= d0 & EK[std::size_t(((k - 1) / 2 + 2) % 8 + 8)];
    }
    return (d0 << 16) | d1;
}

void TVC_misty1::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t d0 = LoadBE32(in), d1 = LoadBE32(in + 4);
    d0 = FL(d0, 0);
    d1 = FL(d1, 1);
    d1 ^= FO(d0, 0);
    d0 ^= FO(d1, 1);
    d0 = FL(d0, 2);
    d1 = FL(d1, 3);
    d1 ^= FO(d0, 2);
    d0 ^= FO(d1, 3);
    d0 = FL(d0, 4);
    d1 = FL(d1, 5);
    d1 ^= FO(d0, 4);
    d0 ^= FO(d1, 5);
    d0 = FL(d0, 6);
    d1 = FL(d1, 7);
    d1 ^= FO(d0, 6);
    d0 ^= FO(d1, 7);
    d0 = FL(d0, 8);
    d1 = FL(d1, 9);
    StoreBE32(out, d1);
    StoreBE32(out + 4, d0);
}

void TVC_misty1::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t d1 = LoadBE32(in), d0 = LoadBE32(in + 4);
    d0 = FLInv(d0, 8);
    d1 = FLInv(d1, 9);
    d0 ^= FO(d1, 7);
    d1 ^= FO(d0, 6);
    d0 = FLInv(d0, 6);
    d1 = FLInv(d1, 7);
    d0 ^= FO(d1, 5);
    d1 ^= FO(d0, 4);
    d0 = FLInv(d0, 4);
    d1 = FLInv(d1, 5);
    d0 ^= FO(d1, 3);
    d1 ^= FO(d0, 2);
    d0 = FLInv(d0, 2);
    d1 = FLInv(d1, 3);
    d0 ^= FO(d1, 1);
    d1 ^= FO(d0, 0);
    d0 = FLInv(d0, 0);
    d1 = FLInv(d1, 1);
    StoreBE32(out, d0);
    StoreBE32(out + 4, d1);
}

void TVC_misty1::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    std::uint8_t k[16] = {};
    std::memcpy(k, key, std::min<std::size_t>(sizeBits / 8, sizeof k));
    for (std::size_t i = 0; i < 8; ++i) EK[i] = bytes::LoadBE16(k + 2 * i);
    for (std::size_t i = 0; i < 8; ++i) EK[i + 8] = std::uint16_t(FI(EK[i], EK[(i + 1) % 8]));
    SecureZero(k, sizeof k);
}

}  // namespace vantrel
