#include "crypto/ciphers/Tea.h"

#include <algorithm>
#include <memory>

#include "base/Bytes.h"

namespace vantrel {

using bytes::LoadBE32;
using bytes::StoreBE32;

namespace {
constexpr std::uint32_t kDelta = 0x9E3779B9u;
constexpr std::uint32_t kFinalSum = kDelta * 32u;  // C6EF3720
}  // namespace

void TVC_tea::Encrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t x = LoadBE32(in), y = LoadBE32(in + 4);
    const std::uint32_t k0 = Key[0], k1 = Key[1], k2 = Key[2], k3 = Key[3];
    std::uint32_t sum = 0;
    for (int i = 0; i < 32; ++i) {
        sum += kDelta;
        x += (y << 4) + (y ^ k0) + ((y >> 5) ^ sum) + k1;
        y += (x << 4) + (x ^ k2) + ((x >> 5) ^ sum) + k3;
    }
    StoreBE32(out, x);
    StoreBE32(out + 4, y);
}

void TVC_tea::Decrypt(const std::uint8_t* in, std::uint8_t* out) const {
    std::uint32_t x = LoadBE32(in), y = LoadBE32(in + 4);
    const std::uint32_t k0 = Key[0], k1 = Key[1], k2 = Key[2], k3 = Key[3];
    std::uint32_t sum = kFinalSum;
    for (int i = 0; i < 32; ++i) {
        y -= (x << 4) + (x ^ k2) + ((x >> 5) ^ sum) + k3;
        x -= (y << 4) + (y ^ k0) + ((y >> 5) ^ sum) + k1;
        sum -= kDelta;
    }
    StoreBE32(out, x);
    StoreBE32(out + 4, y);
}

void TVC_tea::ScheduleKey(const std::uint8_t* key, std::uint32_t sizeBits) {
    std::uint8_t k[16] = {};
    std::memcpy(k, key, std::min<std::size_t>(sizeBits / 8, sizeof k));
    for (std::size_t i = 0; i < 4; ++i) Key[i] = LoadBE32(k + 4 * i);
    SecureZero(k, sizeof k);
}

}  // namespace vantrel
