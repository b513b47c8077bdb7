#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

// The bits of w that lie in a run of at least ten equal bits, equal both neighbours (outside
// the word counting as 0) and are not bit 0 or 1: where the key expansion may flip bits of a
// multiplication key to break up such runs.
std::uint32_t MarsFixMask(std::uint32_t w);

// MARS with the key expansion of its first publication (1998), not the revised one of 1999:
// the 40-word table T with the S-box words in front, seven stirring passes and the
// multiplication-key fix drawn from S[265..268]. Block and key words little-endian.
class TVC_mars final : public TVC_cipherImpl<TVC_mars, TVC_blockcipher128> {
public:
    int ClassId() const override { return 13; }
    std::string ClassAlgorithm() const override { return "Mars"; }
    int ClassMaxKeySize() const override { return 1248; }
    bool RunSelfTest() const override;
    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) override;
    void Wipe() override;

    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const;
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const;

    // The expanded key K[0..39]: whitening words 0..3 and 36..39, E-function pairs between.
    const std::uint32_t* ExpandedKey() const { return K.v; }

private:
    KeyTable<std::uint32_t, 40> K;
};

}  // namespace vantrel
