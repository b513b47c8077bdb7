#pragma once

#include <cstdint>

// Word packing at the edges of the ciphers. Each cipher states its byte order; these keep
// the shifts in one place and compile to single loads and byte swaps.
namespace vantrel::bytes {

inline std::uint32_t LoadBE32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}
inline void StoreBE32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}
inline std::uint32_t LoadLE32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}
inline void StoreLE32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}
inline std::uint16_t LoadBE16(const std::uint8_t* p) { return std::uint16_t((p[0] << 8) | p[1]); }
inline void StoreBE16(std::uint8_t* p, std::uint16_t v) {
    p[0] = std::uint8_t(v >> 8);
    p[1] = std::uint8_t(v);
}
inline std::uint16_t LoadLE16(const std::uint8_t* p) { return std::uint16_t(p[0] | (p[1] << 8)); }
inline void StoreLE16(std::uint8_t* p, std::uint16_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
// The value as computed, opaque to the compiler: a partial sum or xor stays grouped as
// written instead of being folded back into one long chain of steps that wait on each other.
// The round functions use it where they are grouped for a shorter path.
inline std::uint32_t Grouped(std::uint32_t v) {
#if defined(__GNUC__)
    __asm__("" : "+r"(v));
#endif
    return v;
}

inline constexpr std::uint32_t Rotl32(std::uint32_t x, unsigned r) {
    r &= 31;
    return r ? (x << r) | (x >> (32 - r)) : x;
}
inline constexpr std::uint32_t Rotr32(std::uint32_t x, unsigned r) {
    r &= 31;
    return r ? (x >> r) | (x << (32 - r)) : x;
}

}  // namespace vantrel::bytes
