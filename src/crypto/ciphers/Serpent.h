#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

// Serpent as submitted to the AES process, in its bit-sliced form: 32 rounds, 33 subkeys,
// block and key words little-endian. A key shorter than 256 bits is padded with a single 1
// bit right after its last bit, then zeros.
class TVC_serpent final : public TVC_cipherImpl<TVC_serpent, TVC_blockcipher128> {
public:
    int ClassId() const override { return 26; }
    std::string ClassAlgorithm() const override { return "Serpent"; }
    int ClassMaxKeySize() const override { return 256; }
    bool RunSelfTest() const override;
    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) override;
    void Wipe() override;

    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const;
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const;
    void CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

    // S-box `box` (0..7), or its inverse, applied as logic to 32 nibbles at once: bit j of
    // w[0..3] is bit 0..3 of nibble j.
    static void SBox(int box, bool inverse, std::uint32_t w[4]);

private:
    void EncryptWords(std::uint32_t w[4]) const;  // the block as four words, in place
    KeyTable<std::uint32_t, 132> SubKey;
};

}  // namespace vantrel
