#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

inline constexpr TKnownAnswer kBlowfishKnownAnswers[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
};
inline constexpr TCipherTraits kBlowfishTraits{5, "Blowfish", 448, 8, 0xFF, kBlowfishKnownAnswers};

// Blowfish, 16 rounds, with the published initial tables; blocks and key bytes big-endian.
class TVC_blowfish final : public TVC_cipherImpl<TVC_blowfish, kBlowfishTraits> {
public:
    VANTREL_CIPHER_PARTS(SBox, PBox)
    void CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;
    void CbcDecryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

private:
    std::uint32_t F(std::uint32_t x) const {
        return ((SBox[0][x >> 24] + SBox[1][(x >> 16) & 255]) ^ SBox[2][(x >> 8) & 255]) + SBox[3][x & 255];
    }
    void EncryptWords(std::uint32_t& l, std::uint32_t& r) const;
    void DecryptWords(std::uint32_t& l, std::uint32_t& r) const;

    KeyTable<std::uint32_t, 256> SBox[4];
    KeyTable<std::uint32_t, 18> PBox;
};

}  // namespace vantrel
