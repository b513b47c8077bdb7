#include "crypto/ciphers/Rc5.h"

#include <algorithm>
#include <bit>

#include "base/Bytes.h"
#include "crypto/ciphers/CbcWords.h"
#include "crypto/ciphers/tables/rc5_rc6_tables.h"

namespace vantrel {

using bytes::LoadLE32;
using bytes::Rotl32;
using bytes::Rotr32;
using bytes::StoreLE32;
namespace t = tables::rc5_rc6;

void TVC_rc5::EncryptWords(std::uint32_t& a, std::uint32_t& b) const {
    const std::uint32_t* s = S.v;
    a += s[0];
    b += s[1];
    for (int i = 1; i <= kRounds; ++i) {
        a = std::rotl(a ^ b, int(b & 31)) + s[2 * i];
        b = std::rotl(b ^ a, int(a & 31)) + s[2 * i + 1];
    }
}

void TVC_rc5::DecryptWords(std::uint32_t& a, std::uint32_t& b) const {
    const std::uint32_t* s = S.v;
    for (int i = kRounds; i >= 1; --i) {
        b = std::rotr(b - s[2 * i + 1], int(a & 31)) ^ a;
        a = std::rotr(a - s[2 * i], int(b & 31)) ^ b;
    }
    a -= s[0];
    b -= s[1];
}

void TVC_rc5::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t a = LoadLE32(in), b = LoadLE32(in + 4);
    EncryptWords(a, b);
    StoreLE32(out, a);
    StoreLE32(out + 4, b);
}

void TVC_rc5::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t a = LoadLE32(in), b = LoadLE32(in + 4);
    DecryptWords(a, b);
    StoreLE32(out, a);
    StoreLE32(out + 4, b);
}

[[gnu::flatten]] void TVC_rc5::CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out,
                                                std::size_t blocks) const {
    cbcwords::Encrypt64<false>(chain, in, out, blocks, [this](std::uint32_t& a, std::uint32_t& b) { EncryptWords(a, b); });
}

[[gnu::flatten]] void TVC_rc5::CbcDecryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out,
                                                std::size_t blocks) const {
    cbcwords::Decrypt64<false>(chain, in, out, blocks, [this](std::uint32_t& a, std::uint32_t& b) { DecryptWords(a, b); });
}

// RC5's key expansion, which RC6 takes over unchanged but for the table's length.
void RcExpandKey(std::uint32_t* S, std::uint32_t words, const std::uint8_t* key, std::uint32_t sizeBits) {
    const std::uint32_t n = sizeBits / 8;
    // The key as little-endian words, the last one completed with zero bytes; an empty key
    // still counts as one zero word.
    const std::uint32_t c = std::max<std::uint32_t>(1, (n + 3) / 4);
    std::uint32_t l[64] = {};
    for (std::uint32_t i = 0; i < n; ++i) l[i / 4] |= std::uint32_t(key[i]) << (8 * (i % 4));

    S[0] = t::P32[0];
    for (std::size_t i = 1; i < words; ++i) S[i] = S[i - 1] + t::Q32[0];
    std::uint32_t a = 0, b = 0;
    for (std::uint32_t k = 0, i = 0, j = 0, steps = 3 * std::max(words, c); k < steps; ++k) {
        a = S[i] = Rotl32(S[i] + a + b, 3);
        b = l[j] = Rotl32(l[j] + a + b, a + b);
        if (++i == words) i = 0;
        if (++j == c) j = 0;
    }
    SecureZero(l, sizeof l);
    a = b = 0;
}

void TVC_rc5::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    RcExpandKey(S.v, std::uint32_t(decltype(S)::size()), key, sizeBits);
}

}  // namespace vantrel
