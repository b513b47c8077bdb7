#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Stream.h"

namespace vantrel {

// A file that could not be opened, created, read or written; the message names the file.
class EFileError : public std::runtime_error {
public:
    EFileError(const std::string& message, int code) : std::runtime_error(message), code_(code) {}
    int Code() const { return code_; }

private:
    int code_;
};

enum class TFileMode {
    Read,               // existing file, read only
    ReadWriteExclusive  // existing file, read and write, with an exclusive advisory lock
};

// A file on disk as a stream. Writes take every byte or throw (a full disk is an error).
// A file opened for reading only is read ahead in large blocks, so the small reads of the
// cipher's stream buffer cost no system call each.
// Only a regular file (or a link to one, for reading) is opened: anything else is refused
// before it could block (a pipe without a writer would wait for ever).
class TFileStream : public TStream {
public:
    TFileStream(const std::string& path, TFileMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    void Write(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override { return pos_; }
    std::int64_t Size() const override;

    void Seek(std::int64_t pos);
    void Sync();  // data reaches the disk before this returns
    // Asks the system to start writing the range to the disk now, without waiting, so that a
    // Sync at the end has little left to wait for.
    void StartWriteback(std::int64_t from, std::int64_t count);
    const std::string& Path() const { return path_; }
    // Whether the path names this very file (links not followed): the same file may have
    // more than one name, and on some file systems names differ in letter case only.
    bool IsSameFileAs(const std::string& path) const;
    unsigned Permissions() const;  // the permission bits, as chmod takes them

protected:
    TFileStream(std::string path, int fd, std::string shownPath)
        : fd_(fd), path_(std::move(path)), shownPath_(std::move(shownPath)) {}
    void WriteThrough(const void* buffer, std::size_t count);
    int fd_ = -1;

private:
    std::size_t ReadThrough(void* buffer, std::size_t count);

    std::string path_;
    std::string shownPath_;  // the name errors give: a temporary file is named by its target
    std::int64_t pos_ = 0;
    std::unique_ptr<std::uint8_t[]> readAhead_;  // only for files opened to read
    std::size_t readAheadSize_ = 0, readAt_ = 0, readEnd_ = 0;
};

// What Commit does when a file of the target's name exists.
enum class TReplaceMode {
    Replace,      // replace it
    KeepExisting  // keep it and name nothing: Commit returns false
};

// The output of an operation, complete or nothing: bytes go to a temporary file in the
// target's folder, and only Commit (after the last byte, flushed) names it as the target.
// The temporary file is unnamed where the file system allows (O_TMPFILE), so a process
// killed while writing leaves nothing behind; elsewhere it is a hidden named file that the
// destructor removes. Either way it is readable by the owner only until Commit gives it the
// permissions of a new file of the user's (0666 less the umask), within permissionLimit.
// An output that is destroyed uncommitted leaves any existing file of the target's name as
// it was. Writes are gathered into large blocks, and finished blocks are handed to the disk
// while the rest is still being produced.
class TAtomicOutput : public TFileStream {
public:
    explicit TAtomicOutput(const std::string& target, unsigned permissionLimit = 0777);
    ~TAtomicOutput() override;
    void Write(const void* buffer, std::size_t count) override;
    std::int64_t Position() const override { return TFileStream::Position() + std::int64_t(pending_.size()); }
    std::int64_t Size() const override { return TFileStream::Size() + std::int64_t(pending_.size()); }
    // False only with KeepExisting when a file of the target's name exists; the output is
    // then dropped.
    bool Commit(TReplaceMode mode = TReplaceMode::Replace);
    const std::string& Target() const { return target_; }
    bool IsUnnamed() const { return Path().empty(); }

private:
    TAtomicOutput(const std::string& target, unsigned permissionLimit, std::pair<std::string, int> temp);
    void Flush();
    bool NameUnnamed(TReplaceMode mode);
    bool NameNamed(TReplaceMode mode);
    std::string target_;
    unsigned permissionLimit_;
    std::vector<std::uint8_t> pending_;
    std::int64_t writtenBack_ = 0;  // bytes already handed to writeback
    bool committed_ = false;
};

struct TDirEntry {
    std::string name;
    bool isDirectory = false;  // a real directory, not a link to one
    bool isSymlink = false;
    bool isRegular = false;  // a regular file, or a link to one
};

bool FileExists(const std::string& path);       // anything at the path, links not followed
bool DirectoryExists(const std::string& path);  // a directory, links followed
bool IsRegularFile(const std::string& path);    // a regular file, links followed
std::int64_t FileSizeOf(const std::string& path);  // -1 when it cannot be read
// Entries of a folder other than "." and "..", in name order; throws EFileError.
std::vector<TDirEntry> ListDirectory(const std::string& path);
// Removes a file, or a link without what it points to; false when it could not.
bool DeleteFile(const std::string& path);
// Joins a folder and a name without doubling the separator.
std::string JoinPath(const std::string& folder, const std::string& name);
std::string FolderOf(const std::string& path);  // with its trailing separator
std::string BareName(const std::string& path);  // what follows the last separator
constexpr char kPathSeparator = '/';

}  // namespace vantrel
