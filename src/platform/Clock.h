#pragma once

#include <cstdint>

namespace vantrel {

// A monotonic counter and the number of its ticks per second.
std::int64_t PerformanceCounter();
std::int64_t PerformanceFrequency();

// The local wall-clock time, to the millisecond.
struct TLocalTime {
    int year = 0;    // e.g. 2026
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};
TLocalTime LocalTimeNow();

}  // namespace vantrel
