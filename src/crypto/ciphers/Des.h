#pragma once

#include "crypto/CipherImpl.h"

namespace vantrel {

// The DES core that single and triple DES share. A schedule holds two words per round, laid
// out for the combined S-box/permutation tables of the round function.
namespace descore {

using Schedule = KeyTable<std::uint32_t, 32>;

// One 8-byte key (parity bits ignored) to the 16 round keys.
void ExpandKey(const std::uint8_t* key, Schedule& ks);
// One DES pass over a block; Forward encrypts, otherwise decrypts.
template <bool Forward>
void Single(const Schedule& ks, const std::uint8_t* in, std::uint8_t* out);
// Three passes with one initial and one final permutation: a forward, b backward, c forward
// when Forward, else all three the other way round.
template <bool Forward>
void Triple(const Schedule& a, const Schedule& b, const Schedule& c, const std::uint8_t* in, std::uint8_t* out);

}  // namespace descore

// Family base of the DES ciphers: the round-key builder and the block routines, shared by
// single DES (one schedule) and triple DES (three).
template <class Derived, const TCipherTraits& Traits>
class TVC_customdes : public TVC_cipherImpl<Derived, Traits> {
protected:
    using Schedule = descore::Schedule;

    static void BuildSchedule(const std::uint8_t* key8, Schedule& ks) { descore::ExpandKey(key8, ks); }
};

inline constexpr TKnownAnswer kDesKnownAnswers[] = {
    {"0170F175468FB5E6", "0756D8E0774761D2", "0CD3DA020021DC09"},
    {"025816164629B007", "480D39006EE762F2", "A1F9915541020B56"},
};
inline constexpr TCipherTraits kDesTraits{23, "DES", 64, 8, 0x00, kDesKnownAnswers};

// DES, 16 rounds between the initial and final permutations; an 8-byte zero-padded key.
class TVC_des final : public TVC_customdes<TVC_des, kDesTraits> {
public:
    VANTREL_CIPHER_PARTS(K)

private:
    Schedule K;
};

inline constexpr TKnownAnswer k3DesKnownAnswers[] = {
    {"0123456789ABCDEF FEDCBA9876543210 89ABCDEF01234567", "0123456789ABCDE7", "DE0B7C06AE5E0ED5"},
};
inline constexpr TCipherTraits k3DesTraits{24, "3DES", 192, 8, 0x00, k3DesKnownAnswers};

// Triple DES, encrypt-decrypt-encrypt. A key of up to 128 bits is two-key triple DES (the
// third pass reuses K1); above that K3 comes from bytes 16 to 23 of the zero-padded key.
class TVC_3des final : public TVC_customdes<TVC_3des, k3DesTraits> {
public:
    VANTREL_CIPHER_PARTS(K1, K2, K3)

private:
    Schedule K1, K2, K3;
};

}  // namespace vantrel
