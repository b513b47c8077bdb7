#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

inline constexpr TKnownAnswer kMisty1KnownAnswers[] = {
    {"00112233445566778899AABBCCDDEEFF", "0123456789ABCDEF", "8B1DA5F56AB3D07C"},
    {"00112233445566778899AABBCCDDEEFF", "FEDCBA9876543210", "04B68240B13BE95D"},
};
inline constexpr TCipherTraits kMisty1Traits{11, "Misty1", 128, 8, 0x00, kMisty1KnownAnswers};

// MISTY1: 8 rounds with FL layers, a 128-bit key as eight big-endian 16-bit words expanded
// through FI; blocks as two big-endian halves.
class TVC_misty1 final : public TVC_cipherImpl<TVC_misty1, kMisty1Traits> {
public:
    VANTREL_CIPHER_PARTS(EK)

private:
    std::uint32_t FO(std::uint32_t x, int k) const;
    std::uint32_t FL(std::uint32_t x, int k) const;
    std::uint32_t FLInv(std::uint32_t x, int k) const;

    // K1..K8 (the key words) followed by K'1..K'8 (their FI expansion).
    KeyTable<std::uint16_t, 16> EK;
};

}  // namespace vantrel
