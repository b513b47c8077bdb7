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

}  // namespace

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
