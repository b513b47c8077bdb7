#include "app/OptionsUnit.h"

#include <cstdint>

#include "app/AppFolders.h"
#include "platform/ProfileFile.h"

namespace vantrel {

namespace {

constexpr const char* kSection = "Options";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

int StrToInt(std::string_view text) {
    const auto fail = [text]() -> int { throw EConvertError("'" + std::string(text) + "' is not a valid integer value"); };
    if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        // Up to eight hex digits; values past 0x7FFFFFFF wrap to negative, as a 32-bit word.
        std::uint32_t v = 0;
        std::string_view digits = text.substr(2);
        while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
        if (digits.size() > 8) return fail();
        for (char c : digits) {
            const int d = HexDigit(c);
            if (d < 0) return fail();
            v = (v << 4) | std::uint32_t(d);
        }
        return static_cast<std::int32_t>(v);
    }
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty()) return fail();
    std::int64_t v = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return fail();
        v = v * 10 + (c - '0');
        if (v > std::int64_t(INT32_MAX) + 1) return fail();
    }
    if (negative) v = -v;
    if (v > INT32_MAX || v < INT32_MIN) return fail();
    return int(v);
}

TOptions::TOptions(const std::string& FileName)
    : fileName_(FileName.empty() ? GetDataFolder() + "options.ini" : FileName) {}

std::string TOptions::ReadString(std::string_view Key, std::string_view Default) const {
    try {
        return GetPrivateProfileString(fileName_, kSection, Key, Default);
    } catch (...) {
        return std::string(Default);
    }
}

int TOptions::ReadInteger(std::string_view Key, int Default) const {
    try {
        const std::string text = GetPrivateProfileString(fileName_, kSection, Key, "");
        if (text.empty()) return Default;
        return StrToInt(text);
    } catch (...) {
        return Default;
    }
}

bool TOptions::ReadBool(std::string_view Key, bool Default) const { return ReadInteger(Key, Default ? 1 : 0) != 0; }

void TOptions::WriteBool(std::string_view Key, bool Value) {
    WritePrivateProfileString(fileName_, kSection, Key, Value ? "1" : "0");
}

}  // namespace vantrel
