#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

inline constexpr TKnownAnswer kIdeaKnownAnswers[] = {
    {"3A984E2000195DB32EE501C8C47CEA60", "0102030405060708", "97BCD8200780DA86"},
    {"006400C8012C019001F4025802BC0320", "05320A6414C819FA", "65BE87E7A2538AED"},
};
inline constexpr TCipherTraits kIdeaTraits{12, "IDEA", 128, 8, 0x00, kIdeaKnownAnswers};

// IDEA: 8 rounds and the output transformation on four big-endian 16-bit words, the key
// taken as 16 bytes (a shorter key is extended with zero bytes). The decryption subkeys are
// derived once in ScheduleKey, so both directions run the same round routine.
class TVC_idea final : public TVC_cipherImpl<TVC_idea, kIdeaTraits> {
public:
    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) override;
    auto KeyTables() { return std::tie(EncKey, DecKey); }

    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const { Crypt(EncKey, in, out); }
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const { Crypt(DecKey, in, out); }
    void CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;
    void CbcDecryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

    static constexpr int kSubkeys = 52;

private:
    // Subkeys are kept widened to 32 bits so the round code does no zero extension.
    using Schedule = KeyTable<std::uint32_t, kSubkeys>;
    static void Crypt(const Schedule& k, const std::uint8_t* in, std::uint8_t* out);
    // The rounds and the output transformation on the block's four words, in place.
    static void CryptWords(const Schedule& k, std::uint32_t x[4]);

    Schedule EncKey;
    Schedule DecKey;
};

}  // namespace vantrel
