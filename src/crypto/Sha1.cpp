#include "crypto/Sha1.h"

#include <cstring>

#include "base/Bytes.h"
#include "crypto/ciphers/tables/sha1_tables.h"

namespace vantrel {

using bytes::LoadBE32;
using bytes::Rotl32;
using bytes::StoreBE32;
namespace t = tables::sha1;

TVC_sha1::~TVC_sha1() {
    if (initialized_) Wipe();
}

void TVC_sha1::Init() {
    Wipe();
    std::memcpy(h_, t::H, sizeof h_);
    initialized_ = true;
}

void TVC_sha1::Wipe() {
    lenHi_ = lenLo_ = 0;
    index_ = 0;
    SecureZero(buffer_, sizeof buffer_);
    SecureZero(h_, sizeof h_);
    initialized_ = false;
}

void TVC_sha1::Compress() {
    std::uint32_t w[80];
    for (int i = 0; i < 16; ++i) w[i] = LoadBE32(buffer_ + 4 * i);
    for (int i = 16; i < 80; ++i) w[i] = Rotl32(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    std::uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4];
    auto step = [&](std::uint32_t f, std::uint32_t k, std::uint32_t wi) {
        std::uint32_t tmp = Rotl32(a, 5) + f + e + k + wi;
        e = d;
        d = c;
        c = Rotl32(b, 30);
        b = a;
        a = tmp;
    };
    for (int i = 0; i < 20; ++i) step((b & c) | (~b & d), t::K[0], w[i]);
    for (int i = 20; i < 40; ++i) step(b ^ c ^ d, t::K[1], w[i]);
    for (int i = 40; i < 60; ++i) step((b & c) | (b & d) | (c & d), t::K[2], w[i]);
    for (int i = 60; i < 80; ++i) step(b ^ c ^ d, t::K[3], w[i]);
    h_[0] += a;
    h_[1] += b;
    h_[2] += c;
    h_[3] += d;
    h_[4] += e;
    SecureZero(buffer_, sizeof buffer_);
    SecureZero(w, sizeof w);
}

void TVC_sha1::Update(const std::uint8_t* data, std::uint32_t size) {
    if (!initialized_) throw EVC_hash("Hash not initialized");
    std::uint32_t low = lenLo_ + (size << 3);
    lenHi_ += (size >> 29) + (low < lenLo_ ? 1 : 0);
    lenLo_ = low;
    while (size > 0) {
        std::uint32_t take = 64 - index_ < size ? 64 - index_ : size;
        std::memcpy(buffer_ + index_, data, take);
        index_ += take;
        data += take;
        size -= take;
        if (index_ == 64) {
            Compress();
            index_ = 0;
        }
    }
}

void TVC_sha1::Final(std::uint8_t* digest) {
    if (!initialized_) throw EVC_hash("Hash not initialized");
    buffer_[index_] = 0x80;
    if (index_ >= 56) Compress();
    StoreBE32(buffer_ + 56, lenHi_);
    StoreBE32(buffer_ + 60, lenLo_);
    Compress();
    for (int i = 0; i < 5; ++i) StoreBE32(digest + 4 * i, h_[i]);
    Wipe();
}

bool TVC_sha1::RunSelfTest() const {
    static const std::uint8_t kAbc[20] = {0xa9, 0x99, 0x3e, 0x36, 0x47, 0x06, 0x81, 0x6a, 0xba, 0x3e,
                                          0x25, 0x71, 0x78, 0x50, 0xc2, 0x6c, 0x9c, 0xd0, 0xd8, 0x9d};
    static const std::uint8_t kLong[20] = {0x84, 0x98, 0x3e, 0x44, 0x1c, 0x3b, 0xd2, 0x6e, 0xba, 0xae,
                                           0x4a, 0xa1, 0xf9, 0x51, 0x29, 0xe5, 0xe5, 0x46, 0x70, 0xf1};
    auto check = [](const char* text, const std::uint8_t* expected) {
        TVC_sha1 h;
        std::uint8_t out[20];
        h.Init();
        h.UpdateText(ByteString::FromAscii(text));
        h.Final(out);
        return std::memcmp(out, expected, 20) == 0;
    };
    bool a = check("abc", kAbc);
    bool b = check("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq", kLong);
    return a && b;
}

}  // namespace vantrel
