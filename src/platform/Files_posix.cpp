#include "platform/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>

namespace vantrel {

namespace {

// Reads ahead and gathered writes go in blocks of this size.
constexpr std::size_t kBlock = 1 << 20;

[[noreturn]] void Fail(const std::string& what, const std::string& path, int code) {
    throw EFileError(what + " " + path + ": " + std::strerror(code), code);
}

int OpenOrThrow(const std::string& path, TFileMode mode) {
    // Reading follows a link to a file, as copying does; writing in place (shredding) never
    // goes through a link, so a link swapped in after a check cannot redirect it.
    const int flags = mode == TFileMode::Read ? O_RDONLY | O_CLOEXEC : O_RDWR | O_CLOEXEC | O_NOFOLLOW;
    int fd = ::open(path.c_str(), flags);
    if (fd < 0) Fail("Cannot open file", path, errno);
    if (mode == TFileMode::ReadWriteExclusive && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int code = errno;
        ::close(fd);
        Fail("Cannot open file", path, code);
    }
    return fd;
}

// A new, exclusive file beside the target: ".<name>.<random>.part", so it never clashes
// with a user's file and is hidden from file managers while it is written.
std::pair<std::string, int> CreateTemporaryBeside(const std::string& target) {
    std::random_device rd;
    const std::string folder = FolderOf(target), name = BareName(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", unsigned(rd()));
        std::string temp = folder + "." + name.substr(0, 200) + suffix + ".part";
        int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return {temp, fd};
        if (errno != EEXIST) Fail("Cannot create file", target, errno);
    }
    Fail("Cannot create file", target, EEXIST);
}

}  // namespace

TFileStream::TFileStream(const std::string& path, TFileMode mode)
    : fd_(OpenOrThrow(path, mode)), path_(path), shownPath_(path) {
    if (mode == TFileMode::Read) readAhead_.resize(kBlock);
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
    if (readAhead_.empty()) {
        got = ReadThrough(buffer, count);
    } else {
        auto* out = static_cast<std::uint8_t*>(buffer);
        while (got < count) {
            if (readAt_ == readEnd_) {
                readAt_ = 0;
                readEnd_ = ReadThrough(readAhead_.data(), readAhead_.size());
                if (readEnd_ == 0) break;
            }
            const std::size_t take = std::min(count - got, readEnd_ - readAt_);
            std::memcpy(out + got, readAhead_.data() + readAt_, take);
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

void TFileStream::Sync() {
    if (::fdatasync(fd_) != 0) Fail("Cannot write file", shownPath_, errno);
}

TAtomicOutput::TAtomicOutput(const std::string& target) : TAtomicOutput(target, CreateTemporaryBeside(target)) {}

TAtomicOutput::TAtomicOutput(const std::string& target, std::pair<std::string, int> temp)
    : TFileStream(std::move(temp.first), temp.second, target), target_(target) {
    pending_.reserve(kBlock);
}

TAtomicOutput::~TAtomicOutput() {
    if (!committed_) ::unlink(Path().c_str());
}

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

void TAtomicOutput::Commit() {
    Flush();
    Sync();
    if (::close(fd_) != 0) {
        fd_ = -1;
        Fail("Cannot write file", target_, errno);
    }
    fd_ = -1;
    if (::rename(Path().c_str(), target_.c_str()) != 0) Fail("Cannot create file", target_, errno);
    committed_ = true;
    // The rename itself reaches the disk with the folder.
    int dir = ::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
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
        } else if (struct stat st {}; ::lstat(JoinPath(path, name).c_str(), &st) == 0) {
            entry.isDirectory = S_ISDIR(st.st_mode);
            entry.isSymlink = S_ISLNK(st.st_mode);
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return entries;
}

void DeleteFileOrThrow(const std::string& path) {
    if (::unlink(path.c_str()) != 0) Fail("Cannot delete file", path, errno);
}

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
