#pragma once

#include <cstddef>
#include <cstdint>

namespace vantrel {

// Marsaglia's KISS: a congruential part, a xorshift part and a multiply-with-carry part,
// summed. The process starts from fixed words and is never seeded, so the random passes of
// a run depend only on the order in which they draw.
struct TKISSState {
    std::uint32_t x = 123456789;
    std::uint32_t y = 362436000;
    std::uint32_t z = 521288629;
    std::uint32_t c = 7654321;

    std::uint32_t Next() {
        x = x * 69069u + 12345u;
        y ^= y << 13;
        y ^= y >> 17;
        y ^= y << 5;
        const std::uint64_t t = 698769069ull * z + c;
        z = static_cast<std::uint32_t>(t);
        c = static_cast<std::uint32_t>(t >> 32);
        return x + y + z;
    }
};

// Advances the process-wide state. Used by the shredder on its one worker thread only.
std::uint32_t KISSNext();
// KISSNext mod n, n > 0.
std::uint32_t KISSRandom(std::uint32_t n);
// Fills count bytes with KISSRandom(range) each, first byte first, advancing the state once
// per byte; the same values a loop over KISSRandom would give, without a call per byte.
void KISSFill(std::uint8_t* buffer, std::size_t count, std::uint32_t range);
// A copy of the process-wide state, so that callers can predict what comes next.
TKISSState KISSSnapshot();

}  // namespace vantrel
