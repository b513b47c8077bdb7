#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

namespace vantrel {

namespace {

// Reads ahead and gathered writes go in blocks of this size.
constexpr std::size_t kBlock = 1 << 20;

[[noreturn]] void Fail(const std::string& what, const std::string& path, int code) {
    throw EFileError(what + " " + path + ": " + std::strerror(code), code);
}

[[noreturn]] void NotRegular(const std::string& path) {
    throw EFileError("Cannot open file " + path + ": not a regular file", EINVAL);
}

// Opened without blocking, so a pipe or a device can be refused before it waits for a
// writer or a medium; the flag is dropped again once the file is known to be regular.
int OpenOrThrow(const std::string& path, TFileMode mode, std::int64_t& size) {
    // Reading follows a link to a file, as copying does; writing in place (shredding) never
    // goes through a link, so a link swapped in after a check cannot redirect it.
    const int flags = (mode == TFileMode::Read ? O_RDONLY : O_RDWR | O_NOFOLLOW) | O_CLOEXEC | O_NONBLOCK;
    int fd = ::open(path.c_str(), flags);
    if (fd < 0) Fail("Cannot open file", path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int code = errno;
        ::close(fd);
        Fail("Cannot open file", path, code);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        NotRegular(path);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    size = std::int64_t(st.st_size);
    if (mode == TFileMode::ReadWriteExclusive && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int code = errno;
        ::close(fd);
        Fail("Cannot open file", path, code);
    }
    return fd;
}

// The permission bits a new file of the user's gets. The umask is read from the process
// status, because asking umask() for it means setting it, which another thread could see.
unsigned NewFileMode() {
    unsigned mask = 022;
    bool found = false;
    if (FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (!found && std::fgets(line, sizeof line, f))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(f);
    }
    if (!found) {
        mask = ::umask(022);
        ::umask(mode_t(mask));
    }
    return 0666u & ~mask;
}

// An unnamed file can be named later only through its /proc link.
bool CanNameUnnamedFiles() {
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

std::string RandomSuffix() {
    static thread_local std::mt19937 gen{std::random_device{}()};
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x", unsigned(gen()));
    return suffix;
}

// A hidden name beside the target that no user's file has: ".<name>.<random>.part".
std::string TemporaryNameBeside(const std::string& target) {
    return FolderOf(target) + "." + BareName(target).substr(0, 200) + RandomSuffix() + ".part";
}

// The temporary output in the target's folder, readable by the owner only: unnamed where
// the file system allows it (the path is then empty), named otherwise.
std::pair<std::string, int> CreateTemporaryBeside(const std::string& target) {
#ifdef O_TMPFILE
    if (CanNameUnnamedFiles()) {
        const int fd = ::open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) return {std::string(), fd};
        // Other errors (no such folder, no permission) come again from the named form.
    }
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temp = TemporaryNameBeside(target);
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) return {temp, fd};
        if (errno != EEXIST) Fail("Cannot create file", target, errno);
    }
    Fail("Cannot create file", target, EEXIST);
}

void SyncFolderOf(const std::string& path) {
    int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

}  // namespace

TFileStream::TFileStream(const std::string& path, TFileMode mode) : path_(path), shownPath_(path) {
    std::int64_t size = 0;
    fd_ = OpenOrThrow(path, mode, size);
    if (mode == TFileMode::Read) {
        // No larger than the file needs: a small file costs no large allocation per open.
        readAheadSize_ = std::size_t(std::clamp<std::int64_t>(size, 64, std::int64_t(kBlock)));
        readAhead_.reset(new std::uint8_t[readAheadSize_]);
    }
}

TFileStream::~TFileStream() {
    if (fd_ >= 0) ::close(fd_);
}

std::size_t TFileStream::ReadThrough(void* buffer, std::size_t count) {
    for (;;) {
        ssize_t got = ::read(fd_, buffer, count);
        if (got >= 0) return std::size_t(got);
        if (errno != EINTR) Fail("Cannot read file", shownPath_, errno);
    }
}

// With read-ahead a request is filled completely unless the file ends, as the stream
// operations expect of a file that is not shrinking under them.
std::size_t TFileStream::Read(void* buffer, std::size_t count) {
    std::size_t got = 0;
    if (!readAhead_) {
        got = ReadThrough(buffer, count);
    } else {
        auto* out = static_cast<std::uint8_t*>(buffer);
        while (got < count) {
            if (readAt_ == readEnd_) {
                readAt_ = 0;
                readEnd_ = ReadThrough(readAhead_.get(), readAheadSize_);
                if (readEnd_ == 0) break;
            }
            const std::size_t take = std::min(count - got, readEnd_ - readAt_);
            std::memcpy(out + got, readAhead_.get() + readAt_, take);
            readAt_ += take;
            got += take;
        }
    }
    pos_ += std::int64_t(got);
    return got;
}

void TFileStream::WriteThrough(const void* buffer, std::size_t count) {
    const auto* p = static_cast<const std::uint8_t*>(buffer);
    while (count > 0) {
        ssize_t put = ::write(fd_, p, count);
        if (put < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot write file", shownPath_, errno);
        }
        if (put == 0) Fail("Cannot write file", shownPath_, ENOSPC);
        p += put;
        count -= std::size_t(put);
    }
}

void TFileStream::Write(const void* buffer, std::size_t count) {
    WriteThrough(buffer, count);
    pos_ += std::int64_t(count);
}

std::int64_t TFileStream::Size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) Fail("Cannot read file", shownPath_, errno);
    return std::int64_t(st.st_size);
}

void TFileStream::Seek(std::int64_t pos) {
    if (::lseek(fd_, off_t(pos), SEEK_SET) < 0) Fail("Cannot seek in file", shownPath_, errno);
    pos_ = pos;
    readAt_ = readEnd_ = 0;
}

void TFileStream::StartWriteback(std::int64_t from, std::int64_t count) {
#ifdef SYNC_FILE_RANGE_WRITE
    ::sync_file_range(fd_, off_t(from), off_t(count), SYNC_FILE_RANGE_WRITE);
#else
    (void)from;
    (void)count;
#endif
}

bool TFileStream::IsSameFileAs(const std::string& path) const {
    struct stat mine {}, other {};
    return ::fstat(fd_, &mine) == 0 && ::lstat(path.c_str(), &other) == 0 && mine.st_dev == other.st_dev &&
           mine.st_ino == other.st_ino;
}

unsigned TFileStream::Permissions() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) Fail("Cannot read file", shownPath_, errno);
    return unsigned(st.st_mode & 07777);
}

void TFileStream::Sync() {
    if (::fdatasync(fd_) != 0) Fail("Cannot write file", shownPath_, errno);
}

TAtomicOutput::TAtomicOutput(const std::string& target, unsigned permissionLimit)
    : TAtomicOutput(target, permissionLimit, CreateTemporaryBeside(target)) {}

TAtomicOutput::TAtomicOutput(const std::string& target, unsigned permissionLimit, std::pair<std::string, int> temp)
    : TFileStream(std::move(temp.first), temp.second, target), target_(target), permissionLimit_(permissionLimit) {}

TAtomicOutput::~TAtomicOutput() {
    if (!committed_ && !IsUnnamed()) ::unlink(Path().c_str());
}

// The gathering buffer grows with the output up to its block size and is reused from then
// on, so a small output costs no large allocation.
void TAtomicOutput::Write(const void* buffer, std::size_t count) {
    const auto* p = static_cast<const std::uint8_t*>(buffer);
    pending_.insert(pending_.end(), p, p + count);
    if (pending_.size() >= kBlock) Flush();
}

void TAtomicOutput::Flush() {
    if (pending_.empty()) return;
    TFileStream::Write(pending_.data(), pending_.size());
    pending_.clear();
    const std::int64_t written = TFileStream::Position();
    if (written - writtenBack_ >= std::int64_t(8 * kBlock)) {
        StartWriteback(writtenBack_, written - writtenBack_);
        writtenBack_ = written;
    }
}

bool TAtomicOutput::Commit(TReplaceMode mode) {
    Flush();
    Sync();
    if (::fchmod(fd_, mode_t(NewFileMode() & permissionLimit_)) != 0) Fail("Cannot write file", target_, errno);
    const bool named = IsUnnamed() ? NameUnnamed(mode) : NameNamed(mode);
    if (named) {
        committed_ = true;
        SyncFolderOf(target_);  // the new name reaches the disk with the folder
    }
    return named;
}

// Gives the unnamed file a name through its /proc link, then closes it. A link never
// replaces anything, so it can name the target itself only when nothing has that name;
// to replace, it names a hidden temporary first and renames that over the target.
bool TAtomicOutput::NameUnnamed(TReplaceMode mode) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    const auto link = [&](const std::string& name) {
        return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
    };
    if (mode == TReplaceMode::KeepExisting) {
        if (!link(target_)) {
            if (errno == EEXIST) return false;
            Fail("Cannot create file", target_, errno);
        }
    } else {
        std::string temp;
        for (int attempt = 0;; ++attempt) {
            temp = TemporaryNameBeside(target_);
            if (link(temp)) break;
            if (errno != EEXIST || attempt == 100) Fail("Cannot create file", target_, errno);
        }
        if (::rename(temp.c_str(), target_.c_str()) != 0) {
            const int code = errno;
            ::unlink(temp.c_str());
            Fail("Cannot create file", target_, code);
        }
    }
    const int code = ::close(fd_) == 0 ? 0 : errno;
    fd_ = -1;
    if (code != 0) Fail("Cannot write file", target_, code);
    return true;
}

bool TAtomicOutput::NameNamed(TReplaceMode mode) {
    const int code = ::close(fd_) == 0 ? 0 : errno;
    fd_ = -1;
    if (code != 0) Fail("Cannot write file", target_, code);
    if (mode == TReplaceMode::KeepExisting) {
        // A hard link fails where the name exists, so no check can be overtaken by another
        // program creating the file in between.
        if (::link(Path().c_str(), target_.c_str()) == 0) {
            ::unlink(Path().c_str());
            return true;
        }
        if (errno == EEXIST) return false;
        // File systems without hard links: the check and the rename are as close as it gets.
        if (FileExists(target_)) return false;
    }
    if (::rename(Path().c_str(), target_.c_str()) != 0) Fail("Cannot create file", target_, errno);
    return true;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::int64_t FileSizeOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return -1;
    return std::int64_t(st.st_size);
}

std::vector<TDirEntry> ListDirectory(const std::string& path) {
    DIR* dir = ::opendir(path.c_str());
    if (!dir) Fail("Cannot list folder", path, errno);
    std::vector<TDirEntry> entries;
    while (dirent* e = ::readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        TDirEntry entry{name};
        // The kind comes with the entry on most file systems; only where it does not is the
        // entry looked up, which a folder of many files would pay for once per entry.
        if (e->d_type != DT_UNKNOWN) {
            entry.isDirectory = e->d_type == DT_DIR;
            entry.isSymlink = e->d_type == DT_LNK;
            entry.isRegular = e->d_type == DT_REG || (entry.isSymlink && IsRegularFile(JoinPath(path, name)));
        } else if (struct stat st {}; ::lstat(JoinPath(path, name).c_str(), &st) == 0) {
            entry.isDirectory = S_ISDIR(st.st_mode);
            entry.isSymlink = S_ISLNK(st.st_mode);
            entry.isRegular = S_ISREG(st.st_mode) || (entry.isSymlink && IsRegularFile(JoinPath(path, name)));
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return entries;
}

bool DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == kPathSeparator) return folder + name;
    return folder + kPathSeparator + name;
}

std::string FolderOf(const std::string& path) {
    auto pos = path.find_last_of(kPathSeparator);
    return pos == std::string::npos ? std::string("./") : path.substr(0, pos + 1);
}

std::string BareName(const std::string& path) {
    auto pos = path.find_last_of(kPathSeparator);
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

}  // namespace vantrel
