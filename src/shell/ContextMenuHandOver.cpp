#include "shell/ContextMenuHandOver.h"

#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <set>

#include "app/AppFolders.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Process.h"
#include "platform/Registry.h"

namespace vantrel {

namespace {

const std::set<std::string, std::less<>> kSwitches = {"/encrypt", "/decrypt", "/shred", "/hide"};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string LocalPathOfUri(std::string_view uri) {
    constexpr std::string_view scheme = "file://";
    if (uri.size() < scheme.size() || uri.substr(0, scheme.size()) != scheme)
        throw EHandOverRefused("Only local files can be handed to Vantrel, not " + std::string(uri));
    std::string_view rest = uri.substr(scheme.size());
    const std::size_t slash = rest.find('/');
    const std::string_view host = rest.substr(0, slash);
    if (slash == std::string_view::npos || (!host.empty() && host != "localhost"))
        throw EHandOverRefused("Only local files can be handed to Vantrel, not " + std::string(uri));
    std::string path;
    for (std::size_t i = slash; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && HexValue(rest[i + 1]) >= 0 && HexValue(rest[i + 2]) >= 0) {
            path += static_cast<char>(HexValue(rest[i + 1]) * 16 + HexValue(rest[i + 2]));
            i += 2;
        } else {
            path += rest[i];
        }
    }
    if (path.find('\0') != std::string::npos) throw EHandOverRefused("A file name cannot hold a NUL: " + std::string(uri));
    return path;
}

void DefaultNotify(const std::string& text) {
    StartProcessDetachedFromPath("notify-send", {"--app-name=Vantrel", "Vantrel", text});  // absent: no notification
}

// "scheme://...": what a file manager passes for a file that is not on a local disk.
bool LooksLikeUri(std::string_view item) {
    const std::size_t colon = item.find("://");
    if (colon == std::string_view::npos || colon == 0 || !std::isalpha(static_cast<unsigned char>(item[0])))
        return false;
    for (char c : item.substr(0, colon))
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') return false;
    return true;
}

std::string ProgramToStart() {
    auto appPath = ReadRegistryString("HKEY_CURRENT_USER", "Software\\Halcorne\\Vantrel", "AppPath");
    // Before the program's first start nothing names it; it lies beside this helper.
    const std::string folder = appPath && !appPath->empty() ? WithTrailingSeparator(*appPath) : ExecutableFolder();
    return folder + "vantrel";
}

void WriteListFile(const std::vector<std::string>& paths) {
    const std::string folder = DefaultDataFolder();
    if (!CreateFolderWithParents(folder)) throw EFileError("Cannot create folder " + folder, errno);
    const std::string text = HandOverListText(paths);
    TAtomicOutput out(folder + "todo");
    out.Write(text.data(), text.size());
    out.Commit();
}

}  // namespace

std::vector<std::string> HandOverPaths(const std::vector<std::string>& items, bool uris, const std::string& cwd) {
    std::vector<std::string> paths;
    for (const auto& item : items) {
        std::string path = uris ? LocalPathOfUri(item) : item;
        if (path.find_first_of("\r\n") != std::string::npos)
            throw EHandOverRefused(
                "Nothing was handed to Vantrel: a selected name holds a line break, which the list of files "
                "cannot carry:\n" + path);
        if (path.empty()) continue;
        if (path.front() != '/') {
            const std::string relative = path;
            path = JoinPath(WithTrailingSeparator(cwd), path);
            if (LooksLikeUri(relative) && !FileExists(path))
                throw EHandOverRefused("Only local files can be handed to Vantrel, not " + relative);
        }
        paths.push_back(std::move(path));
    }
    return paths;
}

std::string HandOverListText(const std::vector<std::string>& paths) {
    std::string text = "\xEF\xBB\xBF";
    for (const auto& path : paths) text += path + "\n";
    return text;
}

bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) {
    return StartProcessDetached(program, arguments);
}

int RunContextMenuHandOver(const std::vector<std::string>& arguments, const TProgramStarter& start,
                           const std::function<void(const std::string&)>& notify) {
    auto report = [&](const std::string& text) {
        std::fprintf(stderr, "vantrel-context-menu: %s\n", text.c_str());
        (notify ? notify : DefaultNotify)(text);
    };
    std::size_t at = 0;
    const bool uris = !arguments.empty() && arguments[0] == "--uris";
    if (uris) ++at;
    if (at >= arguments.size() || !kSwitches.contains(arguments[at])) {
        std::fprintf(stderr, "usage: vantrel-context-menu [--uris] /encrypt|/decrypt|/shred|/hide PATH...\n");
        return 2;
    }
    const std::string& operation = arguments[at];
    const std::vector<std::string> items(arguments.begin() + std::ptrdiff_t(at) + 1, arguments.end());
    try {
        char cwd[4096];
        if (!::getcwd(cwd, sizeof cwd)) throw EFileError("The working folder cannot be read", errno);
        const auto paths = HandOverPaths(items, uris, cwd);
        if (paths.empty()) {
            std::fprintf(stderr, "vantrel-context-menu: nothing selected\n");
            return 1;
        }
        const std::string program = ProgramToStart();
        if (::access(program.c_str(), X_OK) != 0) throw EFileError("Vantrel was not found at " + program, errno);
        WriteListFile(paths);
        if (!start(program, {operation})) throw EFileError("Vantrel could not be started: " + program, errno);
        return 0;
    } catch (const std::exception& e) {
        report(e.what());
        return 1;
    }
}

}  // namespace vantrel
