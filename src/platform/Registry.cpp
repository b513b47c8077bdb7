#include "platform/Registry.h"

#include <cstdio>
#include <mutex>

#include "platform/Folders.h"
#include "platform/ProfileFile.h"

namespace vantrel {

namespace {

// One lock around every read-modify-write of the file, so two threads never lose an update.
std::mutex registryLock;
std::string registryFile;

std::string SectionOf(std::string_view root, std::string_view key) {
    while (!key.empty() && key.front() == '\\') key.remove_prefix(1);
    while (!key.empty() && key.back() == '\\') key.remove_suffix(1);
    std::string section(root);
    if (!key.empty()) {
        section += '\\';
        section += key;
    }
    return section;
}

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Fold(text[i]) != Fold(prefix[i])) return false;
    return true;
}

// "dword:" and one to eight hex digits.
std::optional<std::uint32_t> ParseDword(std::string_view text) {
    if (!StartsWithNoCase(text, "dword:")) return std::nullopt;
    text.remove_prefix(6);
    if (text.empty() || text.size() > 8) return std::nullopt;
    std::uint32_t v = 0;
    for (char c : text) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (Fold(c) >= 'a' && Fold(c) <= 'f') d = Fold(c) - 'a' + 10;
        else return std::nullopt;
        v = (v << 4) | std::uint32_t(d);
    }
    return v;
}

std::optional<std::string> ReadRaw(std::string_view root, std::string_view key, std::string_view name) {
    std::lock_guard lock(registryLock);
    const TIniFile ini(RegistryFile());
    const std::string section = SectionOf(root, key);
    if (!ini.HasKey(section, name)) return std::nullopt;
    return ini.ReadString(section, name, "");
}

template <class Edit>
auto Modify(Edit edit) {
    std::lock_guard lock(registryLock);
    const std::string file = RegistryFile();
    try {
        if (const auto slash = file.rfind('/'); slash != std::string::npos) CreateFolderWithParents(file.substr(0, slash + 1));
        TIniFile ini(file);
        return edit(ini);
    } catch (const EProfileError& e) {
        throw ERegistryError(e.what());
    }
}

}  // namespace

void SetRegistryFile(const std::string& file) {
    std::lock_guard lock(registryLock);
    registryFile = file;
}

std::string RegistryFile() {
    // Callers hold registryLock or tolerate a racing SetRegistryFile (start-up only).
    return registryFile.empty() ? RoamingDataRoot() + "Vantrel/registry.ini" : registryFile;
}

std::optional<std::string> ReadRegistryString(std::string_view root, std::string_view key, std::string_view name) {
    auto raw = ReadRaw(root, key, name);
    if (raw && ParseDword(*raw)) return std::nullopt;  // a number is not a string value
    return raw;
}

std::optional<std::uint32_t> ReadRegistryDword(std::string_view root, std::string_view key, std::string_view name) {
    const auto raw = ReadRaw(root, key, name);
    return raw ? ParseDword(*raw) : std::nullopt;
}

void WriteRegistryString(std::string_view root, std::string_view key, std::string_view name, std::string_view value) {
    Modify([&](TIniFile& ini) {
        ini.WriteString(SectionOf(root, key), name, value);
        ini.Save();
    });
}

void WriteRegistryDword(std::string_view root, std::string_view key, std::string_view name, std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "dword:%08x", unsigned(value));
    Modify([&](TIniFile& ini) {
        ini.WriteString(SectionOf(root, key), name, text);
        ini.Save();
    });
}

bool DeleteRegistryValue(std::string_view root, std::string_view key, std::string_view name) {
    return Modify([&](TIniFile& ini) {
        const std::string section = SectionOf(root, key);
        if (!ini.HasKey(section, name)) return false;
        ini.DeleteKey(section, name);
        ini.Save();
        return true;
    });
}

bool DeleteRegistryKey(std::string_view root, std::string_view key) {
    return Modify([&](TIniFile& ini) {
        const std::string section = SectionOf(root, key);
        bool found = false;
        for (const auto& s : ini.Sections()) {
            const bool same = s.size() == section.size() && StartsWithNoCase(s, section);
            const bool below = s.size() > section.size() && StartsWithNoCase(s, section + "\\");
            if (same || below) {
                ini.EraseSection(s);
                found = true;
            }
        }
        if (found) ini.Save();
        return found;
    });
}

}  // namespace vantrel
