#pragma once

#include <cstdint>

namespace vantrel {

// The local wall-clock time, to the millisecond.
struct TLocalTime {
    int year = 0;    // e.g. 2026
    int month = 0;   // 1..12
    int day = 0;     // 1..31
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};
TLocalTime LocalTimeNow();

}  // namespace vantrel
