#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

// A TEA variant: 32 cycles on two big-endian words under four big-endian key words, with
// the three terms of each half-round added together rather than xored as in the published
// TEA. Files written under it are readable only with this exact round function.
class TVC_tea final : public TVC_cipherImpl<TVC_tea, TVC_blockcipher64> {
public:
    int ClassId() const override { return 25; }
    std::string ClassAlgorithm() const override { return "Tea"; }
    int ClassMaxKeySize() const override { return 128; }
    bool RunSelfTest() const override;
    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) override;
    void Wipe() override;

    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const;
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const;

private:
    KeyTable<std::uint32_t, 4> Key;
};

}  // namespace vantrel
