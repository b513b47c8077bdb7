#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

inline constexpr TKnownAnswer kSerpentKnownAnswers[] = {
    {"FFEEDDCCBBAA99887766554433221100", "1032547698BADCFEEFCDAB8967452301", "D5BAA00A4BB9D8A7C981C8DC90D89D92"},
    {"8899AABBCCDDEEFFFFEEDDCCBBAA99887766554433221100", "1032547698BADCFEEFCDAB8967452301",
    "DA860842B720802BF404A4C71034879A"},
};
inline constexpr TCipherTraits kSerpentTraits{26, "Serpent", 256, 16, 0x00, kSerpentKnownAnswers};

// Serpent as submitted to the AES process, in its bit-sliced form: 32 rounds, 33 subkeys,
// block and key words little-endian. A key shorter than 256 bits is padded with a single 1
// bit right after its last bit, then zeros.
class TVC_serpent final : public TVC_cipherImpl<TVC_serpent, kSerpentTraits> {
public:
    VANTREL_CIPHER_PARTS(SubKey)
    void CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

    // S-box `box` (0..7), or its inverse, applied as logic to 32 nibbles at once: bit j of
    // w[0..3] is bit 0..3 of nibble j.
    static void SBox(int box, bool inverse, std::uint32_t w[4]);

private:
    void EncryptWords(std::uint32_t w[4]) const;  // the block as four words, in place
    KeyTable<std::uint32_t, 132> SubKey;
};

}  // namespace vantrel
