#include "shell/ContextMenuExtActivator.h"

#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "app/AppFolders.h"
#include "app/OptionsUnit.h"
#include "i18n/LangConstants.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Registry.h"

namespace vantrel {

namespace {

namespace fs = std::filesystem;

// One menu entry: its switch, the message constants of its caption and hint, and the id our
// files and Thunar actions are named after.
struct TItem {
    std::string_view Id, Switch, CaptionConstant, HintConstant;
};
constexpr TItem kItems[] = {
    {"encrypt", "/encrypt", "Encrypt", "Encrypt_desc"},
    {"decrypt", "/decrypt", "Decrypt", "Decrypt_desc"},
    {"shred", "/shred", "Shred", "Shred_desc"},
    {"hide", "/hide", "Hide", "Hide_desc"},
};

struct TEntry {
    std::string Id, Switch, Caption, Hint;
};

constexpr std::string_view kMarker = "X-Vantrel-Entry=true";
constexpr std::string_view kSubmenu = "Vantrel";
constexpr std::string_view kUniqueIdPrefix = "vantrel-";
constexpr std::string_view kUcaSkeleton = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n";
// Where activation remembers the folders it had to create and whether it created uca.xml.
constexpr std::string_view kRecordRoot = "HKEY_CURRENT_USER";
constexpr std::string_view kRecordKey = "Software\\Halcorne\\Vantrel\\ContextMenu";
constexpr std::string_view kUcaCreatedValue = "ThunarActionsCreated";

std::string helperPath;
std::atomic<bool> quitRequested{false};

// ---- folders ------------------------------------------------------------------------------

std::string AbsoluteEnvFolder(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '/' ? WithTrailingSeparator(value) : std::string();
}

std::string DataHome() {
    std::string folder = AbsoluteEnvFolder("XDG_DATA_HOME");
    if (!folder.empty()) return folder;
    const char* home = std::getenv("HOME");
    return WithTrailingSeparator(home && *home ? home : "/") + ".local/share/";
}

std::string ConfigHome() { return RoamingDataRoot(); }

std::string NautilusScripts() { return DataHome() + "nautilus/scripts/"; }
std::string CajaScripts() { return ConfigHome() + "caja/scripts/"; }
std::string NemoActions() { return DataHome() + "nemo/actions/"; }
std::string ServiceMenus() { return DataHome() + "kio/servicemenus/"; }
std::string FileManagerActions() { return DataHome() + "file-manager/actions/"; }
std::string ThunarActionsFile() { return ConfigHome() + "Thunar/uca.xml"; }

bool IsDirectory(const std::string& path) {
    struct stat st{};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
    struct stat st{};
    return ::lstat(path.c_str(), &st) == 0;
}

// The folders that activation created, oldest first.
std::vector<std::string> RecordedFolders() {
    std::vector<std::string> folders;
    for (int i = 1;; ++i) {
        auto folder = ReadRegistryString(kRecordRoot, kRecordKey, "Folder" + std::to_string(i));
        if (!folder) return folders;
        folders.push_back(*folder);
    }
}

void RecordFolder(const std::string& folder) {
    const auto count = RecordedFolders().size();
    WriteRegistryString(kRecordRoot, kRecordKey, "Folder" + std::to_string(count + 1), folder);
}

// Creates the folder with its parents and records the topmost one that was missing.
void EnsureFolder(const std::string& folder) {
    std::string topmostMissing;
    for (fs::path p = fs::path(folder).lexically_normal(); !p.empty() && p != p.root_path(); p = p.parent_path()) {
        if (Exists(p.string())) break;
        topmostMissing = p.string();
        if (p.filename().empty()) p = p.parent_path();  // a trailing separator
    }
    if (!CreateFolderWithParents(folder)) throw EFileError("Cannot create folder " + folder, errno);
    if (!topmostMissing.empty()) RecordFolder(WithTrailingSeparator(topmostMissing));
}

// Removes the folder and every folder below it that holds nothing else.
void RemoveEmptyFolders(const std::string& folder) {
    if (!IsDirectory(folder)) return;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.is_directory(ec) && !entry.is_symlink(ec)) RemoveEmptyFolders(entry.path().string());
    ::rmdir(folder.c_str());
}

// ---- files ----------------------------------------------------------------------------------

std::string ReadFile(const std::string& path, std::size_t limit = std::string::npos) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EFileError("Cannot open file " + path, errno);
    std::string text;
    char buffer[1 << 14];
    while (text.size() < limit && in.read(buffer, sizeof buffer).gcount() > 0) text.append(buffer, in.gcount());
    if (text.size() > limit) text.resize(limit);
    return text;
}

void WriteFileAtomically(const std::string& path, std::string_view content, fs::perms mode) {
    TAtomicOutput out(path);
    out.Write(content.data(), content.size());
    out.Commit();
    std::error_code ec;
    fs::permissions(path, mode, ec);
}

constexpr fs::perms kExecutable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec;
constexpr fs::perms kReadable = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                fs::perms::others_read;

// A regular file (not a link) that carries our marker line, in a key file or as a comment.
bool IsOurFile(const std::string& path) {
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    std::string text;
    try {
        text = ReadFile(path, 1 << 16);
    } catch (const EFileError&) {
        return false;
    }
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        std::string_view line = std::string_view(text).substr(start, end == std::string::npos ? end : end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line == kMarker || (line.starts_with("# ") && line.substr(2) == kMarker)) return true;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return false;
}

void RemoveOurFiles(const std::string& folder) {
    std::vector<TDirEntry> entries;
    try {
        entries = ListDirectory(folder);
    } catch (const EFileError&) {
        return;
    }
    for (const auto& entry : entries) {
        const std::string path = folder + entry.name;
        if (IsOurFile(path)) DeleteFile(path);
    }
}

// A name in the folder that nothing holds yet: stem + extension, else with " (Vantrel)",
// " (Vantrel 2)", ... or "-2", "-3", ... appended to the stem.
std::string FreeName(const std::string& folder, const std::string& stem, const std::string& extension,
                     bool spelledOut) {
    for (int n = 1;; ++n) {
        std::string name = stem;
        if (n > 1) {
            if (spelledOut) name += n == 2 ? " (Vantrel)" : " (Vantrel " + std::to_string(n - 1) + ")";
            else name += "-" + std::to_string(n);
        }
        name += extension;
        if (!Exists(folder + name)) return name;
    }
}

// A caption as a file name: no separator, no control character, not hidden, not empty.
std::string FileNameOf(const std::string& caption, const std::string& fallback) {
    std::string name;
    for (char c : caption) {
        if (c == '/') name += '-';
        else if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) name += c;
    }
    while (!name.empty() && name.front() == '.') name.erase(0, 1);
    return name.empty() ? fallback : name;
}

// ---- entries --------------------------------------------------------------------------------

std::vector<TEntry> CurrentEntries() {
    std::vector<TEntry> entries;
    for (const auto& item : kItems)
        entries.push_back({std::string(item.Id), std::string(item.Switch), LangConstant(item.CaptionConstant),
                           LangConstant(item.HintConstant)});
    return entries;
}

// Command lines read "%" as the start of a field code: a literal one is written twice.
std::string PercentDoubled(std::string_view text) {
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '%') out += '%';
    }
    return out;
}

// Name and Comment of Nemo actions take the selection's tokens too.
std::string NemoText(std::string_view text) { return KeyFileEscape(PercentDoubled(text)); }

std::string ScriptText(const TEntry& entry) {
    return "#!/bin/sh\n# " + std::string(kMarker) +
           "\n# Hands the selection to Vantrel. Written by \"vantrel /activate\", removed by \"vantrel /deactivate\".\n"
           "exec " + ShellQuote(helperPath) + " " + entry.Switch + " \"$@\"\n";
}

void WriteScripts(const std::string& scripts, const std::vector<TEntry>& entries, bool cascade) {
    std::string folder = scripts;
    if (cascade && (!Exists(scripts + std::string(kSubmenu)) || IsDirectory(scripts + std::string(kSubmenu))))
        folder = scripts + std::string(kSubmenu) + "/";
    EnsureFolder(folder);
    for (const auto& entry : entries) {
        const std::string name = FreeName(folder, FileNameOf(entry.Caption, entry.Id), "", true);
        WriteFileAtomically(folder + name, ScriptText(entry), kExecutable);
    }
}

void RemoveScripts(const std::string& scripts) {
    RemoveOurFiles(scripts);
    RemoveOurFiles(scripts + std::string(kSubmenu) + "/");
}

std::string NemoActionText(const TEntry& entry) {
    // Nemo puts each URI in double quotes (Quote=double); a URI holds no quote, blank or
    // backslash, so no file name can break the command line apart.
    return "[Nemo Action]\n" + std::string(kMarker) + "\nActive=true\nName=" + NemoText(entry.Caption) +
           "\nComment=" + NemoText(entry.Hint) + "\nExec=" + KeyFileEscape(PercentDoubled(ShellQuote(helperPath))) +
           " --uris " + entry.Switch + " %U\nQuote=double\nSelection=notnone\nExtensions=any;\n";
}

void WriteNemoActions(const std::vector<TEntry>& entries) {
    const std::string folder = NemoActions();
    EnsureFolder(folder);
    for (const auto& entry : entries)
        WriteFileAtomically(folder + FreeName(folder, "vantrel-" + entry.Id, ".nemo_action", false),
                            NemoActionText(entry), kReadable);
}

std::string ExecLine(const TEntry& entry) {
    return KeyFileEscape(PercentDoubled(DesktopExecQuote(helperPath)) + " " + entry.Switch + " %F");
}

std::string ServiceMenuText(const std::vector<TEntry>& entries, bool cascade) {
    std::string text = "[Desktop Entry]\n" + std::string(kMarker) +
                       "\nType=Service\nName=Vantrel\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\nMimeType=all/all;\n"
                       "X-KDE-Protocol=file\n";
    if (cascade) text += "X-KDE-Submenu=" + std::string(kSubmenu) + "\n";
    text += "Actions=";
    for (const auto& entry : entries) text += "vantrel_" + entry.Id + ";";
    text += "\n";
    for (const auto& entry : entries)
        text += "\n[Desktop Action vantrel_" + entry.Id + "]\nName=" + KeyFileEscape(entry.Caption) +
                "\nExec=" + ExecLine(entry) + "\n";
    return text;
}

void WriteServiceMenu(const std::vector<TEntry>& entries, bool cascade) {
    const std::string folder = ServiceMenus();
    EnsureFolder(folder);
    // KIO refuses a user's service menu that is not executable.
    WriteFileAtomically(folder + FreeName(folder, "vantrel", ".desktop", false), ServiceMenuText(entries, cascade),
                        kExecutable);
}

std::string FileManagerActionText(const TEntry& entry) {
    return "[Desktop Entry]\n" + std::string(kMarker) + "\nType=Action\nName=" + KeyFileEscape(entry.Caption) +
           "\nTooltip=" + KeyFileEscape(entry.Hint) + "\nProfiles=vantrel;\n\n[X-Action-Profile vantrel]\n"
           "Name=" + KeyFileEscape(entry.Caption) + "\nMimeTypes=all/all;\nSchemes=file;\nExec=" + ExecLine(entry) + "\n";
}

void WriteFileManagerActions(const std::vector<TEntry>& entries, bool cascade) {
    const std::string folder = FileManagerActions();
    EnsureFolder(folder);
    std::string itemsList;
    for (const auto& entry : entries) {
        const std::string name = FreeName(folder, "vantrel-" + entry.Id, ".desktop", false);
        WriteFileAtomically(folder + name, FileManagerActionText(entry), kReadable);
        itemsList += name.substr(0, name.size() - 8) + ";";
    }
    if (!cascade) return;
    WriteFileAtomically(folder + FreeName(folder, "vantrel-menu", ".desktop", false),
                        "[Desktop Entry]\n" + std::string(kMarker) + "\nType=Menu\nName=" + std::string(kSubmenu) +
                            "\nItemsList=" + itemsList + "\n",
                        kReadable);
}

// ---- Thunar -------------------------------------------------------------------------------

std::string UcaActionText(const TEntry& entry, bool cascade) {
    std::string text = "<action>\n\t<icon></icon>\n\t<name>" + XmlEscape(entry.Caption) + "</name>\n";
    if (cascade) text += "\t<submenu>" + std::string(kSubmenu) + "</submenu>\n";
    // Thunar quotes each path it puts for %F; a literal percent sign is written twice.
    text += "\t<unique-id>" + std::string(kUniqueIdPrefix) + entry.Id + "</unique-id>\n\t<command>" +
            XmlEscape(PercentDoubled(ShellQuote(helperPath)) + " " + entry.Switch + " %F") +
            "</command>\n\t<description>" + XmlEscape(entry.Hint) +
            "</description>\n\t<range>*</range>\n\t<patterns>*</patterns>\n\t<directories/>\n\t<audio-files/>\n"
            "\t<image-files/>\n\t<other-files/>\n\t<text-files/>\n\t<video-files/>\n</action>\n";
    return text;
}

// What Thunar shows when the user has no uca.xml of their own: the first one of the
// system's configuration folders, else none.
std::string SystemUcaXml() {
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string list = dirs && *dirs ? dirs : "/etc/xdg";
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(':', start);
        const std::string dir = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!dir.empty() && dir[0] == '/') {
            const std::string file = WithTrailingSeparator(dir) + "Thunar/uca.xml";
            try {
                if (Exists(file) && ScanUcaXml(ReadFile(file))) return ReadFile(file);
            } catch (const EFileError&) {
            }
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return std::string(kUcaSkeleton);
}

fs::perms ModeOf(const std::string& path) {
    std::error_code ec;
    auto status = fs::status(path, ec);
    return ec ? kReadable : status.permissions();
}

void RemoveThunarActions() {
    const std::string file = ThunarActionsFile();
    if (!Exists(file)) return;
    const std::string text = ReadFile(file);
    auto merged = MergeUcaXml(text, "");
    if (!merged) return;
    const bool created = ReadRegistryString(kRecordRoot, kRecordKey, kUcaCreatedValue).has_value();
    if (created && (*merged == SystemUcaXml() || *merged == kUcaSkeleton)) {
        DeleteFile(file);
    } else if (*merged != text) {
        WriteFileAtomically(file, *merged, ModeOf(file));
    }
    DeleteRegistryValue(kRecordRoot, kRecordKey, kUcaCreatedValue);
}

// False when the user's uca.xml is not an action list; it is then left as it is.
bool WriteThunarActions(const std::vector<TEntry>& entries, bool cascade) {
    const std::string file = ThunarActionsFile();
    const bool created = !Exists(file);
    const std::string base = created ? SystemUcaXml() : ReadFile(file);
    std::string ours;
    for (const auto& entry : entries) ours += UcaActionText(entry, cascade);
    auto merged = MergeUcaXml(base, ours);
    if (!merged) return false;
    EnsureFolder(FolderOf(file));
    if (created) WriteRegistryString(kRecordRoot, kRecordKey, kUcaCreatedValue, "1");
    WriteFileAtomically(file, *merged, created ? kReadable : ModeOf(file));
    return true;
}

// ---- the two routines -----------------------------------------------------------------------

// Each step on its own: one that fails does not keep the others from running.
void Quietly(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

void RemoveEverything() {
    Quietly([] { RemoveScripts(NautilusScripts()); });
    Quietly([] { RemoveScripts(CajaScripts()); });
    Quietly([] { RemoveOurFiles(NemoActions()); });
    Quietly([] { RemoveOurFiles(ServiceMenus()); });
    Quietly([] { RemoveOurFiles(FileManagerActions()); });
    Quietly(RemoveThunarActions);
    Quietly([] {
        const auto folders = RecordedFolders();
        for (auto it = folders.rbegin(); it != folders.rend(); ++it) RemoveEmptyFolders(*it);
        DeleteRegistryKey(kRecordRoot, kRecordKey);
    });
}

bool IsOurUniqueId(std::string_view id) {
    for (const auto& item : kItems)
        if (id.starts_with(kUniqueIdPrefix) && id.substr(kUniqueIdPrefix.size()) == item.Id) return true;
    return false;
}

// ---- the XML scanner --------------------------------------------------------------------------

struct TTag {
    std::string Name;
    bool Closing = false, SelfClosing = false;
    std::size_t End = 0;  // just past '>'
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::optional<TTag> ReadTag(std::string_view s, std::size_t i) {
    TTag tag;
    std::size_t j = i + 1;
    if (j < s.size() && s[j] == '/') {
        tag.Closing = true;
        ++j;
    }
    const std::size_t nameStart = j;
    while (j < s.size() && !IsBlank(s[j]) && s[j] != '>' && s[j] != '/') ++j;
    tag.Name = std::string(s.substr(nameStart, j - nameStart));
    if (tag.Name.empty()) return std::nullopt;
    char quote = 0;
    for (; j < s.size(); ++j) {
        const char c = s[j];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            tag.SelfClosing = !tag.Closing && s[j - 1] == '/';
            tag.End = j + 1;
            return tag;
        }
    }
    return std::nullopt;
}

std::string DecodeEntities(std::string_view text) {
    static constexpr std::pair<std::string_view, char> named[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& [entity, c] : named)
            if (text.substr(i).starts_with(entity)) {
                out += c;
                i += entity.size();
                replaced = true;
                break;
            }
        if (!replaced) out += text[i++];
    }
    return out;
}

std::string Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

// Skips blanks, comments and processing instructions; false at a construct left open.
bool SkipMisc(std::string_view s, std::size_t& i) {
    for (;;) {
        while (i < s.size() && IsBlank(s[i])) ++i;
        std::string_view end;
        if (s.substr(i).starts_with("<!--")) end = "-->";
        else if (s.substr(i).starts_with("<?")) end = "?>";
        else return true;
        const std::size_t at = s.find(end, i + 2);
        if (at == std::string_view::npos) return false;
        i = at + end.size();
    }
}

}  // namespace

// ---- public -------------------------------------------------------------------------------------

std::string ShellQuote(std::string_view argument) {
    std::string out = "'";
    for (char c : argument) {
        if (c == '\'') out += "'\\''";
        else out += c;
    }
    return out + "'";
}

std::string DesktopExecQuote(std::string_view argument) {
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#()`";
    if (!argument.empty() && argument.find_first_of(reserved) == std::string_view::npos) return std::string(argument);
    std::string out = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string KeyFileEscape(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '\r') out += "\\r";
        else if (c == ' ' && i == 0) out += "\\s";
        else out += c;
    }
    return out;
}

std::string XmlEscape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default: out += c;
        }
    }
    return out;
}

std::optional<TUcaDocument> ScanUcaXml(std::string_view s) {
    std::size_t i = s.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    for (;;) {
        if (!SkipMisc(s, i)) return std::nullopt;
        if (!s.substr(i).starts_with("<!DOCTYPE")) break;
        std::size_t close = s.find_first_of("[>", i);
        if (close != std::string_view::npos && s[close] == '[') {
            close = s.find(']', close);
            if (close != std::string_view::npos) close = s.find('>', close);
        }
        if (close == std::string_view::npos) return std::nullopt;
        i = close + 1;
    }
    if (i >= s.size() || s[i] != '<') return std::nullopt;
    const auto root = ReadTag(s, i);
    if (!root || root->Closing || root->Name != "actions") return std::nullopt;

    TUcaDocument doc;
    if (root->SelfClosing) {
        doc.RootSelfClosed = true;
        doc.RootClose = root->End - 2;
        i = root->End;
        return SkipMisc(s, i) && i == s.size() ? std::optional(doc) : std::nullopt;
    }
    i = root->End;
    std::vector<std::string> open;  // elements open below the root
    TUcaChild child;
    std::size_t idStart = std::string_view::npos;
    for (;;) {
        const std::size_t lt = s.find('<', i);
        if (lt == std::string_view::npos) return std::nullopt;
        i = lt;
        const std::string_view rest = s.substr(i);
        std::string_view skipTo;
        if (rest.starts_with("<!--")) skipTo = "-->";
        else if (rest.starts_with("<![CDATA[")) skipTo = "]]>";
        else if (rest.starts_with("<?")) skipTo = "?>";
        else if (rest.starts_with("<!")) return std::nullopt;
        if (!skipTo.empty()) {
            const std::size_t at = s.find(skipTo, i + 2);
            if (at == std::string_view::npos) return std::nullopt;
            i = at + skipTo.size();
            continue;
        }
        const auto tag = ReadTag(s, i);
        if (!tag) return std::nullopt;
        if (tag->Closing) {
            if (open.empty()) {
                if (tag->Name != "actions") return std::nullopt;
                doc.RootClose = lt;
                i = tag->End;
                break;
            }
            if (open.back() != tag->Name) return std::nullopt;
            if (open.size() == 2 && tag->Name == "unique-id" && child.IsAction && idStart != std::string_view::npos)
                child.UniqueId = Trimmed(DecodeEntities(s.substr(idStart, lt - idStart)));
            open.pop_back();
            if (open.empty()) {
                child.End = tag->End;
                doc.Children.push_back(child);
            }
        } else {
            if (open.empty()) {
                child = TUcaChild{};
                child.Begin = lt;
                child.IsAction = tag->Name == "action";
            }
            if (!tag->SelfClosing) {
                open.push_back(tag->Name);
                if (open.size() == 2 && tag->Name == "unique-id") idStart = tag->End;
            } else if (open.empty()) {
                child.End = tag->End;
                doc.Children.push_back(child);
            }
        }
        i = tag->End;
    }
    if (!SkipMisc(s, i) || i != s.size()) return std::nullopt;
    return doc;
}

std::optional<std::string> MergeUcaXml(std::string_view text, std::string_view ours) {
    const auto doc = ScanUcaXml(text);
    if (!doc) return std::nullopt;
    std::string out;
    std::size_t pos = 0;
    // Our actions go with their indentation and line end when they stand on lines of their own.
    for (const auto& child : doc->Children) {
        if (!child.IsAction || !IsOurUniqueId(child.UniqueId)) continue;
        std::size_t begin = child.Begin, end = child.End;
        std::size_t lineBegin = begin;
        while (lineBegin > pos && (text[lineBegin - 1] == ' ' || text[lineBegin - 1] == '\t')) --lineBegin;
        std::size_t lineEnd = end;
        while (lineEnd < text.size() && (text[lineEnd] == ' ' || text[lineEnd] == '\t')) ++lineEnd;
        if (lineBegin == 0 || text[lineBegin - 1] == '\n') {
            if (text.substr(lineEnd).starts_with("\r\n")) begin = lineBegin, end = lineEnd + 2;
            else if (text.substr(lineEnd).starts_with("\n")) begin = lineBegin, end = lineEnd + 1;
        }
        out.append(text.substr(pos, begin - pos));
        pos = end;
    }
    if (ours.empty()) {
        out.append(text.substr(pos));
        return out;
    }
    if (doc->RootSelfClosed) {
        // "<actions/>" becomes "<actions>", our actions, "</actions>".
        out.append(text.substr(pos, doc->RootClose - pos));
        out += ">\n";
        out.append(ours);
        out += "</actions";
        out.append(text.substr(doc->RootClose + 1));
        return out;
    }
    // Before the closing tag, at the start of its line when only blanks precede it there.
    std::size_t at = doc->RootClose;
    while (at > pos && (text[at - 1] == ' ' || text[at - 1] == '\t')) --at;
    out.append(text.substr(pos, at - pos));
    if (!out.empty() && out.back() != '\n') out += '\n';
    out.append(ours);
    out.append(text.substr(at));
    return out;
}

void SetContextMenuHelperPath(std::string path) { helperPath = std::move(path); }

std::string ContextMenuHelperPath() { return helperPath; }

void ActivateContextMenu() {
    if (helperPath.find_first_of("\r\n") != std::string::npos)
        throw EFileError("A menu entry cannot call a program whose path holds a line break: " + helperPath, EINVAL);
    const bool cascade = TOptions("").ReadBool("CascadeContextMenu", false);
    const auto entries = CurrentEntries();
    RemoveEverything();
    WriteScripts(NautilusScripts(), entries, cascade);
    WriteScripts(CajaScripts(), entries, cascade);
    WriteNemoActions(entries);  // Nemo's actions have no submenu of their own
    WriteServiceMenu(entries, cascade);
    WriteFileManagerActions(entries, cascade);
    const bool thunarWritten = WriteThunarActions(entries, cascade);
    RequestQuit();
    if (!thunarWritten)
        throw EFileError("Thunar's actions were left as they are: " + ThunarActionsFile() +
                             " is not a list of actions",
                         EINVAL);
}

void DeactivateContextMenu() {
    RemoveEverything();
    RequestQuit();
}

void CheckContextMenuSwitches(const std::vector<std::string>& arguments) {
    SetContextMenuHelperPath(GetProgramFolder() + "vantrel-context-menu");
    for (const auto& argument : arguments) {
        if (argument == "/activate") ActivateContextMenu();
        else if (argument == "/deactivate") DeactivateContextMenu();
    }
}

bool IsQuitRequested() { return quitRequested.load(); }

void RequestQuit() { quitRequested.store(true); }

void ClearQuitRequest() { quitRequested.store(false); }

}  // namespace vantrel
