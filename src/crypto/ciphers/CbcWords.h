#pragma once

#include <cstddef>
#include <cstdint>

#include <bit>
#include <cstring>

namespace vantrel::cbcwords {

// Whole-word loads and stores: built from bytes, the two stores of a block tend to be
// merged into one shifted-together 64-bit store, some forty instructions per block.
template <bool BigEndian>
inline std::uint32_t Load(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    if constexpr (BigEndian != (std::endian::native == std::endian::big)) v = __builtin_bswap32(v);
    return v;
}
template <bool BigEndian>
inline void Store(std::uint8_t* p, std::uint32_t v) {
    if constexpr (BigEndian != (std::endian::native == std::endian::big)) v = __builtin_bswap32(v);
    std::memcpy(p, &v, 4);
}

// CBC encryption of a 64-bit block held as two 32-bit words, the chain kept in registers
// from one block to the next. Going through bytes in memory instead costs every block a
// store and a reload on the chain, and a reload that spans two narrower stores waits for
// them to reach the cache. encrypt(l, r) turns the block's first and second word into the
// ciphertext's first and second word; BigEndian is the cipher's word order.
template <bool BigEndian, class Encrypt>
inline void Encrypt64(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks,
                      Encrypt&& encrypt) {
    const auto load = Load<BigEndian>;
    const auto store = Store<BigEndian>;
    std::uint32_t l = load(chain), r = load(chain + 4);
    for (; blocks > 0; --blocks, in += 8, out += 8) {
        l ^= load(in);
        r ^= load(in + 4);
#if defined(__GNUC__)
        // Joined here, not in the first round: there the compiler would xor the plaintext and
        // the chain into the round's result one after the other, a step more on the chain.
        __asm__("" : "+r"(l), "+r"(r));
#endif
        encrypt(l, r);
        store(out, l);
        store(out + 4, r);
    }
    store(chain, l);
    store(chain + 4, r);
}

// CBC decryption the same way: decrypt(l, r) turns ciphertext words into the plaintext
// words before the chain. In and out may be the same.
template <bool BigEndian, class Decrypt>
inline void Decrypt64(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks,
                      Decrypt&& decrypt) {
    const auto load = Load<BigEndian>;
    const auto store = Store<BigEndian>;
    std::uint32_t cl = load(chain), cr = load(chain + 4);
    for (; blocks > 0; --blocks, in += 8, out += 8) {
        const std::uint32_t l0 = load(in), r0 = load(in + 4);
        std::uint32_t l = l0, r = r0;
        decrypt(l, r);
        store(out, l ^ cl);
        store(out + 4, r ^ cr);
        cl = l0;
        cr = r0;
    }
    store(chain, cl);
    store(chain + 4, cr);
}

// The same for a 128-bit block as four 32-bit words: encrypt(w) turns the four words in place.
template <bool BigEndian, class Encrypt>
inline void Encrypt128(std::uint8_t* chain, const std::uint8_t* in, std::uint8_t* out, std::size_t blocks,
                       Encrypt&& encrypt) {
    std::uint32_t w[4];
    for (int i = 0; i < 4; ++i) w[i] = Load<BigEndian>(chain + 4 * i);
    for (; blocks > 0; --blocks, in += 16, out += 16) {
        for (int i = 0; i < 4; ++i) w[i] ^= Load<BigEndian>(in + 4 * i);
        encrypt(w);
        for (int i = 0; i < 4; ++i) Store<BigEndian>(out + 4 * i, w[i]);
    }
    for (int i = 0; i < 4; ++i) Store<BigEndian>(chain + 4 * i, w[i]);
}

}  // namespace vantrel::cbcwords
