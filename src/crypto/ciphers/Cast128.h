#pragma once

#include "base/Bytes.h"
#include "crypto/CipherImpl.h"
#include "crypto/ciphers/tables/cast128_tables.h"

namespace vantrel {

// The three round function types of CAST-128, which CAST-256 shares: a masking key km and a
// rotation kr (0 to 31) applied to the data word d, then four S-box look-ups on the bytes of
// the result, most significant first, combined into the word x. The modular sums are
// regrouped, and x joins early where only xor follows, so that fewer steps wait on one
// another once the look-ups are in (the chaining modes wait on every round).
namespace castround {

inline std::uint32_t Rotl(std::uint32_t x, std::uint32_t r) { return (x << r) | (x >> ((32 - r) & 31)); }

// x ^= ((S1 ^ S2) - S3) + S4
inline void F1(std::uint32_t& x, std::uint32_t d, std::uint32_t km, std::uint32_t kr) {
    namespace t = tables::cast128;
    const std::uint32_t i = Rotl(km + d, kr);
    x ^= bytes::Grouped(t::S1[i >> 24] ^ t::S2[(i >> 16) & 255]) + bytes::Grouped(t::S4[i & 255] - t::S3[(i >> 8) & 255]);
}
// x ^= ((S1 - S2) + S3) ^ S4, as ((S1 + S3) - S2): S2's byte takes one step more to pick out
// than the others, so its look-up joins last.
inline void F2(std::uint32_t& x, std::uint32_t d, std::uint32_t km, std::uint32_t kr) {
    namespace t = tables::cast128;
    const std::uint32_t i = Rotl(km ^ d, kr);
    x = (x ^ t::S4[i & 255]) ^ (bytes::Grouped(t::S1[i >> 24] + t::S3[(i >> 8) & 255]) - t::S2[(i >> 16) & 255]);
}
// x ^= ((S1 + S2) ^ S3) - S4
inline void F3(std::uint32_t& x, std::uint32_t d, std::uint32_t km, std::uint32_t kr) {
    namespace t = tables::cast128;
    const std::uint32_t i = Rotl(km - d, kr);
    x ^= ((t::S1[i >> 24] + t::S2[(i >> 16) & 255]) ^ t::S3[(i >> 8) & 255]) - t::S4[i & 255];
}

}  // namespace castround

inline constexpr TKnownAnswer kCast128KnownAnswers[] = {
    {"0123456712345678234567893456789A", "0123456789ABCDEF", "238B4FE5847E44B2"},
    {"01234567123456782345", "0123456789ABCDEF", "EB6A711A2C02271B"},
    {"0123456712", "0123456789ABCDEF", "7AC816D16E9B302E"},
};
inline constexpr TCipherTraits kCast128Traits{7, "Cast128", 128, 8, 0xFF, kCast128KnownAnswers};

// CAST-128: the key zero-padded to 16 bytes as four big-endian words; 12 rounds for keys of
// 10 bytes or fewer, 16 otherwise; blocks as two big-endian words.
class TVC_cast128 final : public TVC_cipherImpl<TVC_cast128, kCast128Traits> {
public:
    VANTREL_CIPHER_PARTS(Km, Kr)
    void CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;
    void CbcDecryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

private:
    // The rounds on the block's two words, which come out in the order they are stored.
    void EncryptWords(std::uint32_t& l, std::uint32_t& r) const;
    void DecryptWords(std::uint32_t& l, std::uint32_t& r) const;

    KeyTable<std::uint32_t, 16> Km;  // masking keys
    KeyTable<std::uint32_t, 16> Kr;  // rotation amounts, 0 to 31
    int rounds_ = 16;
};

}  // namespace vantrel
