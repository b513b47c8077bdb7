#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

// CAST-256: the key zero-padded to 32 bytes as eight big-endian words; 12 quad-rounds (six
// forward, six reverse); blocks as four big-endian words.
class TVC_cast256 final : public TVC_cipherImpl<TVC_cast256, TVC_blockcipher128> {
public:
    int ClassId() const override { return 15; }
    std::string ClassAlgorithm() const override { return "Cast256"; }
    int ClassMaxKeySize() const override { return 256; }
    bool RunSelfTest() const override;
    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) override;
    void Wipe() override;

    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const;
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const;
    void CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

private:
    void EncryptWords(std::uint32_t w[4]) const;  // the block as four words, in place
    // Four per quad-round.
    KeyTable<std::uint32_t, 48> Km;  // masking keys
    KeyTable<std::uint32_t, 48> Kr;  // rotation amounts, 0 to 31
};

}  // namespace vantrel
