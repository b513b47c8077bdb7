#include "i18n/LangConstants.h"

#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <utility>

#include "platform/CodePage.h"
#include "platform/Stream.h"

namespace vantrel {

namespace {

unsigned char FoldAsciiLetter(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c;
}

// Letters of every script, classified by the C.UTF-8 locale so that the answer does not
// depend on the user's locale. Without that locale any character beyond ASCII counts.
bool IsLetterOfAnyScript(char32_t c, bool orDigit) {
    if (c < 0x80) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        return letter || (orDigit && c >= '0' && c <= '9');
    }
    if (c == 0xFFFD) return false;  // what an invalid UTF-8 sequence decodes to
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr));
    if (utf8 == locale_t(nullptr)) return true;
    const auto wc = static_cast<wint_t>(c);
    return orDigit ? iswalnum_l(wc, utf8) != 0 : iswalpha_l(wc, utf8) != 0;
}

std::string Quoted(std::string_view before, std::string_view name, std::string_view after) {
    std::string text(before);
    text += '"';
    text += name;
    text += '"';
    text += after;
    return text;
}

// Reads the fields of a stored table; refuses a length that claims more than the stream
// still holds before allocating for it.
class TableReader {
public:
    explicit TableReader(TStream& stream) : stream_(stream) {}

    std::uint8_t U8() {
        std::uint8_t b = 0;
        stream_.ReadBuffer(&b, 1);
        return b;
    }
    std::uint16_t U16() {
        std::uint8_t b[2];
        stream_.ReadBuffer(b, sizeof b);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }
    std::int32_t I32() {
        std::uint8_t b[4];
        stream_.ReadBuffer(b, sizeof b);
        const std::uint32_t u = std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
                                (std::uint32_t(b[3]) << 24);
        return static_cast<std::int32_t>(u);
    }
    // A UTF-16LE text of the given number of code units.
    std::string Utf16Text(std::size_t units) {
        Need(units * 2);
        std::vector<std::uint8_t> raw(units * 2);
        stream_.ReadBuffer(raw.data(), raw.size());
        std::u16string text(units, u'\0');
        for (std::size_t i = 0; i < units; ++i) text[i] = char16_t(raw[2 * i] | (raw[2 * i + 1] << 8));
        return Utf16ToUtf8(text);
    }
    // A byte string of the given length in codePage.
    std::string AnsiText(std::size_t bytes, int codePage) {
        Need(bytes);
        ByteString raw(bytes, 0);
        stream_.ReadBuffer(raw.data(), raw.size());
        return AnsiToUtf8(raw, codePage);
    }

private:
    void Need(std::size_t bytes) {
        if (std::int64_t(bytes) > stream_.Size() - stream_.Position()) throw EStreamError("Stream read error");
    }

    TStream& stream_;
};

}  // namespace

int CompareConstantNames(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = FoldAsciiLetter(static_cast<unsigned char>(a[i]));
        const unsigned char cb = FoldAsciiLetter(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool IsConstantName(std::string_view name) {
    const std::u16string units = Utf8ToUtf16(name);
    bool first = true;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        }
        if (c != '_' && !IsLetterOfAnyScript(c, !first)) return false;
        first = false;
    }
    return !first;
}

std::vector<TLang_Constant>::const_iterator TLang_Constants::LowerBound(std::string_view name) const {
    return std::lower_bound(items_.begin(), items_.end(), name, [](const TLang_Constant& c, std::string_view n) {
        return CompareConstantNames(c.Name, n) < 0;
    });
}

void TLang_Constants::Add(std::string_view name, std::string_view text, std::uint8_t flags) {
    if (!IsConstantName(name)) throw ELangError(Quoted("Invalid constant name (", name, ")"));
    const auto at = LowerBound(name);
    if (at != items_.end() && CompareConstantNames(at->Name, name) == 0)
        throw ELangError(Quoted("Duplicate constant name (", name, ")"));
    items_.insert(at, TLang_Constant{std::string(name), std::string(text), std::string(text), flags});
}

const TLang_Constant* TLang_Constants::Find(std::string_view name) const {
    const auto at = LowerBound(name);
    if (at == items_.end() || CompareConstantNames(at->Name, name) != 0) return nullptr;
    return &*at;
}

TLang_Constant* TLang_Constants::Find(std::string_view name) {
    return const_cast<TLang_Constant*>(std::as_const(*this).Find(name));
}

const std::string& TLang_Constants::Value(std::string_view name) const {
    const TLang_Constant* c = Find(name);
    if (c == nullptr) throw ELangError(Quoted("Constant ", name, " not found"));
    return c->Value;
}

void TLang_Constants::LoadFromStream(TStream& stream, int codePage) {
    TableReader in(stream);
    const int version = in.U8();
    if (version > LangConstantsStreamVersion)
        throw ELangError("Stream version (" + std::to_string(version) + ") is greater than the current one (" +
                         std::to_string(LangConstantsStreamVersion) + ")");
    // Versions 0 and 1 carry no flag byte; their version tells it.
    const bool flag = version >= 2 ? in.U8() != 0 : version == 1;
    const std::int32_t count = in.I32();  // a negative count holds no entries

    TLang_Constants loaded = *this;
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint16_t nameLength = in.U16();
        const std::string name = version >= 3 ? in.Utf16Text(nameLength) : in.AnsiText(nameLength, codePage);
        const std::uint16_t valueLength = in.U16();
        const std::string value = version >= 2 ? in.Utf16Text(valueLength) : in.AnsiText(valueLength, codePage);
        loaded.Add(name, value);
    }
    loaded.storedFlag_ = flag;
    *this = std::move(loaded);
}

void LoadBuiltInLangConstants(TLang_Constants& table) {
    const std::span<const std::uint8_t> data = BuiltInLangConstantsData();
    TMemoryStream stream(std::vector<std::uint8_t>(data.begin(), data.end()));
    table.LoadFromStream(stream, CodePageOfLanguage(DefaultLanguageID));
}

}  // namespace vantrel
