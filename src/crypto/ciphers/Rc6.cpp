#include "crypto/ciphers/Rc6.h"

#include "base/Bytes.h"
#include "crypto/ciphers/Rc5.h"

namespace vantrel {

using bytes::LoadLE32;
using bytes::Rotl32;
using bytes::Rotr32;
using bytes::StoreLE32;

namespace {
inline std::uint32_t F(std::uint32_t x) { return Rotl32(x * (2 * x + 1), 5); }
}  // namespace

void TVC_rc6::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    const std::uint32_t* s = S.v;
    std::uint32_t a = LoadLE32(in), b = LoadLE32(in + 4) + s[0], c = LoadLE32(in + 8), d = LoadLE32(in + 12) + s[1];
    // Two rounds per pass, so the word rotation costs nothing but renaming.
    for (int i = 1; i <= kRounds; i += 2) {
        std::uint32_t tb = F(b), ud = F(d);
        a = Rotl32(a ^ tb, ud) + s[2 * i];
        c = Rotl32(c ^ ud, tb) + s[2 * i + 1];
        // Now (b, c, d, a) play (a, b, c, d).
        const std::uint32_t tc = F(c), ua = F(a);
        b = Rotl32(b ^ tc, ua) + s[2 * i + 2];
        d = Rotl32(d ^ ua, tc) + s[2 * i + 3];
        // Back to (c, d, a, b): swap the pairs to restore the names.
        std::swap(a, c);
        std::swap(b, d);
    }
    StoreLE32(out, a + s[2 * kRounds + 2]);
    StoreLE32(out + 4, b);
    StoreLE32(out + 8, c + s[2 * kRounds + 3]);
    StoreLE32(out + 12, d);
}

void TVC_rc6::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    const std::uint32_t* s = S.v;
    std::uint32_t a = LoadLE32(in) - s[2 * kRounds + 2], b = LoadLE32(in + 4);
    std::uint32_t c = LoadLE32(in + 8) - s[2 * kRounds + 3], d = LoadLE32(in + 12);
    for (int i = kRounds; i >= 1; i -= 2) {
        std::swap(a, c);
        std::swap(b, d);
        // Undo round i, played by (b, c, d, a).
        const std::uint32_t tc = F(c), ua = F(a);
        d = Rotr32(d - s[2 * i + 1], tc) ^ ua;
        b = Rotr32(b - s[2 * i], ua) ^ tc;
        // Undo round i - 1, played by (a, b, c, d).
        const std::uint32_t tb = F(b), ud = F(d);
        c = Rotr32(c - s[2 * i - 1], tb) ^ ud;
        a = Rotr32(a - s[2 * i - 2], ud) ^ tb;
    }
    StoreLE32(out, a);
    StoreLE32(out + 4, b - s[0]);
    StoreLE32(out + 8, c);
    StoreLE32(out + 12, d - s[1]);
}

void TVC_rc6::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    RcExpandKey(S.v, std::uint32_t(decltype(S)::size()), key, sizeBits);
}

}  // namespace vantrel
