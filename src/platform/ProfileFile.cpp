#include "platform/ProfileFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

#include "platform/CodePage.h"

namespace vantrel {

namespace {

// Matches the read buffer of the Windows functions: 2048 UTF-16 units with the terminator.
constexpr std::size_t kMaxValueUnits = kProfileValueLimit;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    return true;
}

// Cuts a UTF-8 text after `limit` UTF-16 units without splitting a character.
std::string_view CutToUnits(std::string_view s, std::size_t limit) {
    std::size_t units = 0, i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        std::size_t len = 1, width = 1;
        if (lead >= 0xF0) len = 4, width = 2;
        else if (lead >= 0xE0) len = 3;
        else if (lead >= 0xC0) len = 2;
        if (units + width > limit) break;
        units += width;
        i += len;
    }
    return s.substr(0, std::min(i, s.size()));
}

bool NeedsQuotes(std::string_view value) {
    if (value.empty()) return false;
    if (IsBlank(value.front()) || IsBlank(value.back())) return true;
    // A value that is itself wrapped in quotes would lose them on the way back.
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
}

std::string DecodeUtf16(const std::string& raw, bool bigEndian) {
    std::u16string units;
    units.reserve(raw.size() / 2);
    for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
        const auto b0 = static_cast<unsigned char>(raw[i]), b1 = static_cast<unsigned char>(raw[i + 1]);
        units.push_back(bigEndian ? char16_t((b0 << 8) | b1) : char16_t((b1 << 8) | b0));
    }
    return Utf16ToUtf8(units);
}

}  // namespace

// One line of the file as the reader sees it.
struct TIniFile::Line {
    enum Kind { Other, Section, Key } kind = Other;
    std::string_view name;   // section or key name, trimmed
    std::string_view value;  // key value, trimmed, quotes still on

    static Line Parse(std::string_view text) {
        Line line;
        const std::string_view t = Trim(text);
        if (t.empty() || t.front() == ';') return line;
        if (t.front() == '[') {
            const auto close = t.find(']');
            if (close == std::string_view::npos) return line;
            line.kind = Section;
            line.name = Trim(t.substr(1, close - 1));
            return line;
        }
        const auto eq = t.find('=');
        if (eq == std::string_view::npos) return line;
        line.kind = Key;
        line.name = Trim(t.substr(0, eq));
        line.value = Trim(t.substr(eq + 1));
        return line;
    }
};

namespace {

struct SectionRange {
    std::size_t header = 0;  // index of the "[name]" line
    std::size_t end = 0;     // one past the section's last line
};

template <class Lines, class Parse>
std::vector<SectionRange> FindSections(const Lines& lines, std::string_view section, Parse parse) {
    std::vector<SectionRange> found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto line = parse(lines[i]);
        if (line.kind != std::remove_cvref_t<decltype(line)>::Section) continue;
        if (!found.empty() && found.back().end == 0) found.back().end = i;
        if (SameName(line.name, section)) found.push_back({i, 0});
    }
    if (!found.empty() && found.back().end == 0) found.back().end = lines.size();
    return found;
}

}  // namespace

TIniFile::TIniFile(std::string path) : path_(std::move(path)) {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // A file that is there but cannot be read must not be replaced by a save.
        readFailed_ = errno != ENOENT && errno != ENOTDIR;
        return;
    }
    std::string raw;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            readFailed_ = true;
            break;
        }
        if (n == 0) break;
        raw.append(buffer, std::size_t(n));
    }
    ::close(fd);
    if (readFailed_) return;

    std::string text;
    if (raw.size() >= 2 && raw[0] == '\xFF' && raw[1] == '\xFE') text = DecodeUtf16(raw, false);
    else if (raw.size() >= 2 && raw[0] == '\xFE' && raw[1] == '\xFF') text = DecodeUtf16(raw, true);
    else if (raw.size() >= 3 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0) text = raw.substr(3), utf8Bom_ = true;
    else text = std::move(raw);

    std::size_t start = 0;
    while (start < text.size()) {
        auto nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        std::size_t stop = nl;
        if (stop > start && text[stop - 1] == '\r') {
            --stop;
            if (lines_.empty()) crlf_ = true;
        }
        lines_.emplace_back(text, start, stop - start);
        start = nl + 1;
    }
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    const auto sections = FindSections(lines_, section, Line::Parse);
    if (sections.empty()) return std::string(def);
    const auto& s = sections.front();
    for (std::size_t i = s.header + 1; i < s.end; ++i) {
        const auto line = Line::Parse(lines_[i]);
        if (line.kind != Line::Key || !SameName(line.name, key)) continue;
        std::string_view v = line.value;
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        return std::string(CutToUnits(v, kMaxValueUnits));
    }
    return std::string(def);
}

bool TIniFile::HasKey(std::string_view section, std::string_view key) const {
    const auto sections = FindSections(lines_, section, Line::Parse);
    if (sections.empty()) return false;
    for (std::size_t i = sections.front().header + 1; i < sections.front().end; ++i) {
        const auto line = Line::Parse(lines_[i]);
        if (line.kind == Line::Key && SameName(line.name, key)) return true;
    }
    return false;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string_view k = Trim(key);
    // A line break, or a name that the reader would split elsewhere, would forge other entries.
    const auto forges = [](std::string_view s, std::string_view bad) {
        return s.find_first_of(bad) != std::string_view::npos;
    };
    if (forges(section, "]\r\n") || forges(k, "=\r\n") || k.empty() || forges(value, "\r\n"))
        throw EProfileError("Unable to write to " + path_);

    std::string text;
    if (NeedsQuotes(value)) {
        text += '"';
        text += value;
        text += '"';
    } else {
        text = value;
    }
    std::string line = std::string(k) + "=" + text;

    const auto sections = FindSections(lines_, section, Line::Parse);
    if (sections.empty()) {
        if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
        lines_.push_back("[" + std::string(Trim(section)) + "]");
        lines_.push_back(std::move(line));
        return;
    }
    const auto& s = sections.front();
    std::size_t insertAt = s.header + 1;
    for (std::size_t i = s.header + 1; i < s.end; ++i) {
        const auto parsed = Line::Parse(lines_[i]);
        if (parsed.kind == Line::Key && SameName(parsed.name, k)) {
            // The key keeps the spelling it has in the file.
            lines_[i] = std::string(parsed.name) + "=" + text;
            return;
        }
        if (!Trim(lines_[i]).empty()) insertAt = i + 1;
    }
    lines_.insert(lines_.begin() + std::ptrdiff_t(insertAt), std::move(line));
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
    const auto sections = FindSections(lines_, section, Line::Parse);
    if (sections.empty()) return;
    const auto& s = sections.front();
    for (std::size_t i = s.end; i-- > s.header + 1;) {
        const auto line = Line::Parse(lines_[i]);
        if (line.kind == Line::Key && SameName(line.name, key)) lines_.erase(lines_.begin() + std::ptrdiff_t(i));
    }
}

void TIniFile::EraseSection(std::string_view section) {
    const auto sections = FindSections(lines_, section, Line::Parse);
    for (auto it = sections.rbegin(); it != sections.rend(); ++it)
        lines_.erase(lines_.begin() + std::ptrdiff_t(it->header), lines_.begin() + std::ptrdiff_t(it->end));
}

std::vector<std::string> TIniFile::Sections() const {
    std::vector<std::string> names;
    for (const auto& text : lines_) {
        const auto line = Line::Parse(text);
        if (line.kind != Line::Section) continue;
        bool seen = false;
        for (const auto& n : names) seen = seen || SameName(n, line.name);
        if (!seen) names.emplace_back(line.name);
    }
    return names;
}

std::vector<std::string> TIniFile::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    const auto sections = FindSections(lines_, section, Line::Parse);
    if (sections.empty()) return keys;
    for (std::size_t i = sections.front().header + 1; i < sections.front().end; ++i) {
        const auto line = Line::Parse(lines_[i]);
        if (line.kind != Line::Key) continue;
        bool seen = false;
        for (const auto& n : keys) seen = seen || SameName(n, line.name);
        if (!seen) keys.emplace_back(line.name);
    }
    return keys;
}

void TIniFile::Save() const {
    const auto fail = [this]() -> void { throw EProfileError("Unable to write to " + path_); };
    if (readFailed_) fail();

    // A file without owner write permission counts as read-only, as the attribute does on
    // Windows; the rename below would otherwise replace it behind the user's back.
    mode_t mode = 0;
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode) || !(st.st_mode & S_IWUSR)) fail();
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    std::string content;
    if (utf8Bom_) content = "\xEF\xBB\xBF";
    const char* eol = crlf_ ? "\r\n" : "\n";
    for (const auto& line : lines_) {
        content += line;
        content += eol;
    }

    std::string temp = path_ + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) fail();
    bool ok = ::fchmod(fd, mode) == 0;
    std::size_t done = 0;
    while (ok && done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += std::size_t(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), path_.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        fail();
    }
    // The rename itself lives in the folder; flush it too so the new name survives a crash.
    const auto slash = path_.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path_.substr(0, slash);
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

bool ReadsBackWhole(std::string_view value) {
    return value.find_first_of("\r\n") == std::string_view::npos && CutToUnits(value, kMaxValueUnits).size() == value.size();
}

std::string GetPrivateProfileString(const std::string& file, std::string_view section, std::string_view key,
                                    std::string_view def) {
    return TIniFile(file).ReadString(section, key, def);
}

void WritePrivateProfileString(const std::string& file, std::string_view section, std::string_view key,
                               std::string_view value) {
    TIniFile ini(file);
    ini.WriteString(section, key, value);
    ini.Save();
}

}  // namespace vantrel
