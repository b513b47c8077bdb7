#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

inline constexpr TKnownAnswer kRc5KnownAnswers[] = {
    {"DC49DB1375A5584F6485B413B5F12BAF", "2F42B3B70369FC92", "65C178B284D197CC"},
    {"5269F149D41BA0152497574D7F153125", "65C178B284D197CC", "EB44E415DA319824"},
};
inline constexpr TCipherTraits kRc5Traits{3, "RC5", 2048, 8, 0xFF, kRc5KnownAnswers};

// RC5-32/12: two little-endian 32-bit words, 12 rounds, 26 round keys.
class TVC_rc5 final : public TVC_cipherImpl<TVC_rc5, kRc5Traits> {
public:
    VANTREL_CIPHER_PARTS(S)
    void CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;
    void CbcDecryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

    static constexpr int kRounds = 12;

private:
    void EncryptWords(std::uint32_t& a, std::uint32_t& b) const;
    void DecryptWords(std::uint32_t& a, std::uint32_t& b) const;

    KeyTable<std::uint32_t, 2 * kRounds + 2> S;
};

// Fills the `words` words of S from the key bytes (size in bits) by RC5's key expansion; RC6
// uses it for its own table.
void RcExpandKey(std::uint32_t* S, std::uint32_t words, const std::uint8_t* key, std::uint32_t sizeBits);

}  // namespace vantrel
