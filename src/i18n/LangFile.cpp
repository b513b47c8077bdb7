#include "i18n/LangFile.h"

#include <algorithm>
#include <cstdint>

#include "app/OptionsUnit.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

namespace vantrel {

namespace {

constexpr std::string_view ConstantsSectionName = "$CONSTANTS";

unsigned char LowerAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

// Blanks and control characters; in UTF-8 they are single bytes, so trimming bytes never
// cuts a character.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string Utf16Text(std::span<const std::uint8_t> bytes, bool bigEndian) {
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto hi = bigEndian ? bytes[i] : bytes[i + 1];
        const auto lo = bigEndian ? bytes[i + 1] : bytes[i];
        const auto unit = char16_t((hi << 8) | lo);
        if (unit == 0) break;
        units += unit;
    }
    return Utf16ToUtf8(units);
}

std::string_view UpToNul(std::string_view s) { return s.substr(0, s.find('\0')); }

// A window entry's key: decimal digits only, leading zeros allowed, within 32 bits; 0 for
// anything else, which the caller ignores along with 0 itself.
int PositiveId(std::string_view key) {
    if (key.empty()) return 0;
    std::int64_t v = 0;
    for (char c : key) {
        if (c < '0' || c > '9') return 0;
        v = v * 10 + (c - '0');
        if (v > INT32_MAX) return 0;
    }
    return int(v);
}

std::string LineError(std::size_t index, const char* reason) {
    return "Loading translations failed.\r\nLine " + std::to_string(index) + ": " + reason;
}

// The lines of a text, split at CR LF, a lone LF or a lone CR.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

}  // namespace

bool SameTextAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(static_cast<unsigned char>(a[i])) != LowerAscii(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

std::string DecodeLangFileText(std::span<const std::uint8_t> bytes) {
    const auto starts = [&](std::initializer_list<std::uint8_t> mark) {
        return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
    };
    if (starts({0xEF, 0xBB, 0xBF})) {
        const std::string_view raw(reinterpret_cast<const char*>(bytes.data()) + 3, bytes.size() - 3);
        // Through UTF-16 and back, so that broken sequences become U+FFFD and never reach a
        // text the program shows or compares.
        return Utf16ToUtf8(Utf8ToUtf16(UpToNul(raw)));
    }
    if (starts({0xFF, 0xFE})) return Utf16Text(bytes.subspan(2), false);
    if (starts({0xFE, 0xFF})) return Utf16Text(bytes.subspan(2), true);
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const std::string_view text = UpToNul(raw);
    return AnsiToUtf8(ByteString(text.begin(), text.end()), SystemAnsiCodePage());
}

std::string DecodeLangEscapes(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c != '\\' || i + 1 == value.size()) {
            out += c;
            continue;
        }
        const char next = value[i + 1];
        const auto digit = [](char d) { return d >= '0' && d <= '9'; };
        if (next == '\\') {
            out += '\\';
            ++i;
        } else if (next == 'n') {
            out += "\r\n";
            ++i;
        } else if (next == 't') {
            out += '\t';
            ++i;
        } else if (digit(next) && i + 2 < value.size() && digit(value[i + 2])) {
            out += char((next - '0') * 10 + (value[i + 2] - '0'));
            i += 2;
        } else {
            out += c;  // the character after it is copied on the next round
        }
    }
    return out;
}

void TLang_CompTranslation::Add(int id, std::string text) {
    const auto at = std::lower_bound(items_.begin(), items_.end(), id,
                                     [](const auto& item, int key) { return item.first < key; });
    if (at != items_.end() && at->first == id)
        throw ELangError("Duplicate property value translation ID (" + std::to_string(id) + ")");
    items_.emplace(at, id, std::move(text));
}

const std::string* TLang_CompTranslation::Find(int id) const {
    const auto at = std::lower_bound(items_.begin(), items_.end(), id,
                                     [](const auto& item, int key) { return item.first < key; });
    return (at != items_.end() && at->first == id) ? &at->second : nullptr;
}

void TLang_CompTranslations::Clear() {
    params_.clear();
    constants_.Clear();
    sections_.clear();
}

void TLang_CompTranslations::LoadFromFile(const std::string& fileName, bool headerOnly) {
    TFileStream file(fileName, TFileMode::Read);
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[65536];
    while (const std::size_t got = file.Read(block, sizeof block)) bytes.insert(bytes.end(), block, block + got);
    LoadFromBytes(bytes, headerOnly);
}

void TLang_CompTranslations::LoadFromBytes(std::span<const std::uint8_t> bytes, bool headerOnly) {
    Clear();
    enum class Mode { Header, Constants, Window } mode = Mode::Header;
    TLang_CompTranslation* window = nullptr;

    const std::string text = DecodeLangFileText(bytes);
    const std::vector<std::string_view> lines = SplitLines(text);
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const std::string_view line = Trim(lines[index]);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            if (headerOnly) break;
            if (line.size() < 3 || line.back() != ']') continue;
            const std::string_view name = Trim(line.substr(1, line.size() - 2));
            if (SameTextAscii(name, ConstantsSectionName)) {
                mode = Mode::Constants;
            } else {
                mode = Mode::Window;
                window = &SectionNamed(name);
            }
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        const std::string_view key = Trim(line.substr(0, eq));
        const std::string_view value = Trim(line.substr(eq + 1));
        if (key.empty()) continue;
        try {
            switch (mode) {
                case Mode::Header: SetParam(key, value); break;
                case Mode::Constants: constants_.Add(key, DecodeLangEscapes(value)); break;
                case Mode::Window:
                    if (const int id = PositiveId(key); id > 0) window->Add(id, DecodeLangEscapes(value));
                    break;
            }
        } catch (const std::exception& e) {
            throw ELangError(LineError(index, e.what()));
        }
    }
}

void TLang_CompTranslations::SetParam(std::string_view name, std::string_view value) {
    const auto at = std::find_if(params_.begin(), params_.end(),
                                 [&](const auto& p) { return SameTextAscii(p.first, name); });
    if (value.empty()) {
        if (at != params_.end()) params_.erase(at);
    } else if (at != params_.end()) {
        at->second = std::string(value);
    } else {
        params_.emplace_back(std::string(name), std::string(value));
    }
}

TLang_CompTranslation& TLang_CompTranslations::SectionNamed(std::string_view name) {
    for (auto& section : sections_)
        if (SameTextAscii(section.Name(), name)) return section;
    return sections_.emplace_back(std::string(name));
}

std::string TLang_CompTranslations::Param(std::string_view name) const {
    for (const auto& [key, value] : params_)
        if (SameTextAscii(key, name)) return value;
    return {};
}

int TLang_CompTranslations::LangID() const {
    try {
        return StrToInt(Param("LANGID"));
    } catch (const EConvertError&) {
        return DefaultLanguageID;
    }
}

std::optional<std::string> TLang_CompTranslations::Constant(std::string_view name) const {
    if (const TLang_Constant* c = constants_.Find(name)) return c->Value;
    return std::nullopt;
}

const TLang_CompTranslation* TLang_CompTranslations::Section(std::string_view name) const {
    for (const auto& section : sections_)
        if (SameTextAscii(section.Name(), name)) return &section;
    return nullptr;
}

std::optional<std::string> TLang_CompTranslations::Text(std::string_view section, int id) const {
    const TLang_CompTranslation* s = Section(section);
    if (s == nullptr) return std::nullopt;
    if (const std::string* text = s->Find(id)) return *text;
    return std::nullopt;
}

}  // namespace vantrel
