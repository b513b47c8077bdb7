#include <iconv.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "platform/CodePage.h"

namespace vantrel {

namespace {

// A language's ISO code, its Windows primary language ID and the ANSI code page Windows
// gives it. Both the locale and the language-ID lookups go through this one table.
struct LanguageCodePage {
    const char* iso;
    int primary;
    int codePage;
};

constexpr LanguageCodePage kLanguages[] = {
    {"ar", 0x01, 1256}, {"bg", 0x02, 1251}, {"ca", 0x03, 1252}, {"zh", 0x04, 936},  {"cs", 0x05, 1250},
    {"da", 0x06, 1252}, {"de", 0x07, 1252}, {"el", 0x08, 1253}, {"en", 0x09, 1252}, {"es", 0x0A, 1252},
    {"fi", 0x0B, 1252}, {"fr", 0x0C, 1252}, {"he", 0x0D, 1255}, {"hu", 0x0E, 1250}, {"is", 0x0F, 1252},
    {"it", 0x10, 1252}, {"ja", 0x11, 932},  {"ko", 0x12, 949},  {"nl", 0x13, 1252}, {"nb", 0x14, 1252},
    {"nn", 0x14, 1252}, {"no", 0x14, 1252}, {"pl", 0x15, 1250}, {"pt", 0x16, 1252}, {"rm", 0x17, 1252},
    {"ro", 0x18, 1250}, {"ru", 0x19, 1251}, {"hr", 0x1A, 1250}, {"bs", 0x1A, 1250}, {"sr", 0x1A, 1251},
    {"sk", 0x1B, 1250}, {"sq", 0x1C, 1250}, {"sv", 0x1D, 1252}, {"th", 0x1E, 874},  {"tr", 0x1F, 1254},
    {"ur", 0x20, 1256}, {"id", 0x21, 1252}, {"uk", 0x22, 1251}, {"be", 0x23, 1251}, {"sl", 0x24, 1250},
    {"et", 0x25, 1257}, {"lv", 0x26, 1257}, {"lt", 0x27, 1257}, {"fa", 0x29, 1256}, {"vi", 0x2A, 1258},
    {"az", 0x2C, 1254}, {"eu", 0x2D, 1252}, {"mk", 0x2F, 1251}, {"af", 0x36, 1252}, {"fo", 0x38, 1252},
    {"ms", 0x3E, 1252}, {"kk", 0x3F, 1251}, {"ky", 0x40, 1251}, {"sw", 0x41, 1252}, {"uz", 0x43, 1254},
    {"tt", 0x44, 1251}, {"mn", 0x50, 1251}, {"gl", 0x56, 1252},
};

constexpr int kDefaultCodePage = 1252;

const LanguageCodePage* FindIso(const std::string& iso) {
    for (const auto& l : kLanguages)
        if (iso == l.iso) return &l;
    return nullptr;
}

std::string IconvName(int codePage) {
    switch (codePage) {
        case 65001: return "UTF-8";
        case 20127: return "ASCII";
        default: break;
    }
    if (codePage >= 28591 && codePage <= 28605) return "ISO-8859-" + std::to_string(codePage - 28590);
    return "CP" + std::to_string(codePage);
}

bool IconvKnows(int codePage) {
    iconv_t cd = iconv_open(IconvName(codePage).c_str(), "UTF-8");
    if (cd == iconv_t(-1)) return false;
    iconv_close(cd);
    return true;
}

class Converter {
public:
    Converter(const std::string& to, const std::string& from) : cd_(iconv_open(to.c_str(), from.c_str())) {
        if (cd_ == iconv_t(-1)) throw std::runtime_error("Unsupported code page conversion " + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as it can; on a sequence it cannot take, `onError` is told how many
    // input bytes to skip and what to put out instead.
    template <class OnError>
    std::string Run(std::string_view in, OnError onError) {
        std::string out;
        char buffer[1024];
        auto* src = const_cast<char*>(in.data());
        std::size_t left = in.size();
        while (left > 0) {
            char* dst = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t r = iconv(cd_, &src, &left, &dst, &room);
            out.append(buffer, std::size_t(dst - buffer));
            if (r != std::size_t(-1)) continue;
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: the input at src cannot be taken.
            const std::size_t skip = std::min(left, onError(std::string_view(src, left), out));
            src += skip;
            left -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        char* dst = buffer;
        std::size_t room = sizeof buffer;
        iconv(cd_, nullptr, nullptr, &dst, &room);
        out.append(buffer, std::size_t(dst - buffer));
        return out;
    }

private:
    iconv_t cd_;
};

// Length of the UTF-8 character at the start of s, or 1 for a byte that starts none.
std::size_t Utf8CharLength(std::string_view s) {
    const auto lead = static_cast<unsigned char>(s[0]);
    std::size_t len = lead < 0xC2 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF5 ? 4 : 1;
    if (len > s.size()) return 1;
    for (std::size_t i = 1; i < len; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 1;
    return len;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

int CodePageOfLocale(std::string locale) {
    // lang[_TERRITORY][.codeset][@modifier]
    std::string modifier;
    if (const auto at = locale.find('@'); at != std::string::npos) {
        modifier = locale.substr(at + 1);
        locale.resize(at);
    }
    if (const auto dot = locale.find('.'); dot != std::string::npos) locale.resize(dot);
    std::string lang = locale, territory;
    if (const auto us = locale.find('_'); us != std::string::npos) {
        lang = locale.substr(0, us);
        territory = locale.substr(us + 1);
    }
    for (auto& c : lang) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (auto& c : territory) c = char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);

    if (lang == "zh") return (territory == "TW" || territory == "HK" || territory == "MO") ? 950 : 936;
    if (lang == "sr") return modifier == "latin" ? 1250 : 1251;
    if ((lang == "uz" || lang == "az") && modifier == "cyrillic") return 1251;
    const auto* l = FindIso(lang);
    return l ? l->codePage : kDefaultCodePage;
}

}  // namespace

int SystemAnsiCodePage() {
    if (const char* forced = std::getenv("VANTREL_CODEPAGE"); forced && *forced) {
        std::string_view text = forced;
        if (text.size() > 2 && (text[0] == 'C' || text[0] == 'c') && (text[1] == 'P' || text[1] == 'p'))
            text.remove_prefix(2);
        int value = 0;
        bool digits = !text.empty() && text.size() <= 5;
        for (char c : text) {
            if (c < '0' || c > '9') digits = false;
            else value = value * 10 + (c - '0');
        }
        if (digits && value > 0 && IconvKnows(value)) return value;
    }
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* v = std::getenv(name);
        if (v && *v) return CodePageOfLocale(v);
    }
    return kDefaultCodePage;
}

int CodePageOfLanguage(int languageId) {
    const int primary = languageId & 0x3FF;
    const int sub = (languageId >> 10) & 0x3F;
    switch (primary) {
        case 0x04: return (sub == 0x02 || sub == 0x04) ? 936 : 950;  // PRC and Singapore simplified
        case 0x1A:  // Serbian and Bosnian in Cyrillic script
            return (sub == 0x03 || sub == 0x07 || sub == 0x08 || sub == 0x0A || sub == 0x0C) ? 1251 : 1250;
        case 0x2C:
        case 0x43: return sub == 0x02 ? 1251 : 1254;  // Azeri, Uzbek: Cyrillic or Latin
        default: break;
    }
    for (const auto& l : kLanguages)
        if (l.primary == primary) return l.codePage;
    return kDefaultCodePage;
}

ByteString Utf8ToAnsi(std::string_view utf8, int codePage) {
    Converter conv(IconvName(codePage), "UTF-8");
    const std::string out = conv.Run(utf8, [](std::string_view rest, std::string& sink) {
        sink += '?';
        return Utf8CharLength(rest);
    });
    return ByteString(out.begin(), out.end());
}

std::string AnsiToUtf8(const ByteString& bytes, int codePage) {
    Converter conv("UTF-8", IconvName(codePage));
    return conv.Run(bytes.View(), [](std::string_view, std::string& sink) {
        sink += "\xEF\xBF\xBD";
        return std::size_t(1);
    });
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t len = Utf8CharLength(utf8.substr(i));
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t c = 0xFFFD;
        if (len == 1) {
            if (lead < 0x80) c = lead;
        } else {
            c = lead & (0x7F >> len);
            for (std::size_t k = 1; k < len; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            // Overlong forms, surrogates and values past U+10FFFF are not characters.
            static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
            if (c < kMin[len] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
        }
        if (c >= 0x10000) {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += char16_t(c);
        }
        i += len;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        char32_t c = utf16[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

}  // namespace vantrel
