// The AES-instruction path of TVC_rijndael. Only these functions are compiled for the AES
// instructions; the rest of the build runs on any x86 and reaches them after a run-time check.
#include "crypto/ciphers/Rijndael.h"

#if VANTREL_RIJNDAEL_AESNI

#include <immintrin.h>

namespace vantrel {

namespace {

VANTREL_AESNI_TARGET inline __m128i Load(const void* p) {
    return _mm_loadu_si128(static_cast<const __m128i*>(p));
}

VANTREL_AESNI_TARGET inline void Store(void* p, __m128i v) { _mm_storeu_si128(static_cast<__m128i*>(p), v); }

// CBC encryption is one block after the other, so its time is the latency of the rounds.
// The round keys are loaded once for the whole buffer. The xor of the next plaintext block
// and the first round key is folded into the last round of the block before, whose final
// step is an xor with its key: aesenclast(s, kLast ^ (p ^ k0)) yields c ^ p ^ k0, the next
// block's state after its first key, so nothing but the rounds stands on the chain; the
// ciphertext itself is recovered beside it.
template <int Rounds>
VANTREL_AESNI_TARGET void CbcEncryptRounds(const std::uint32_t* keys, std::uint8_t* chain, const std::uint8_t* in,
                                           std::uint8_t* out, std::size_t blocks) {
    __m128i k[Rounds + 1];
    for (int r = 0; r <= Rounds; ++r) k[r] = Load(keys + 4 * r);
    __m128i s = _mm_xor_si128(_mm_xor_si128(Load(chain), Load(in)), k[0]);
    for (;;) {
        for (int r = 1; r < Rounds; ++r) s = _mm_aesenc_si128(s, k[r]);
        if (--blocks == 0) break;
        const __m128i next = _mm_xor_si128(Load(in + 16), k[0]);
        s = _mm_aesenclast_si128(s, _mm_xor_si128(k[Rounds], next));
        Store(out, _mm_xor_si128(s, next));
        in += 16;
        out += 16;
    }
    s = _mm_aesenclast_si128(s, k[Rounds]);
    Store(out, s);
    Store(chain, s);
}

// Decryption has no chain between blocks: eight go through the rounds side by side, which
// keeps the AES unit busy. Every input block of a group is loaded before its output is
// stored, so in and out may be the same.
template <int Rounds>
VANTREL_AESNI_TARGET void CbcDecryptRounds(const std::uint32_t* keys, std::uint8_t* chain, const std::uint8_t* in,
                                           std::uint8_t* out, std::size_t blocks) {
    constexpr int W = 8;
    __m128i k[Rounds + 1];
    for (int r = 0; r <= Rounds; ++r) k[r] = Load(keys + 4 * r);
    __m128i prev = Load(chain);
    for (; blocks >= W; blocks -= W, in += 16 * W, out += 16 * W) {
        __m128i c[W], s[W];
        for (int j = 0; j < W; ++j) {
            c[j] = Load(in + 16 * j);
            s[j] = _mm_xor_si128(c[j], k[0]);
        }
        for (int r = 1; r < Rounds; ++r)
            for (int j = 0; j < W; ++j) s[j] = _mm_aesdec_si128(s[j], k[r]);
        for (int j = 0; j < W; ++j) s[j] = _mm_aesdeclast_si128(s[j], k[Rounds]);
        Store(out, _mm_xor_si128(s[0], prev));
        for (int j = 1; j < W; ++j) Store(out + 16 * j, _mm_xor_si128(s[j], c[j - 1]));
        prev = c[W - 1];
    }
    for (; blocks > 0; --blocks, in += 16, out += 16) {
        const __m128i c = Load(in);
        __m128i s = _mm_xor_si128(c, k[0]);
        for (int r = 1; r < Rounds; ++r) s = _mm_aesdec_si128(s, k[r]);
        Store(out, _mm_xor_si128(_mm_aesdeclast_si128(s, k[Rounds]), prev));
        prev = c;
    }
    Store(chain, prev);
}

}  // namespace

VANTREL_AESNI_TARGET void TVC_rijndael::CbcEncryptAesni(std::uint8_t* chain, const std::uint8_t* in,
                                                        std::uint8_t* out, std::size_t blocks) const {
    if (blocks == 0) return;
    switch (rounds_) {
        case 10: return CbcEncryptRounds<10>(EncKey.v, chain, in, out, blocks);
        case 12: return CbcEncryptRounds<12>(EncKey.v, chain, in, out, blocks);
        default: return CbcEncryptRounds<14>(EncKey.v, chain, in, out, blocks);
    }
}

VANTREL_AESNI_TARGET void TVC_rijndael::CbcDecryptAesni(std::uint8_t* chain, const std::uint8_t* in,
                                                        std::uint8_t* out, std::size_t blocks) const {
    switch (rounds_) {
        case 10: return CbcDecryptRounds<10>(DecKey.v, chain, in, out, blocks);
        case 12: return CbcDecryptRounds<12>(DecKey.v, chain, in, out, blocks);
        default: return CbcDecryptRounds<14>(DecKey.v, chain, in, out, blocks);
    }
}

void TVC_rijndael::EncryptAesni(const std::uint8_t* in, std::uint8_t* out) const {
    const std::uint32_t* k = EncKey.v;
    __m128i s = _mm_xor_si128(Load(in), Load(k));
    s = _mm_aesenc_si128(s, Load(k + 4));
    s = _mm_aesenc_si128(s, Load(k + 8));
    s = _mm_aesenc_si128(s, Load(k + 12));
    s = _mm_aesenc_si128(s, Load(k + 16));
    s = _mm_aesenc_si128(s, Load(k + 20));
    s = _mm_aesenc_si128(s, Load(k + 24));
    s = _mm_aesenc_si128(s, Load(k + 28));
    s = _mm_aesenc_si128(s, Load(k + 32));
    s = _mm_aesenc_si128(s, Load(k + 36));
    if (rounds_ > 10) {
        s = _mm_aesenc_si128(s, Load(k + 40));
        s = _mm_aesenc_si128(s, Load(k + 44));
        if (rounds_ > 12) {
            s = _mm_aesenc_si128(s, Load(k + 48));
            s = _mm_aesenc_si128(s, Load(k + 52));
        }
    }
    s = _mm_aesenclast_si128(s, Load(k + 4 * rounds_));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), s);
}

// DecKey already holds the equivalent inverse cipher's keys (the inner ones through
// InvMixColumns), which is the form aesdec expects.
void TVC_rijndael::DecryptAesni(const std::uint8_t* in, std::uint8_t* out) const {
    const std::uint32_t* k = DecKey.v;
    __m128i s = _mm_xor_si128(Load(in), Load(k));
    s = _mm_aesdec_si128(s, Load(k + 4));
    s = _mm_aesdec_si128(s, Load(k + 8));
    s = _mm_aesdec_si128(s, Load(k + 12));
    s = _mm_aesdec_si128(s, Load(k + 16));
    s = _mm_aesdec_si128(s, Load(k + 20));
    s = _mm_aesdec_si128(s, Load(k + 24));
    s = _mm_aesdec_si128(s, Load(k + 28));
    s = _mm_aesdec_si128(s, Load(k + 32));
    s = _mm_aesdec_si128(s, Load(k + 36));
    if (rounds_ > 10) {
        s = _mm_aesdec_si128(s, Load(k + 40));
        s = _mm_aesdec_si128(s, Load(k + 44));
        if (rounds_ > 12) {
            s = _mm_aesdec_si128(s, Load(k + 48));
            s = _mm_aesdec_si128(s, Load(k + 52));
        }
    }
    s = _mm_aesdeclast_si128(s, Load(k + 4 * rounds_));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), s);
}

}  // namespace vantrel

#endif
