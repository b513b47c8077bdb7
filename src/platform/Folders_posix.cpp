#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/Folders.h"

namespace vantrel {

std::string ExecutablePath() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (std::size_t(n) < buffer.size()) return std::string(buffer.data(), std::size_t(n));
        buffer.resize(buffer.size() * 2);
    }
}

std::string ExecutableFolder() {
    const std::string exe = ExecutablePath();
    const auto slash = exe.rfind('/');
    return slash == std::string::npos ? std::string("./") : exe.substr(0, slash + 1);
}

std::string WithTrailingSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string RoamingDataRoot() {
    // A relative XDG_CONFIG_HOME is to be ignored, as the base-directory rules say.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return WithTrailingSeparator(xdg);
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h) {
        home = h;
    } else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        home = pw->pw_dir;
    }
    return WithTrailingSeparator(home) + ".config/";
}

bool CreateFolderWithParents(const std::string& folder) {
    if (folder.empty()) return false;
    struct stat st {};
    std::string path;
    std::size_t pos = 0;
    while (pos <= folder.size()) {
        auto next = folder.find('/', pos);
        if (next == std::string::npos) next = folder.size();
        path = folder.substr(0, next);
        pos = next + 1;
        if (path.empty() || (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))) continue;
        if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace vantrel
