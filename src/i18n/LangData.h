#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// One translatable property of a component: its ID within the window, the property's name
// path ("Caption", "Hint", "Items", "Font.Name", "Panels[0].Text") and, once the window is
// running, the text it had when the window was loaded.
struct TLang_PropEntry {
    int ID = 0;
    std::string PropName;
    std::string DefaultText;
    bool HasDefault = false;  // the captured text passed the controller's filters
};

// A component of a window and its translatable properties, kept sorted by name path
// (compared like constant names), and the components it owns.
struct TLang_CompEntry {
    std::string CompName;
    std::vector<TLang_PropEntry> Props;
    std::vector<TLang_CompEntry> Children;

    // Keeps Props sorted; a name path given twice keeps the first.
    void AddProp(int id, std::string_view propName);
    TLang_PropEntry* FindProp(std::string_view propName);
};

// The stored layout of a window's language data, integers little-endian, recursive:
// component name (16-bit byte count, UTF-8), has-properties byte, [count (32 bits), then
// per entry ID (32 bits) and name path (16-bit byte count, UTF-8)], has-children byte,
// [count (32 bits), then the children in this same layout].
// Reading refuses a count or a length that the remaining bytes cannot hold, and nesting
// deeper than any window has, with ELangError.
TLang_CompEntry ReadLangData(std::span<const std::uint8_t> data);
std::vector<std::uint8_t> WriteLangData(const TLang_CompEntry& root);

// The main window's language data, generated at build time from MainFormLangData.txt.
std::span<const std::uint8_t> MainFormLangData();

}  // namespace vantrel
