#pragma once

// Small helpers the cipher tests share.
#include <cstdint>
#include <random>
#include <vector>

namespace vantrel::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes RandomBytes(std::mt19937& rng, std::size_t n) {
    Bytes b(n);
    for (auto& x : b) x = std::uint8_t(rng());
    return b;
}

// One block encrypted by a fresh Cipher keyed with `bits` bits of key (all of it by default).
template <class Cipher>
Bytes EncryptOnce(const Bytes& key, std::uint32_t bits, const Bytes& block) {
    Cipher c;
    c.SetKey(key.data(), bits);
    Bytes out(block.size());
    c.EncryptBlock(block.data(), out.data());
    return out;
}

template <class Cipher>
Bytes EncryptOnce(const Bytes& key, const Bytes& block) {
    return EncryptOnce<Cipher>(key, std::uint32_t(key.size() * 8), block);
}

}  // namespace vantrel::test
