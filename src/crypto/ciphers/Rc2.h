#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

// RC2 with an effective key length of 1024 bits on four little-endian 16-bit words. The key
// expansion starts from exactly the bytes it is given; nothing is padded.
class TVC_rc2 final : public TVC_cipherImpl<TVC_rc2, TVC_blockcipher64> {
public:
    int ClassId() const override { return 1; }
    std::string ClassAlgorithm() const override { return "RC2"; }
    int ClassMaxKeySize() const override { return 1024; }
    bool RunSelfTest() const override;
    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) override;
    void Wipe() override;

    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const;
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const;

private:
    KeyTable<std::uint16_t, 64> K;
};

}  // namespace vantrel
