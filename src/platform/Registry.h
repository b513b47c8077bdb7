#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vantrel {

// Raised when the registry file cannot be written; the message names the file.
class ERegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The per-user registry, kept in one INI file: a section per key
// ("[HKEY_CURRENT_USER\Software\Halcorne\Vantrel]"), a line per value, strings as written and 32-bit numbers as
// "dword:0000000c", as exported registry files show them. Key paths and value names compare
// without regard to case. A missing file, key or value reads as absent; a write creates what
// it needs and replaces the file atomically.
//
// Where the file lies: set by SetRegistryFile (the data folder's "registry.ini"); an empty
// name means the default, the roaming settings root + "Vantrel/registry.ini".
void SetRegistryFile(const std::string& file);
std::string RegistryFile();

// root: "HKEY_CURRENT_USER" and the like; key: "Software\Halcorne\Vantrel" (separators at
// either end are ignored).
std::optional<std::string> ReadRegistryString(std::string_view root, std::string_view key, std::string_view name);
std::optional<std::uint32_t> ReadRegistryDword(std::string_view root, std::string_view key, std::string_view name);
void WriteRegistryString(std::string_view root, std::string_view key, std::string_view name,
                         std::string_view value);  // throws ERegistryError
void WriteRegistryDword(std::string_view root, std::string_view key, std::string_view name,
                        std::uint32_t value);  // throws ERegistryError
// Both return whether there was something to delete; they throw ERegistryError when the
// file cannot be rewritten.
bool DeleteRegistryValue(std::string_view root, std::string_view key, std::string_view name);
bool DeleteRegistryKey(std::string_view root, std::string_view key);  // with all its subkeys

}  // namespace vantrel
