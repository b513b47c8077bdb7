#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "i18n/LangConstants.h"

namespace vantrel {

// One window's texts from a language file: IDs with their texts, kept sorted by ID.
class TLang_CompTranslation {
public:
    explicit TLang_CompTranslation(std::string name) : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }
    // Inserts at the sorted place; an ID present already raises
    // ELangError "Duplicate property value translation ID (id)".
    void Add(int id, std::string text);
    const std::string* Find(int id) const;
    std::size_t Count() const { return items_.size(); }
    const std::vector<std::pair<int, std::string>>& Items() const { return items_; }

private:
    std::string name_;
    std::vector<std::pair<int, std::string>> items_;
};

// What a language file holds: the header parameters, the message constants and the window
// sections. Texts are UTF-8, whatever the file's own encoding.
class TLang_CompTranslations {
public:
    // Empties the object and reads the file. headerOnly stops at the first line that begins
    // with "[". A file that cannot be opened raises EFileError; a bad constant name, a
    // constant or an ID given twice raise ELangError
    // "Loading translations failed.\r\nLine <index>: <reason>" with the zero-based line index.
    void LoadFromFile(const std::string& fileName, bool headerOnly);
    // The same from the file's bytes.
    void LoadFromBytes(std::span<const std::uint8_t> bytes, bool headerOnly);

    // A header parameter by name in any letter case, or the empty text.
    std::string Param(std::string_view name) const;
    const std::vector<std::pair<std::string, std::string>>& Params() const { return params_; }
    // The "LANGID" parameter as an integer; 1033 when absent or not a number.
    int LangID() const;

    // The file's own constants (not the built-in ones).
    const TLang_Constants& Constants() const { return constants_; }
    std::optional<std::string> Constant(std::string_view name) const;

    // A window section by name in any letter case, or null.
    const TLang_CompTranslation* Section(std::string_view name) const;
    const std::vector<TLang_CompTranslation>& Sections() const { return sections_; }
    std::optional<std::string> Text(std::string_view section, int id) const;

private:
    void Clear();
    void SetParam(std::string_view name, std::string_view value);
    TLang_CompTranslation& SectionNamed(std::string_view name);

    std::vector<std::pair<std::string, std::string>> params_;
    TLang_Constants constants_;
    std::vector<TLang_CompTranslation> sections_;
};

// The text of a language file as UTF-8: decoded by its byte-order mark (UTF-8, UTF-16 LE or
// BE) or else in the system's ANSI code page, and ended at the first NUL character.
std::string DecodeLangFileText(std::span<const std::uint8_t> bytes);

// A value as written in a constants or window section, its escapes resolved: "\\" one
// backslash, "\n" CR LF, "\t" a tab, a backslash and two decimal digits the character of that
// code; any other backslash stays as written.
std::string DecodeLangEscapes(std::string_view value);

// ASCII letters in either case compare alike; used for parameter and section names.
bool SameTextAscii(std::string_view a, std::string_view b);

}  // namespace vantrel
