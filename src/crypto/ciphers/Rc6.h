#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

// RC6-32/20: four little-endian 32-bit words, 20 rounds, 44 round keys.
class TVC_rc6 final : public TVC_cipherImpl<TVC_rc6, TVC_blockcipher128> {
public:
    int ClassId() const override { return 4; }
    std::string ClassAlgorithm() const override { return "RC6"; }
    int ClassMaxKeySize() const override { return 2048; }
    bool RunSelfTest() const override;
    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) override;
    void Wipe() override;

    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const;
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const;

    static constexpr int kRounds = 20;

private:
    KeyTable<std::uint32_t, 2 * kRounds + 4> S;
};

}  // namespace vantrel
