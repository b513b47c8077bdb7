#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

// The bits of w that lie in a run of at least ten equal bits, equal both neighbours (outside
// the word counting as 0) and are not bit 0 or 1: where the key expansion may flip bits of a
// multiplication key to break up such runs.
std::uint32_t MarsFixMask(std::uint32_t w);

inline constexpr TKnownAnswer kMarsKnownAnswers[] = {
    {"3251B3DEDE96C2836B9E063938244C99", "3251B3DEDE96C2836B9E063938244C99", "F94512A9B42D034EC4792204D708A69B"},
    {"791739A58B04581A93A953A82C10411DD158860838874D95", "6761C42D3E6142D2A84FBFADB383158F",
    "CB340326457F586D54BDD2E0571C19BD"},
};
inline constexpr TCipherTraits kMarsTraits{13, "Mars", 1248, 16, 0xFF, kMarsKnownAnswers};

// MARS with the key expansion of its first publication (1998), not the revised one of 1999:
// the 40-word table T with the S-box words in front, seven stirring passes and the
// multiplication-key fix drawn from S[265..268]. Block and key words little-endian.
class TVC_mars final : public TVC_cipherImpl<TVC_mars, kMarsTraits> {
public:
    VANTREL_CIPHER_PARTS(K)

    // The expanded key K[0..39]: whitening words 0..3 and 36..39, E-function pairs between.
    const std::uint32_t* ExpandedKey() const { return K.v; }

private:
    KeyTable<std::uint32_t, 40> K;
};

}  // namespace vantrel
