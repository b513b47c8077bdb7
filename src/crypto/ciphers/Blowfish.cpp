#include "crypto/ciphers/Blowfish.h"

#include "base/Bytes.h"
#include "crypto/ciphers/CbcWords.h"
#include "crypto/ciphers/tables/blowfish_tables.h"

namespace vantrel {

using bytes::LoadBE32;
using bytes::StoreBE32;
namespace t = tables::blowfish;

void TVC_blowfish::EncryptWords(std::uint32_t& l, std::uint32_t& r) const {
    const auto& p = PBox;
    l ^= p[0];
    r ^= F(l) ^ p[1];
    l ^= F(r) ^ p[2];
    r ^= F(l) ^ p[3];
    l ^= F(r) ^ p[4];
    r ^= F(l) ^ p[5];
    l ^= F(r) ^ p[6];
    r ^= F(l) ^ p[7];
    l ^= F(r) ^ p[8];
    r ^= F(l) ^ p[9];
    l ^= F(r) ^ p[10];
    r ^= F(l) ^ p[11];
    l ^= F(r) ^ p[12];
    r ^= F(l) ^ p[13];
    l ^= F(r) ^ p[14];
    r ^= F(l) ^ p[15];
    l ^= F(r) ^ p[16];
    r ^= p[17];
    std::swap(l, r);
}

void TVC_blowfish::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t l = LoadBE32(in), r = LoadBE32(in + 4);
    EncryptWords(l, r);
    StoreBE32(out, l);
    StoreBE32(out + 4, r);
}

void TVC_blowfish::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t l = LoadBE32(in), r = LoadBE32(in + 4);
    DecryptWords(l, r);
    StoreBE32(out, l);
    StoreBE32(out + 4, r);
}

[[gnu::flatten]] void TVC_blowfish::CbcEncryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out,
                                    std::size_t blocks) const {
    cbcwords::Encrypt64<true>(chain, in, out, blocks, [this](std::uint32_t& l, std::uint32_t& r) { EncryptWords(l, r); });
}

[[gnu::flatten]] void TVC_blowfish::CbcDecryptBlocks(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out,
                                    std::size_t blocks) const {
    cbcwords::Decrypt64<true>(chain, in, out, blocks, [this](std::uint32_t& l, std::uint32_t& r) { DecryptWords(l, r); });
}

// The rounds of EncryptWords backwards; the halves come out swapped back.
void TVC_blowfish::DecryptWords(std::uint32_t& l, std::uint32_t& r) const {
    const auto& p = PBox;
    l ^= p[17];
    r ^= F(l) ^ p[16];
    l ^= F(r) ^ p[15];
    r ^= F(l) ^ p[14];
    l ^= F(r) ^ p[13];
    r ^= F(l) ^ p[12];
    l ^= F(r) ^ p[11];
    r ^= F(l) ^ p[10];
    l ^= F(r) ^ p[9];
    r ^= F(l) ^ p[8];
    l ^= F(r) ^ p[7];
    r ^= F(l) ^ p[6];
    l ^= F(r) ^ p[5];
    r ^= F(l) ^ p[4];
    l ^= F(r) ^ p[3];
    r ^= F(l) ^ p[2];
    l ^= F(r) ^ p[1];
    r ^= p[0];
    std::swap(l, r);
}

void TVC_blowfish::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    const std::uint32_t n = sizeBits / 8;
    // Four bits hold no key byte; the base's size check lets them through.
    if (n == 0) throw EVC_cipher("Invalid key size");
    for (int s = 0; s < 4; ++s) std::memcpy(SBox[s].v, s == 0 ? t::S0 : s == 1 ? t::S1 : s == 2 ? t::S2 : t::S3, 1024);
    std::memcpy(PBox.v, t::P, sizeof PBox.v);
    std::uint32_t k = 0;
    for (int i = 0; i < 18; ++i) {
        std::uint32_t w = 0;
        for (int j = 0; j < 4; ++j) w = (w << 8) | key[(k + j) % n];
        PBox[i] ^= w;
        k = (k + 4) % n;
    }
    std::uint32_t l = 0, r = 0;
    for (int i = 0; i < 18; i += 2) {
        EncryptWords(l, r);
        PBox[i] = l;
        PBox[i + 1] = r;
    }
    for (auto& s : SBox)
        for (int i = 0; i < 256; i += 2) {
            EncryptWords(l, r);
            s[i] = l;
            s[i + 1] = r;
        }
}

}  // namespace vantrel
