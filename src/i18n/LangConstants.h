#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The built-in language, English (United States), and the language of the built-in texts.
inline constexpr int DefaultLanguageID = 1033;

class TStream;

// Every failure of the message tables: a missing constant, a bad or repeated name, a stored
// table newer than this program.
class ELangError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The newest stored layout; the built-in table is kept in it.
inline constexpr int LangConstantsStreamVersion = 3;

// One message: Value is what lookups return, DefaultValue the built-in text it falls back to
// when no translation names it.
struct TLang_Constant {
    std::string Name;
    std::string Value;
    std::string DefaultValue;
    std::uint8_t Flags = 0;
};

// Ordering of constant names: A-Z and a-z compare alike, every other character by its code,
// and a name sorts before the longer names it begins.
int CompareConstantNames(std::string_view a, std::string_view b);

// A name is a letter of any script or "_", then letters, digits or "_".
bool IsConstantName(std::string_view name);

// The constants, kept sorted by name so that lookups are binary searches.
class TLang_Constants {
public:
    // Inserts at the sorted place with Value = DefaultValue = text; refuses a name that is not
    // a constant name, or that is present already in any letter case.
    void Add(std::string_view name, std::string_view text, std::uint8_t flags = 0);

    const TLang_Constant* Find(std::string_view name) const;
    TLang_Constant* Find(std::string_view name);
    // The current text of name, or ELangError "Constant \"name\" not found".
    const std::string& Value(std::string_view name) const;

    // Adds every entry of a stored table (versions 0 to 3). codePage decodes the byte
    // strings of versions 0 to 2. On failure the table is left as it was.
    void LoadFromStream(TStream& stream, int codePage);

    // The flag read with the table; versions without one give true for 1 and false for 0.
    bool StoredFlag() const { return storedFlag_; }

    std::size_t Count() const { return items_.size(); }
    const TLang_Constant& operator[](std::size_t index) const { return items_[index]; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    void Clear() { items_.clear(); }

private:
    std::vector<TLang_Constant>::const_iterator LowerBound(std::string_view name) const;

    std::vector<TLang_Constant> items_;
    bool storedFlag_ = false;
};

// The built-in table in the stored layout of the newest version, generated at build time from
// LangConstants.txt.
std::span<const std::uint8_t> BuiltInLangConstantsData();

// Fills table with the built-in texts.
void LoadBuiltInLangConstants(TLang_Constants& table);

// The current text of a message constant, in the language chosen at start-up; the name in any
// letter case. Throws ELangError for a name that is not in the table. The table belongs to the
// language manager (LanguageManager.h).
std::string LangConstant(std::string_view name);

}  // namespace vantrel
