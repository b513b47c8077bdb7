#include <cstdio>
#include <cstring>

#include "platform/SysError.h"

namespace vantrel {

std::string FormatSysError(int code) {
    char buffer[256];
    // The GNU strerror_r may hand back a static text instead of filling the buffer.
    const char* text = ::strerror_r(code, buffer, sizeof buffer);
    std::string message = text ? text : "";
    // As the Windows texts are trimmed: no trailing control characters, blanks or full stops.
    while (!message.empty()) {
        const auto c = static_cast<unsigned char>(message.back());
        if (c > ' ' && c != '.' && c != 0x7F) break;
        message.pop_back();
    }
    char head[32];
    std::snprintf(head, sizeof head, "Error #%d ", code);
    return head + message;
}

}  // namespace vantrel
