#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

inline constexpr TKnownAnswer kRc2KnownAnswers[] = {
    {"000102030405060708090A0B0C0D0E0F", "0000000000000000", "50DC0162BD757F31"},
    {"00000000000000000000000000000001", "0000000000000000", "21829C78A9F9C074"},
};
inline constexpr TCipherTraits kRc2Traits{1, "RC2", 1024, 8, 0x00, kRc2KnownAnswers};

// RC2 with an effective key length of 1024 bits on four little-endian 16-bit words. The key
// expansion starts from exactly the bytes it is given; nothing is padded.
class TVC_rc2 final : public TVC_cipherImpl<TVC_rc2, kRc2Traits> {
public:
    VANTREL_CIPHER_PARTS(K)

private:
    KeyTable<std::uint16_t, 64> K;
};

}  // namespace vantrel
