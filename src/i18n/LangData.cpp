#include "i18n/LangData.h"

#include <algorithm>

#include "base/Bytes.h"
#include "i18n/LangConstants.h"

namespace vantrel {

namespace {

constexpr int MaxDepth = 32;  // a window's components nest a few levels, never this many

class DataReader {
public:
    explicit DataReader(std::span<const std::uint8_t> data) : data_(data) {}

    TLang_CompEntry Entry(int depth) {
        if (depth > MaxDepth) Fail();
        TLang_CompEntry entry;
        entry.CompName = Text();
        if (Bool()) {
            // An entry takes at least 6 bytes: its ID and an empty name's length.
            const std::uint32_t count = Count(6);
            for (std::uint32_t i = 0; i < count; ++i) {
                const auto id = static_cast<std::int32_t>(U32());
                entry.AddProp(id, Text());
            }
        }
        if (Bool()) {
            // A child takes at least 4 bytes: an empty name's length and two flags.
            const std::uint32_t count = Count(4);
            entry.Children.reserve(count);
            for (std::uint32_t i = 0; i < count; ++i) entry.Children.push_back(Entry(depth + 1));
        }
        return entry;
    }
    bool AtEnd() const { return at_ == data_.size(); }

private:
    [[noreturn]] static void Fail() { throw ELangError("Invalid window language data"); }

    void Need(std::size_t n) const {
        if (n > data_.size() - at_) Fail();
    }
    std::uint8_t U8() {
        Need(1);
        return data_[at_++];
    }
    bool Bool() { return U8() != 0; }
    std::uint16_t U16() {
        Need(2);
        const std::uint16_t v = bytes::LoadLE16(data_.data() + at_);
        at_ += 2;
        return v;
    }
    std::uint32_t U32() {
        Need(4);
        const std::uint32_t v = bytes::LoadLE32(data_.data() + at_);
        at_ += 4;
        return v;
    }
    std::uint32_t Count(std::size_t minBytesEach) {
        const std::uint32_t count = U32();
        if (count > (data_.size() - at_) / minBytesEach) Fail();
        return count;
    }
    std::string Text() {
        const std::size_t length = U16();
        Need(length);
        std::string text(reinterpret_cast<const char*>(data_.data()) + at_, length);
        at_ += length;
        return text;
    }

    std::span<const std::uint8_t> data_;
    std::size_t at_ = 0;
};

void PutU16(std::vector<std::uint8_t>& out, std::size_t v) {
    std::uint8_t b[2];
    bytes::StoreLE16(b, std::uint16_t(v));
    out.insert(out.end(), b, b + 2);
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    std::uint8_t b[4];
    bytes::StoreLE32(b, v);
    out.insert(out.end(), b, b + 4);
}

void PutText(std::vector<std::uint8_t>& out, const std::string& text) {
    PutU16(out, text.size());
    out.insert(out.end(), text.begin(), text.end());
}

void PutEntry(std::vector<std::uint8_t>& out, const TLang_CompEntry& entry) {
    PutText(out, entry.CompName);
    out.push_back(entry.Props.empty() ? 0 : 1);
    if (!entry.Props.empty()) {
        PutU32(out, std::uint32_t(entry.Props.size()));
        for (const auto& prop : entry.Props) {
            PutU32(out, std::uint32_t(prop.ID));
            PutText(out, prop.PropName);
        }
    }
    out.push_back(entry.Children.empty() ? 0 : 1);
    if (!entry.Children.empty()) {
        PutU32(out, std::uint32_t(entry.Children.size()));
        for (const auto& child : entry.Children) PutEntry(out, child);
    }
}

}  // namespace

void TLang_CompEntry::AddProp(int id, std::string_view propName) {
    const auto at = std::lower_bound(Props.begin(), Props.end(), propName, [](const TLang_PropEntry& p, auto name) {
        return CompareConstantNames(p.PropName, name) < 0;
    });
    if (at != Props.end() && CompareConstantNames(at->PropName, propName) == 0) return;
    Props.insert(at, TLang_PropEntry{id, std::string(propName), {}, false});
}

TLang_PropEntry* TLang_CompEntry::FindProp(std::string_view propName) {
    const auto at = std::lower_bound(Props.begin(), Props.end(), propName, [](const TLang_PropEntry& p, auto name) {
        return CompareConstantNames(p.PropName, name) < 0;
    });
    return (at != Props.end() && CompareConstantNames(at->PropName, propName) == 0) ? &*at : nullptr;
}

TLang_CompEntry ReadLangData(std::span<const std::uint8_t> data) {
    DataReader reader(data);
    TLang_CompEntry root = reader.Entry(0);
    if (!reader.AtEnd()) throw ELangError("Invalid window language data");
    return root;
}

std::vector<std::uint8_t> WriteLangData(const TLang_CompEntry& root) {
    std::vector<std::uint8_t> out;
    PutEntry(out, root);
    return out;
}

}  // namespace vantrel
