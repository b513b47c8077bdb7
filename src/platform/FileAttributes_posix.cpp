#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <sstream>

#include "platform/FileAttributes.h"
#include "platform/Files.h"
#include "platform/Folders.h"

namespace vantrel {

namespace {

constexpr const char* kHiddenListName = ".hidden";

// Hide and show may run on the worker and the GUI thread at once; the read-modify-write
// of a ".hidden" file must not lose the other's change.
std::mutex gHiddenListMutex;

struct TSplitPath {
    std::string folder;  // with its trailing separator
    std::string name;
};

// False for the root folder, which has no parent to list it in.
bool Split(const std::string& path, TSplitPath& out) {
    const std::string p = WithoutTrailingSeparators(path);
    if (p.empty() || p == "/") return false;
    out.folder = FolderOf(p);
    out.name = BareName(p);
    return !out.name.empty() && out.name != "." && out.name != "..";
}

std::vector<std::string> ParseList(const std::string& text) {
    std::vector<std::string> names;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) names.push_back(line);
    return names;
}

bool ReadListFile(const std::string& file, std::vector<std::string>& names, int& error) {
    names.clear();
    int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return error == ENOENT;  // no list at all is an empty list
    }
    std::string text;
    char chunk[4096];
    for (;;) {
        ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            error = errno;
            ::close(fd);
            return false;
        }
        if (got == 0) break;
        text.append(chunk, std::size_t(got));
    }
    ::close(fd);
    names = ParseList(text);
    return true;
}

// Replaces the list file atomically (a temporary beside it, then rename), so a file manager
// never reads half a list; an empty list removes the file.
int WriteListFile(const std::string& folder, const std::vector<std::string>& names) {
    const std::string file = folder + kHiddenListName;
    if (names.empty()) return ::unlink(file.c_str()) == 0 || errno == ENOENT ? 0 : errno;

    std::string text;
    for (const auto& n : names) text += n + "\n";
    std::string temp = folder + ".hidden.XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0) return errno;
    struct stat old {};
    ::fchmod(fd, ::stat(file.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    const char* p = text.data();
    std::size_t left = text.size();
    int error = 0;
    while (left > 0) {
        ssize_t put = ::write(fd, p, left);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            error = put < 0 ? errno : ENOSPC;
            break;
        }
        p += put;
        left -= std::size_t(put);
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temp.c_str(), file.c_str()) != 0) error = errno;
    if (error != 0) ::unlink(temp.c_str());
    return error;
}

bool IsListed(const TSplitPath& sp) {
    std::vector<std::string> names;
    int error = 0;
    ReadListFile(sp.folder + kHiddenListName, names, error);
    return std::find(names.begin(), names.end(), sp.name) != names.end();
}

int UpdateList(const TSplitPath& sp, bool listed) {
    std::lock_guard lock(gHiddenListMutex);
    std::vector<std::string> names;
    int error = 0;
    if (!ReadListFile(sp.folder + kHiddenListName, names, error)) return error;
    const bool present = std::find(names.begin(), names.end(), sp.name) != names.end();
    if (present == listed) return 0;
    if (listed)
        names.push_back(sp.name);
    else
        names.erase(std::remove(names.begin(), names.end(), sp.name), names.end());
    return WriteListFile(sp.folder, names);
}

}  // namespace

std::uint32_t GetFileAttributesOf(const std::string& path, int* error) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        if (error) *error = errno;
        return kInvalidFileAttributes;
    }
    std::uint32_t attrs = 0;
    struct stat target {};
    if (S_ISDIR(st.st_mode) || (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode)))
        attrs |= kFileAttributeDirectory;
    if (S_ISREG(st.st_mode) && (st.st_mode & S_IWUSR) == 0) attrs |= kFileAttributeReadOnly;
    TSplitPath sp;
    if (Split(path, sp)) {
        if (sp.name[0] == '.') attrs |= kFileAttributeHidden;
        if (IsListed(sp)) attrs |= kFileAttributeHidden | kFileAttributeSystem;
    }
    if (error) *error = 0;
    return attrs == 0 ? kFileAttributeNormal : attrs;
}

int SetFileAttributesOf(const std::string& path, std::uint32_t attributes) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return errno;
    TSplitPath sp;
    if (!Split(path, sp)) return EINVAL;
    const bool listed = (attributes & (kFileAttributeHidden | kFileAttributeSystem)) != 0;
    // One name per line: a name with a line break would turn into other names.
    if (listed && sp.name.find('\n') != std::string::npos) return EINVAL;
    if (int e = UpdateList(sp, listed)) return e;
    // A link has no permissions of its own and chmod would change its target.
    if (S_ISREG(st.st_mode)) {
        const mode_t mode = st.st_mode & 07777;
        const mode_t wanted =
            (attributes & kFileAttributeReadOnly) ? mode_t(mode & ~mode_t(0222)) : mode_t(mode | S_IWUSR);
        if (wanted != mode && ::chmod(path.c_str(), wanted) != 0) return errno;
    }
    return 0;
}

std::vector<std::string> ReadHiddenList(const std::string& folder) {
    std::vector<std::string> names;
    int error = 0;
    ReadListFile(JoinPath(folder, kHiddenListName), names, error);
    return names;
}

}  // namespace vantrel
