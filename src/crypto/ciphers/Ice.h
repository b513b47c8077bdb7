#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

// The ICE family: one round function and one key schedule, parameterised by the level.
// Level 0 (Thin ICE) has 8 rounds from one 64-bit key group; level n has 16n rounds from n
// groups. The leaves only pick the level and their identity.
class TVC_customice : public TVC_cipherImpl<TVC_customice, TVC_blockcipher64> {
public:
    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) override;
    void Wipe() override;

    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const;
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const;

protected:
    explicit TVC_customice(int level);

private:
    static constexpr int kMaxRounds = 32;

    std::uint32_t F(std::uint32_t r, const std::uint32_t* sk) const;
    void BuildRoundKeys(std::uint16_t kb[4], int first, const std::uint8_t* rot);

    const int level_;
    const int rounds_;
    // The four 1024-entry S-boxes, built once per process and shared by every instance.
    const std::uint32_t (*sbox_)[1024];
    // Per round: the two 20-bit xor keys and the 20-bit salt.
    KeyTable<std::uint32_t, 3 * kMaxRounds> RoundKeys;
};

class TVC_thinice final : public TVC_customice {
public:
    TVC_thinice() : TVC_customice(0) {}
    int ClassId() const override { return 21; }
    std::string ClassAlgorithm() const override { return "Thin Ice"; }
    int ClassMaxKeySize() const override { return 64; }
    bool RunSelfTest() const override;
};

class TVC_ice final : public TVC_customice {
public:
    TVC_ice() : TVC_customice(1) {}
    int ClassId() const override { return 20; }
    std::string ClassAlgorithm() const override { return "Ice"; }
    int ClassMaxKeySize() const override { return 64; }
    bool RunSelfTest() const override;
};

class TVC_ice2 final : public TVC_customice {
public:
    TVC_ice2() : TVC_customice(2) {}
    int ClassId() const override { return 22; }
    std::string ClassAlgorithm() const override { return "Ice2"; }
    int ClassMaxKeySize() const override { return 128; }
    bool RunSelfTest() const override;
};

}  // namespace vantrel
