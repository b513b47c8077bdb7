#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace vantrel {

TLocalTime LocalTimeNow() {
    const auto now = std::chrono::system_clock::now();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const std::time_t seconds = std::time_t(ms / 1000);
    std::tm tm {};
    ::localtime_r(&seconds, &tm);
    TLocalTime t;
    t.year = tm.tm_year + 1900;
    t.month = tm.tm_mon + 1;
    t.day = tm.tm_mday;
    t.hour = tm.tm_hour;
    t.minute = tm.tm_min;
    t.second = tm.tm_sec;
    t.millisecond = int(ms % 1000);
    return t;
}

}  // namespace vantrel
