#include "crypto/ciphers/Rc2.h"

#include <bit>

#include "base/Bytes.h"
#include "crypto/ciphers/tables/rc2_tables.h"

namespace vantrel {

using bytes::LoadLE16;
using bytes::StoreLE16;
using tables::rc2::PITABLE;

namespace {

using W = std::uint16_t;

// The mixing term (a & b) + (~a & c) takes each bit from b or c as a chooses, so it is also
// ((b ^ c) & a) ^ c, one operation shorter on the path from a.
inline W Choose(W a, W b, W c) { return W(((b ^ c) & a) ^ c); }
inline W Rol(W x, int s) { return std::rotl(x, s); }
inline W Ror(W x, int s) { return std::rotr(x, s); }

}  // namespace

void TVC_rc2::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    W r0 = LoadLE16(in), r1 = LoadLE16(in + 2), r2 = LoadLE16(in + 4), r3 = LoadLE16(in + 6);
    const W* k = K.v;
    auto mix = [&](int j) {
        r0 = Rol(W(r0 + k[j] + Choose(r3, r2, r1)), 1);
        r1 = Rol(W(r1 + k[j + 1] + Choose(r0, r3, r2)), 2);
        r2 = Rol(W(r2 + k[j + 2] + Choose(r1, r0, r3)), 3);
        r3 = Rol(W(r3 + k[j + 3] + Choose(r2, r1, r0)), 5);
    };
    auto mash = [&] {
        r0 = W(r0 + k[r3 & 63]);
        r1 = W(r1 + k[r0 & 63]);
        r2 = W(r2 + k[r1 & 63]);
        r3 = W(r3 + k[r2 & 63]);
    };
    mix(0), mix(4), mix(8), mix(12), mix(16);
    mash();
    mix(20), mix(24), mix(28), mix(32), mix(36), mix(40);
    mash();
    mix(44), mix(48), mix(52), mix(56), mix(60);
    StoreLE16(out, r0);
    StoreLE16(out + 2, r1);
    StoreLE16(out + 4, r2);
    StoreLE16(out + 6, r3);
}

void TVC_rc2::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    W r0 = LoadLE16(in), r1 = LoadLE16(in + 2), r2 = LoadLE16(in + 4), r3 = LoadLE16(in + 6);
    const W* k = K.v;
    auto unmix = [&](int j) {
        r3 = W(Ror(r3, 5) - k[j + 3] - Choose(r2, r1, r0));
        r2 = W(Ror(r2, 3) - k[j + 2] - Choose(r1, r0, r3));
        r1 = W(Ror(r1, 2) - k[j + 1] - Choose(r0, r3, r2));
        r0 = W(Ror(r0, 1) - k[j] - Choose(r3, r2, r1));
    };
    auto unmash = [&] {
        r3 = W(r3 - k[r2 & 63]);
        r2 = W(r2 - k[r1 & 63]);
        r1 = W(r1 - k[r0 & 63]);
        r0 = W(r0 - k[r3 & 63]);
    };
    unmix(60), unmix(56), unmix(52), unmix(48), unmix(44);
    unmash();
    unmix(40), unmix(36), unmix(32), unmix(28), unmix(24), unmix(20);
    unmash();
    unmix(16), unmix(12), unmix(8), unmix(4), unmix(0);
    StoreLE16(out, r0);
    StoreLE16(out + 2, r1);
    StoreLE16(out + 4, r2);
    StoreLE16(out + 6, r3);
}

void TVC_rc2::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    const std::uint32_t t = sizeBits / 8;
    // Four bits hold no key byte; the base's size check lets them through.
    if (t == 0) throw EVC_cipher("Invalid key size");
    std::uint8_t l[128];
    std::memcpy(l, key, t);
    for (std::uint32_t i = t; i < 128; ++i) l[i] = PITABLE[std::uint8_t(l[i - 1] + l[i - t])];
    // With 1024 effective bits the reduction leaves only the first byte to pass the table.
    l[0] = PITABLE[l[0]];
    for (std::size_t i = 0; i < 64; ++i) K[i] = LoadLE16(l + 2 * i);
    SecureZero(l, sizeof l);
}

}  // namespace vantrel
