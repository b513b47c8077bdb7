#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

// The ICE round function and key schedule, parameterised by the level. Level 0 (Thin ICE)
// has 8 rounds from one 64-bit key group; level n has 16n rounds from n groups.
class TIceCore {
public:
    explicit TIceCore(int level);

    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits);
    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const;
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const;

    static constexpr int kMaxRounds = 32;
    // Per round: the two 20-bit xor keys and the 20-bit salt.
    KeyTable<std::uint32_t, 3 * kMaxRounds> RoundKeys;

private:
    std::uint32_t F(std::uint32_t r, const std::uint32_t* sk) const;
    void BuildRoundKeys(std::uint16_t kb[4], int first, const std::uint8_t* rot);

    const int level_;
    const int rounds_;
    // The four 1024-entry S-boxes, built once per process and shared by every instance.
    const std::uint32_t (*sbox_)[1024];
};

// The ICE family: the leaves pick the level and their identity.
template <const TCipherTraits& Traits, int Level>
class TVC_customice : public TVC_cipherImpl<TVC_customice<Traits, Level>, Traits> {
public:
    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) override { core_.ScheduleKey(key, sizeBits); }
    auto KeyTables() { return std::tie(core_.RoundKeys); }

    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const { core_.Encrypt(in, out); }
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const { core_.Decrypt(in, out); }

private:
    TIceCore core_{Level};
};

inline constexpr TKnownAnswer kThinIceKnownAnswers[] = {{"DEADBEEF01234567", "FEDCBA9876543210", "DE240D83A00A9CC0"}};
inline constexpr TKnownAnswer kIceKnownAnswers[] = {{"DEADBEEF01234567", "FEDCBA9876543210", "7D6EF1EF30D47A96"}};
inline constexpr TKnownAnswer kIce2KnownAnswers[] = {
    {"00112233445566778899AABBCCDDEEFF", "FEDCBA9876543210", "F94840D86972F21C"}};
inline constexpr TCipherTraits kThinIceTraits{21, "Thin Ice", 64, 8, 0x00, kThinIceKnownAnswers};
inline constexpr TCipherTraits kIceTraits{20, "Ice", 64, 8, 0x00, kIceKnownAnswers};
inline constexpr TCipherTraits kIce2Traits{22, "Ice2", 128, 8, 0x00, kIce2KnownAnswers};

using TVC_thinice = TVC_customice<kThinIceTraits, 0>;
using TVC_ice = TVC_customice<kIceTraits, 1>;
using TVC_ice2 = TVC_customice<kIce2Traits, 2>;

// Instantiated once, in Ice.cpp, where the block functions can be inlined into the modes.
#define VANTREL_ICE_INSTANCES(how)                                   \
    how class TVC_cipherImpl<TVC_thinice, kThinIceTraits>;          \
    how class TVC_customice<kThinIceTraits, 0>;                     \
    how class TVC_cipherImpl<TVC_ice, kIceTraits>;                  \
    how class TVC_customice<kIceTraits, 1>;                         \
    how class TVC_cipherImpl<TVC_ice2, kIce2Traits>;                \
    how class TVC_customice<kIce2Traits, 2>;
VANTREL_ICE_INSTANCES(extern template)

}  // namespace vantrel
