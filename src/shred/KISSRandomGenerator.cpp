#include "shred/KISSRandomGenerator.h"

namespace vantrel {

namespace {
TKISSState gState;  // constant-initialised: ready before any code runs

template <std::uint32_t Range>
void FillFixedRange(TKISSState& s, std::uint8_t* buffer, std::size_t count) {
    // A constant divisor lets the compiler replace the division by a multiplication.
    for (std::size_t i = 0; i < count; ++i) buffer[i] = static_cast<std::uint8_t>(s.Next() % Range);
}
}  // namespace

std::uint32_t KISSNext() { return gState.Next(); }

std::uint32_t KISSRandom(std::uint32_t n) { return gState.Next() % n; }

void KISSFill(std::uint8_t* buffer, std::size_t count, std::uint32_t range) {
    // Work on a local copy so that the loop keeps the four words in registers.
    TKISSState s = gState;
    if (range == 255) {
        FillFixedRange<255>(s, buffer, count);
    } else {
        for (std::size_t i = 0; i < count; ++i) buffer[i] = static_cast<std::uint8_t>(s.Next() % range);
    }
    gState = s;
}

TKISSState KISSSnapshot() { return gState; }

}  // namespace vantrel
