#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

inline constexpr TKnownAnswer kRc6KnownAnswers[] = {
    {"0123456789ABCDEF0112233445566778", "02132435465768798A9BACBDCEDFE0F1", "524E192F4715C6231F51F6367EA43F18"},
    {"0123456789ABCDEF0112233445566778899AABBCCDDEEFF01032547698BADCFE", "02132435465768798A9BACBDCEDFE0F1",
    "C8241816F0D7E48920AD16A1674E5D48"},
};
inline constexpr TCipherTraits kRc6Traits{4, "RC6", 2048, 16, 0xFF, kRc6KnownAnswers};

// RC6-32/20: four little-endian 32-bit words, 20 rounds, 44 round keys.
class TVC_rc6 final : public TVC_cipherImpl<TVC_rc6, kRc6Traits> {
public:
    VANTREL_CIPHER_PARTS(S)

    static constexpr int kRounds = 20;

private:
    KeyTable<std::uint32_t, 2 * kRounds + 4> S;
};

}  // namespace vantrel
