#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

inline constexpr TCipherTraits kTwofishTraits{6, "Twofish", 256, 16, 0xFF, {}};

// Twofish, 16 rounds, block and key words little-endian. The key is rounded up with zero
// bytes to 128, 192 or 256 bits. Full keying: the key-dependent S-boxes are folded with the
// MDS columns into four 256-word tables in ScheduleKey, so g is four look-ups.
class TVC_twofish final : public TVC_cipherImpl<TVC_twofish, kTwofishTraits> {
public:
    bool RunSelfTest() const override;
    VANTREL_CIPHER_PARTS(SBox, K)

    // The published iterated test: 49 encryptions, each keyed with the previous plaintext in
    // front of the previous key; keyBits is 128, 192 or 256. Returns the last ciphertext.
    static void IteratedTest(std::uint32_t keyBits, std::uint8_t result[16]);

private:
    std::uint32_t G0(std::uint32_t x) const {
        return SBox[0][x & 255] ^ SBox[1][(x >> 8) & 255] ^ SBox[2][(x >> 16) & 255] ^ SBox[3][x >> 24];
    }
    // g of the word rotated left by 8, without the rotation.
    std::uint32_t G1(std::uint32_t x) const {
        return SBox[0][x >> 24] ^ SBox[1][x & 255] ^ SBox[2][(x >> 8) & 255] ^ SBox[3][(x >> 16) & 255];
    }

    KeyTable<std::uint32_t, 256> SBox[4];
    KeyTable<std::uint32_t, 40> K;
};

}  // namespace vantrel
