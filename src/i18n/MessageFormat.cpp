#include "i18n/MessageFormat.h"

namespace vantrel {

std::string FormatMessageText(std::string_view format, std::initializer_list<std::string> args) {
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            const char k = format[i + 1];
            if (k == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (k == 's' || k == 'd') {
                if (next != args.end()) out += *next++;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

}  // namespace vantrel
