#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

// No known ciphertext is stored for this variant: the self-test asks only that a block
// changes under encryption and comes back under decryption.
inline constexpr TKnownAnswer kTeaKnownAnswers[] = {
    {"78563412F0DEBC9AA9CBED0F21436587", "78563412F0DEBC9A", ""},
};
inline constexpr TCipherTraits kTeaTraits{25, "Tea", 128, 8, 0x00, kTeaKnownAnswers};

// A TEA variant: 32 cycles on two big-endian words under four big-endian key words, with
// the three terms of each half-round added together rather than xored as in the published
// TEA. Files written under it are readable only with this exact round function.
class TVC_tea final : public TVC_cipherImpl<TVC_tea, kTeaTraits> {
public:
    VANTREL_CIPHER_PARTS(Key)

private:
    KeyTable<std::uint32_t, 4> Key;
};

}  // namespace vantrel
