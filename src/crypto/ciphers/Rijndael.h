#pragma once

#include <atomic>

#include "crypto/CipherImpl.h"

#if defined(__x86_64__) || defined(__i386__)
#define VANTREL_RIJNDAEL_AESNI 1
#define VANTREL_AESNI_TARGET __attribute__((target("aes,sse4.1")))
#else
#define VANTREL_RIJNDAEL_AESNI 0
#endif

namespace vantrel {

inline constexpr TKnownAnswer kRijndaelKnownAnswers[] = {
    {"00010203050607080A0B0C0D0F101112", "506812A45F08C889B97F5980038B8359",
     "D8F532538289EF7D06B506A4FD5BE9C9"},
    {"A0A1A2A3A5A6A7A8AAABACADAFB0B1B2B4B5B6B7B9BABBBC", "4F1C769D1E5B0552C7ECA84DEA26A549",
     "F3847210D5391E2360608E5ACB560581"},
    {"000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F",
     "00112233445566778899AABBCCDDEEFF", "8EA2B7CA516745BFEAFC49904B496089"},
};
inline constexpr TCipherTraits kRijndaelTraits{9, "Rijndael", 256, 16, 0x00, kRijndaelKnownAnswers};

// Rijndael with a 128-bit block (AES), keyed with any whole number of bytes up to 32: the key
// is zero-extended to the next of 16, 24 or 32 bytes, which also picks 10, 12 or 14 rounds.
// A 20-byte digest therefore runs as AES-192 with four zero bytes behind it.
//
// Two interchangeable block paths: word tables, and the processor's AES instructions where
// present. The path is fixed when the key is scheduled, so the block functions test one flag.
// Round keys are kept as little-endian words, which puts them in memory in the byte order the
// AES instructions load; decryption uses the equivalent inverse cipher on both paths, so one
// set of decryption round keys serves both.
class TVC_rijndael final : public TVC_cipherImpl<TVC_rijndael, kRijndaelTraits> {
public:
    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) override;
    auto KeyTables() { return std::tie(EncKey, DecKey); }

    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
#if VANTREL_RIJNDAEL_AESNI
        if (aesni_) return EncryptAesni(in, out);
#endif
        EncryptTables(in, out);
    }
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
#if VANTREL_RIJNDAEL_AESNI
        if (aesni_) return DecryptAesni(in, out);
#endif
        DecryptTables(in, out);
    }

    // CBC over whole blocks; on the instruction path the round keys stay in registers for the
    // whole buffer, and decryption runs eight blocks side by side.
    void CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;
    void CbcDecryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

    // Whether this processor has the AES instructions.
    static bool HasAesInstructions();
    // Keys scheduled while this is set use the table path even where the instructions exist;
    // tests use it to hold the two paths against each other.
    static void ForceTablePath(bool on) { forceTables_.store(on, std::memory_order_relaxed); }
    // The path chosen at the last ScheduleKey.
    bool UsesAesInstructions() const { return aesni_; }

private:
    static constexpr std::size_t kMaxRoundKeyWords = 4 * (14 + 1);

    void EncryptTables(const std::uint8_t* in, std::uint8_t* out) const;
    void DecryptTables(const std::uint8_t* in, std::uint8_t* out) const;
#if VANTREL_RIJNDAEL_AESNI
    VANTREL_AESNI_TARGET void EncryptAesni(const std::uint8_t* in, std::uint8_t* out) const;
    VANTREL_AESNI_TARGET void DecryptAesni(const std::uint8_t* in, std::uint8_t* out) const;
    VANTREL_AESNI_TARGET void CbcEncryptAesni(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;
    VANTREL_AESNI_TARGET void CbcDecryptAesni(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;
#endif

    // Round r uses words 4r to 4r+3; DecKey holds the equivalent inverse cipher's keys in the
    // order decryption uses them.
    alignas(16) KeyTable<std::uint32_t, kMaxRoundKeyWords> EncKey;
    alignas(16) KeyTable<std::uint32_t, kMaxRoundKeyWords> DecKey;
    int rounds_ = 0;
    bool aesni_ = false;

    static inline std::atomic<bool> forceTables_{false};
};

}  // namespace vantrel
