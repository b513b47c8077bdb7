#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

// RC5-32/12: two little-endian 32-bit words, 12 rounds, 26 round keys.
class TVC_rc5 final : public TVC_cipherImpl<TVC_rc5, TVC_blockcipher64> {
public:
    int ClassId() const override { return 3; }
    std::string ClassAlgorithm() const override { return "RC5"; }
    int ClassMaxKeySize() const override { return 2048; }
    bool RunSelfTest() const override;
    void ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) override;
    void Wipe() override;

    void Encrypt(const std::uint8_t* in, std::uint8_t* out) const;
    void Decrypt(const std::uint8_t* in, std::uint8_t* out) const;
    void CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;
    void CbcDecryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks) const;

    static constexpr int kRounds = 12;

private:
    void EncryptWords(std::uint32_t& a, std::uint32_t& b) const;
    void DecryptWords(std::uint32_t& a, std::uint32_t& b) const;

    KeyTable<std::uint32_t, 2 * kRounds + 2> S;
};

// Fills the `words` words of S from the key bytes (size in bits) by RC5's key expansion; RC6
// uses it for its own table.
void RcExpandKey(std::uint32_t* S, std::uint32_t words, const std::uint8_t* key, std::uint32_t sizeBits);

}  // namespace vantrel
