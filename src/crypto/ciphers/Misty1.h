#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

// MISTY1: 8 rounds with FL layers, a 128-bit key as eight big-endian 16-bit words expanded
// through FI; blocks as two big-endian halves.
class TVC_misty1 final : public TVC_cipherImpl<TVC_misty1, TVC_blockcipher64> {
public:
    int ClassId() const override { return 11; }
    std::string ClassAlgorithm() const override { return "Misty1"; }
    int ClassMaxKeySize() const override { return 128; }
    bool RunSelfTest() const override;
    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) override;
    void Wipe() override;

    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const;
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const;

private:
    std::uint32_t FO(std::uint32_t x, int k) const;
    std::uint32_t FL(std::uint32_t x, int k) const;
    std::uint32_t FLInv(std::uint32_t x, int k) const;

    // K1..K8 (the key words) followed by K'1..K'8 (their FI expansion).
    KeyTable<std::uint16_t, 16> EK;
};

}  // namespace vantrel
