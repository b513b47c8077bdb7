#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Raised when a profile file cannot be written; the message names the file.
class EProfileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An INI ("profile") file read and written with the rules of the Windows private-profile
// functions: sections and keys compare case-insensitively, values are trimmed and lose one
// pair of surrounding quotes, reads stop at 2047 characters, and lines the program does not
// understand (comments, blank lines) survive a write. UTF-8 on disk; a UTF-16 file with a
// byte-order mark is read too. Save replaces the file atomically (temporary file in the same
// folder, flush, rename), so a crash never leaves half a file.
class TIniFile {
public:
    explicit TIniFile(std::string path);  // reads the file when it exists; a missing file is empty

    const std::string& Path() const { return path_; }
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    bool HasKey(std::string_view section, std::string_view key) const;
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void DeleteKey(std::string_view section, std::string_view key);
    void EraseSection(std::string_view section);
    std::vector<std::string> Sections() const;
    std::vector<std::string> Keys(std::string_view section) const;
    void Save() const;  // throws EProfileError

private:
    struct Line;
    std::string path_;
    std::vector<std::string> lines_;  // the file as read, edited in place
    bool readFailed_ = false;  // the file is there but could not be read: never overwrite it
    bool utf8Bom_ = false;     // written back as it came
    bool crlf_ = false;        // line ends of the file as read
};

// Whether a value, once written, reads back whole: no line break, and no more than the
// 2047 UTF-16 units that a read returns.
bool ReadsBackWhole(std::string_view value);
constexpr std::size_t kProfileValueLimit = 2047;

// One-shot forms, as the program's settings code uses them.
std::string GetPrivateProfileString(const std::string& file, std::string_view section, std::string_view key,
                                    std::string_view def);
void WritePrivateProfileString(const std::string& file, std::string_view section, std::string_view key,
                               std::string_view value);  // throws EProfileError

}  // namespace vantrel
