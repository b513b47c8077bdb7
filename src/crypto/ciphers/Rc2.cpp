#include "crypto/ciphers/Rc2.h"

#include "crypto/Bytes.h"
#include "crypto/ciphers/SelfTest.h"
#include "crypto/ciphers/tables/rc2_tables.h"

namespace vantrel {

using bytes::LoadLE16;
using bytes::StoreLE16;
using tables::rc2::PITABLE;

namespace {

// Words travel as 32-bit values holding 16 significant bits; every step masks back to 16.
inline std::uint32_t Rol16(std::uint32_t x, unsigned s) {
    x &= 0xFFFF;
    return ((x << s) | (x >> (16 - s))) & 0xFFFF;
}
inline std::uint32_t Ror16(std::uint32_t x, unsigned s) { return ((x >> s) | (x << (16 - s))) & 0xFFFF; }

}  // namespace

void TVC_rc2::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t r0 = LoadLE16(in), r1 = LoadLE16(in + 2), r2 = LoadLE16(in + 4), r3 = LoadLE16(in + 6);
    const std::uint16_t* k = K.v;
    auto mix = [&](int j) {
        r0 = Rol16(r0 + k[j] + (r3 & r2) + (~r3 & r1), 1);
        r1 = Rol16(r1 + k[j + 1] + (r0 & r3) + (~r0 & r2), 2);
        r2 = Rol16(r2 + k[j + 2] + (r1 & r0) + (~r1 & r3), 3);
        r3 = Rol16(r3 + k[j + 3] + (r2 & r1) + (~r2 & r0), 5);
    };
    auto mash = [&] {
        r0 = (r0 + k[r3 & 63]) & 0xFFFF;
        r1 = (r1 + k[r0 & 63]) & 0xFFFF;
        r2 = (r2 + k[r1 & 63]) & 0xFFFF;
        r3 = (r3 + k[r2 & 63]) & 0xFFFF;
    };
    mix(0), mix(4), mix(8), mix(12), mix(16);
    mash();
    mix(20), mix(24), mix(28), mix(32), mix(36), mix(40);
    mash();
    mix(44), mix(48), mix(52), mix(56), mix(60);
    StoreLE16(out, std::uint16_t(r0));
    StoreLE16(out + 2, std::uint16_t(r1));
    StoreLE16(out + 4, std::uint16_t(r2));
    StoreLE16(out + 6, std::uint16_t(r3));
}

void TVC_rc2::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t r0 = LoadLE16(in), r1 = LoadLE16(in + 2), r2 = LoadLE16(in + 4), r3 = LoadLE16(in + 6);
    const std::uint16_t* k = K.v;
    auto unmix = [&](int j) {
        r3 = (Ror16(r3, 5) - k[j + 3] - (r2 & r1) - (~r2 & r0)) & 0xFFFF;
        r2 = (Ror16(r2, 3) - k[j + 2] - (r1 & r0) - (~r1 & r3)) & 0xFFFF;
        r1 = (Ror16(r1, 2) - k[j + 1] - (r0 & r3) - (~r0 & r2)) & 0xFFFF;
        r0 = (Ror16(r0, 1) - k[j] - (r3 & r2) - (~r3 & r1)) & 0xFFFF;
    };
    auto unmash = [&] {
        r3 = (r3 - k[r2 & 63]) & 0xFFFF;
        r2 = (r2 - k[r1 & 63]) & 0xFFFF;
        r1 = (r1 - k[r0 & 63]) & 0xFFFF;
        r0 = (r0 - k[r3 & 63]) & 0xFFFF;
    };
    unmix(60), unmix(56), unmix(52), unmix(48), unmix(44);
    unmash();
    unmix(40), unmix(36), unmix(32), unmix(28), unmix(24), unmix(20);
    unmash();
    unmix(16), unmix(12), unmix(8), unmix(4), unmix(0);
    StoreLE16(out, std::uint16_t(r0));
    StoreLE16(out + 2, std::uint16_t(r1));
    StoreLE16(out + 4, std::uint16_t(r2));
    StoreLE16(out + 6, std::uint16_t(r3));
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

void TVC_rc2::Wipe() {
    K.Fill(0x00);
    TVC_blockcipher64::Wipe();
}

bool TVC_rc2::RunSelfTest() const {
    return RunBlockSelfTest<TVC_rc2>({
        {"000102030405060708090A0B0C0D0E0F", "0000000000000000", "50DC0162BD757F31"},
        {"00000000000000000000000000000001", "0000000000000000", "21829C78A9F9C074"},
    });
}

}  // namespace vantrel
