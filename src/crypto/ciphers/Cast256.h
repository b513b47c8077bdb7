#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

inline constexpr TKnownAnswer kCast256KnownAnswers[] = {
    {"2342BB9EFA38542C0AF75647F29F615D", "0000000000000000000000000C9B2807",
    "963A8A50CEB54D08E0DEE0F1D0413DCF"},
    {"2342BB9EFA38542CBED0AC83940AC298BAC77A7717942863", "000000000000000000000000DE255AFF",
    "2BC1929F301347A99D3F3E45AD3401E8"},
};
inline constexpr TCipherTraits kCast256Traits{15, "Cast256", 256, 16, 0xFF, kCast256KnownAnswers};

// CAST-256: the key zero-padded to 32 bytes as eight big-endian words; 12 quad-rounds (six
// forward, six reverse); blocks as four big-endian words.
class TVC_cast256 final : public TVC_cipherImpl<TVC_cast256, kCast256Traits> {
public:
    VANTREL_CIPHER_PARTS(Km, Kr)
    void CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

private:
    void EncryptWords(std::uint32_t w[4]) const;  // the block as four words, in place
    // Four per quad-round.
    KeyTable<std::uint32_t, 48> Km;  // masking keys
    KeyTable<std::uint32_t, 48> Kr;  // rotation amounts, 0 to 31
};

}  // namespace vantrel
